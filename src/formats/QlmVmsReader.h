// Vibration monitor record files ("QLM VMS", versions 2 and 3): one event of
// up to 8 channels with a common start time, rate and pre-trigger length.
// Each channel becomes one trace. All values in the file are little-endian.
//
// ReadQlmVms returns the number of channels appended, 0 on any failure (the
// section is then left exactly as it was) or kStatusOpenFailed when the file cannot be
// opened. With any of the dump bits in params.flags it prints the file and
// channel headers (level 0) and loads nothing.
#pragma once

#include <cstdint>
#include <string>

#include "formats/LoadParams.h"

class SeismicSection;

inline constexpr uint32_t kVmsTag = 0x564D5300;
inline constexpr int kVmsFileHeaderBytes = 48;
inline constexpr int kVmsV3ExtensionBytes = 52;
inline constexpr int kVmsChannelHeaderBytesV2 = 64;
inline constexpr int kVmsChannelHeaderBytesV3 = 96;
inline constexpr int kVmsMaxChannels = 8;
inline constexpr int32_t kVmsMaxSamples = 2147483616;
// Dump flags of the header dump command (textual, binary, trace headers, scan):
// any of them asks for the dump instead of a load.
inline constexpr int32_t kVmsDumpFlags = 0x33;

// Decoded file header (version 3 fields zero for version 2).
struct VmsFileHeader {
  uint32_t tag = 0;
  uint32_t version = 0;
  uint32_t serial = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t channels = 0;
  uint32_t startSeconds = 0;  // since 1970-01-01 00:00:00 UTC
  uint32_t startNanoseconds = 0;
  uint32_t samples = 0;  // per channel
  uint32_t triggerSource = 0;
  uint32_t preEventSamples = 0;
  uint32_t headerSize = 0;
  float triggerLevel = 0.0f;
  // Version 3 extension.
  float sum1 = 0.0f;
  float sum2 = 0.0f;
  uint32_t triggerChannel = 0;
  float triggerPeak = 0.0f;
  float triggerFrequency = 0.0f;
  double latitude = 0.0;
  double longitude = 0.0;
  float altitude = 0.0f;
};

struct VmsChannelHeader {
  char name[16] = {};  // the 16th byte is always a terminator
  uint32_t virtualChannel = 0;
  uint32_t physicalChannel = 0;
  uint32_t direction = 0;
  uint32_t sensorType = 0;
  uint32_t units = 0;
  float fullScale = 0.0f;
  float vectorAmplitude = 0.0f;
  float mainFrequency = 0.0f;
};

// Calendar time (UTC) of a start time.
struct VmsStartTime {
  int year = 1970, month = 1, day = 1;  // day of month
  int dayOfYear = 1;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

void DecodeVmsFileHeader(const uint8_t* b, VmsFileHeader* h);
void DecodeVmsExtension(const uint8_t* b, VmsFileHeader* h);
void DecodeVmsChannelHeader(const uint8_t* b, VmsChannelHeader* c);
// Seconds since 1970 plus nanoseconds (counted in 100 ns units; a nanosecond
// value of a second or more carries into the seconds).
VmsStartTime VmsConvertStartTime(uint32_t seconds, uint32_t nanoseconds);

// Code names; a code beyond a table shows as its first entry.
const char* VmsDirectionName(uint32_t code);
const char* VmsSensorTypeName(uint32_t code);
const char* VmsUnitsName(uint32_t code);
const char* VmsTriggerSourceName(uint32_t code);
// Trace identification code for a sensor direction: X 14, Y 13, Z 12, else 0.
int16_t VmsTraceCode(uint32_t direction);

int ReadQlmVms(SeismicSection& section, const std::string& path, LoadParams& params);
