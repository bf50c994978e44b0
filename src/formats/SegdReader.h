// SEG-D general header decoding (revisions 1, 2 and 3). No traces are loaded
// from SEG-D files: the general headers are decoded into the log and the
// section is left as it was.
//
// Results: 0 when General Header #1 announces no additional block (nothing is
// logged), kSegdHeadersLogged after the decoded headers were logged,
// kStatusReadFailed when a block cannot be read, kStatusOpenFailed (ReadSegd
// only) when the file cannot be opened.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "formats/LoadParams.h"

class SeismicSection;

inline constexpr int kSegdGeneralHeaderBytes = 32;
// The general headers were decoded and logged; no traces are loaded from SEG-D.
inline constexpr int kSegdHeadersLogged = -1;

// What the general header blocks say; all zero before decoding.
struct SegdGeneralHeader {
  int32_t fileNumber = 0;
  int32_t formatCode = 0;
  int32_t year = 0;
  int32_t additionalBlocks = 0;  // additional general header blocks (#1, byte 11)
  int32_t day = 0;               // day of year
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t manufacturerCode = 0;
  int32_t manufacturerSerial = 0;
  int32_t baseScanInterval = 0;  // units of 1/16 ms
  int32_t polarity = 0;
  int32_t recordType = 0;
  double recordLength = 0.0;  // seconds
  int32_t scanTypes = 0;      // scan types per record
  int32_t channelSets = 0;    // channel sets per scan type
  int32_t skewBlocks = 0;
  int32_t extendedBlocks = 0;
  int32_t externalBlocks = 0;
  int32_t trailerBlocks = 0;
  int32_t revisionMajor = 0;
  int32_t revisionMinor = 0;
  int32_t sequenceNumber = 0;
  int32_t dominantInterval = 0;
  int32_t extAdditionalBlocks = 0;  // extended additional general header blocks (rev 3)
};

// A BCD field holding a digit A-E (or a byte with F in only one nibble): not a number.
inline constexpr int kBcdInvalid = -1;
// One BCD byte: high nibble tens, low nibble units; 0xFF (not recorded) gives 0, other digits
// above 9 kBcdInvalid.
int DecodeBcdByte(uint8_t b);
// A hundreds digit held in a nibble; 0xF gives 0, A-E kBcdInvalid.
int DecodeBcdHundreds(uint8_t nibble);

// Fills the fields of General Header #1 (32 bytes). A BCD field with invalid digits becomes
// kBcdInvalid (record length: -1.0) and is named in an error message.
void DecodeSegdHeader1(const uint8_t* block, SegdGeneralHeader* h);
// Applies General Header #2 (32 bytes) to a summary filled from #1, logging
// the raw values it reads (level 1).
void DecodeSegdHeader2(const uint8_t* block, SegdGeneralHeader* h);
// Logs the summary lines (level 1).
void LogSegdSummary(const SegdGeneralHeader& h);

// Reads and decodes the general headers from the current position of an open
// file. h receives what was decoded (also on kStatusReadFailed). Returns 0,
// kSegdHeadersLogged or kStatusReadFailed.
int DecodeSegdGeneralHeaders(std::FILE* file, SegdGeneralHeader* h);

// Reader entry of the dispatch table: logs the loading line, opens the file,
// decodes its general headers and closes it. Adds nothing to the section.
int ReadSegd(SeismicSection& section, const std::string& path, LoadParams& params);
// The same, giving the decoded headers to the caller (kxtool segd).
int ReadSegdHeaders(SeismicSection& section, const std::string& path, SegdGeneralHeader* h);
