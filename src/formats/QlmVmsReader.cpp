#include "formats/QlmVmsReader.h"

#include <cstdlib>
#include <cstring>

#include "formats/SeismicFile.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/ByteOrder.h"
#include "section/SegyBytePositions.h"
#include "section/SeismicSection.h"

namespace {
const char* const kDashes = "----------------------------------------------------------------";

float LoadFloatLE(const uint8_t* p) {
  return std::bit_cast<float>(LoadLE<uint32_t>(p));
}
double LoadDoubleLE(const uint8_t* p) {
  return std::bit_cast<double>(LoadLE<uint64_t>(p));
}

template <std::size_t N>
const char* NameOf(const char* const (&table)[N], uint32_t code) {
  return code < N ? table[code] : table[0];
}

// Days since 1970-01-01 to a proleptic Gregorian date (exact for any day count).
void CivilFromDays(int64_t z, int* year, int* month, int* day) {
  z += 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
  *month = m;
  *day = d;
}

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DayOfYear(int year, int month, int day) {
  static const int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  return kBefore[month - 1] + day + (month > 2 && IsLeap(year) ? 1 : 0);
}

void DumpFileHeader(const VmsFileHeader& h) {
  VmsStartTime t = VmsConvertStartTime(h.startSeconds, h.startNanoseconds);
  LogPrint(LogAlways, "\n\n%s", kDashes);
  LogPrint(LogAlways, " QLM VMS   File Header");
  LogPrint(LogAlways, "%s", kDashes);
  LogPrint(LogAlways, "tag          : 0x%X", h.tag);
  LogPrint(LogAlways, "file version : %u", h.version);
  LogPrint(LogAlways, "device serial: %u", h.serial);
  LogPrint(LogAlways, "samples/s    : %u", h.samplesPerSecond);
  LogPrint(LogAlways, "num channels : %u", h.channels);
  LogPrint(LogAlways, "start time   : %02d-%02d-%04d   %2d:%02d:%02d.%03d", t.day, t.month, t.year, t.hour,
           t.minute, t.second, t.millisecond);
  LogPrint(LogAlways, "total samples: %u", h.samples);
  LogPrint(LogAlways, "trigger src  : %u (%s)", h.triggerSource, VmsTriggerSourceName(h.triggerSource));
  LogPrint(LogAlways, "pre-event smp: %u", h.preEventSamples);
  LogPrint(LogAlways, "header size  : %u", h.headerSize);
  LogPrint(LogAlways, "trigger level: %.5f", h.triggerLevel);
}

void DumpExtension(const VmsFileHeader& h) {
  LogPrint(LogAlways, "\nsum (X1,Y1,Z1) : %.5f", h.sum1);
  LogPrint(LogAlways, "sum (X2,Y2,Z2) : %.5f", h.sum2);
  LogPrint(LogAlways, "trig chan code : %u (%s)", h.triggerChannel, VmsDirectionName(h.triggerChannel));
  LogPrint(LogAlways, "trig peak val  : %8.5f (during alarm detect)", h.triggerPeak);
  LogPrint(LogAlways, "trig dom freq  : %8.5f (during alarm detect)", h.triggerFrequency);
  LogPrint(LogAlways, "GPS lat        : %.9lf", h.latitude);
  LogPrint(LogAlways, "GPS long       : %.9lf", h.longitude);
  LogPrint(LogAlways, "GPS alt        : %.2f", h.altitude);
}

void DumpChannel(const VmsChannelHeader& c, uint32_t version) {
  LogPrint(LogAlways, "\n\n%s", kDashes);
  LogPrint(LogAlways, " QLM VMS   Channel Header v%u", version);
  LogPrint(LogAlways, "%s", kDashes);
  LogPrint(LogAlways, "channel name   : %s", c.name);
  LogPrint(LogAlways, "virt chan num  : %u", c.virtualChannel);
  LogPrint(LogAlways, "phys chan num  : %u", c.physicalChannel);
  LogPrint(LogAlways, "sensor dir     : %u (%s)", c.direction, VmsDirectionName(c.direction));
  LogPrint(LogAlways, "sensor type    : %u (%s)", c.sensorType, VmsSensorTypeName(c.sensorType));
  LogPrint(LogAlways, "sensor units   : %u (%s)", c.units, VmsUnitsName(c.units));
  LogPrint(LogAlways, "sensor full sca: %.5f", c.fullScale);
  LogPrint(LogAlways, "vector Amp     : %8.5f    (peak value during alarm detect)", c.vectorAmplitude);
  LogPrint(LogAlways, "main freq      : %8.5f Hz (dominant frequency during alarm detect)", c.mainFrequency);
}

// The checks of the file header; false after logging why it is refused. A
// rate of 0 is refused too: it would give an infinite sampling interval.
bool CheckFileHeader(const VmsFileHeader& h) {
  int32_t nchan = static_cast<int32_t>(h.channels);
  int32_t nsmp = static_cast<int32_t>(h.samples);
  if (h.tag != kVmsTag) {
    LogPrint(LogError, "\n\nERROR: not a QLM VMS file\n");
  } else if (h.version != 2 && h.version != 3) {
    LogPrint(LogError, "\n\nERROR: unsupported file version %u\n", h.version);
  } else if (nchan <= 0 || nsmp <= 0) {
    LogPrint(LogError, "\n\nERROR: empty dataset nchan=%d  num_smp=%d\n", nchan, nsmp);
  } else if (nchan > kVmsMaxChannels) {
    LogPrint(LogError, "\n\nERROR: too many channels (%d) in vms file, max is %d\n", nchan, kVmsMaxChannels);
  } else if (nsmp > kVmsMaxSamples) {
    LogPrint(LogError, "\n\nERROR: too many samples (%d) per channel, max is %d\n", nsmp, kVmsMaxSamples);
  } else if (h.samplesPerSecond == 0) {
    LogPrint(LogError, "\n\nERROR: invalid sampling rate %u samples/s\n", h.samplesPerSecond);
  } else {
    return true;
  }
  return false;
}

// Reads the file header (and the version 3 extension), dumping as it goes.
// Returns true when the header is good to load from.
bool ReadFileHeader(std::FILE* f, bool dump, VmsFileHeader* h) {
  uint8_t buf[kVmsV3ExtensionBytes];
  if (std::fread(buf, 1, kVmsFileHeaderBytes, f) != kVmsFileHeaderBytes) {
    LogPrint(LogError, "\n\nERROR: failed to load %u-byte file header v2\n", kVmsFileHeaderBytes);
    return false;
  }
  DecodeVmsFileHeader(buf, h);
  if (dump) DumpFileHeader(*h);
  if (!CheckFileHeader(*h)) return false;
  if (h->version == 3) {
    if (std::fread(buf, 1, kVmsV3ExtensionBytes, f) != kVmsV3ExtensionBytes) {
      LogPrint(LogError, "\n\nERROR: failed to load %u-byte file header v3\n", kVmsV3ExtensionBytes);
      return false;
    }
    DecodeVmsExtension(buf, h);
    if (dump) DumpExtension(*h);
  }
  return true;
}

bool ReadChannelHeaders(std::FILE* f, const VmsFileHeader& h, bool dump, VmsChannelHeader* channels) {
  uint32_t size = h.version == 3 ? kVmsChannelHeaderBytesV3 : kVmsChannelHeaderBytesV2;
  uint8_t buf[kVmsChannelHeaderBytesV3];
  for (uint32_t k = 1; k <= h.channels; ++k) {
    if (std::fread(buf, 1, size, f) != size) {
      LogPrint(LogError, "\n\nERROR: failed to load %u-byte channel %d header\n", size, static_cast<int>(k));
      return false;
    }
    DecodeVmsChannelHeader(buf, &channels[k - 1]);
    if (dump) DumpChannel(channels[k - 1], h.version);
  }
  return true;
}

TraceRecord* BuildTrace(const VmsFileHeader& h, const VmsChannelHeader& c, int k, const VmsStartTime& t) {
  TraceRecord* r = TraceRecord::Allocate(static_cast<int32_t>(h.samples));
  if (!r) {
    LogPrint(LogError, "\n\nERROR: failed to allocate trace\n");
    return nullptr;
  }
  r->DT = 1.0 / h.samplesPerSecond;
  r->DELAY = -static_cast<double>(h.preEventSamples) / h.samplesPerSecond;
  r->DTID = static_cast<int32_t>(h.serial);
  r->CHAN = k;
  r->HOUR = static_cast<uint8_t>(t.hour);
  r->MINUTE = static_cast<uint8_t>(t.minute);
  r->SEC = static_cast<uint8_t>(t.second);
  r->NANO = t.millisecond * 1000000;
  r->YEAR = static_cast<int16_t>(t.year);
  r->MONTH = static_cast<uint8_t>(t.month);
  r->MDAY = static_cast<uint8_t>(t.day);
  r->DAY = static_cast<int16_t>(t.dayOfYear);
  if (h.version == 3) {
    r->RX = h.longitude;
    r->RY = h.latitude;
    r->RZ = h.altitude;
    r->CUNIT = 3;
  }
  int16_t code = VmsTraceCode(c.direction);
  if (code != 0) r->TRID = code;
  return r;
}

// Reads the interleaved sample block and gives each trace its samples, bit
// for bit. The caller has checked the block against the file size.
bool ReadSamples(std::FILE* f, const VmsFileHeader& h, TraceRecord** traces) {
  const uint64_t nch = h.channels, ns = h.samples;
  const uint64_t rowBytes = nch * 4;
  std::size_t bytes = static_cast<std::size_t>(ns * rowBytes);
  auto* block = static_cast<uint8_t*>(std::malloc(bytes));
  if (!block) {
    LogPrint(LogError, "\n\nERROR: %zu-byte samples buffer malloc failure\n", bytes);
    return false;
  }
  std::size_t got = std::fread(block, 1, bytes, f);
  bool ok = got == bytes;
  if (!ok) {
    LogPrint(LogError, "\n\nERROR: only %u/%u samples loaded\n", static_cast<unsigned>(got / rowBytes),
             static_cast<unsigned>(ns));
  } else {
    for (uint64_t s = 0; s < ns; ++s) {
      const uint8_t* row = block + s * rowBytes;
      for (uint64_t k = 0; k < nch; ++k) traces[k]->Samples()[s] = LoadFloatLE(row + 4 * k);
    }
  }
  std::free(block);
  return ok;
}

void BuildBinaryHeader(SeismicSection& section, const VmsFileHeader& h, double dt) {
  uint8_t* b = section.m_binaryHeader;
  std::memset(b, 0, kBinaryHeaderBytes);
  b[BinaryHeaderOffset(kBhRevisionMajor)] = static_cast<uint8_t>(h.version);
  b[kBfhByteOrderPos] = kLittleEndian;
  b[kBfhFileTypePos] = kFileQlmVms;
  StoreWord<int16_t>(b + BinaryHeaderOffset(kBhFormat), 5, !kHostLittleEndian);   // IEEE float samples
  StoreWord<int16_t>(b + BinaryHeaderOffset(kBhSorting), 1, !kHostLittleEndian);  // as recorded
  if (h.samples < 65536)
    StoreWord<uint16_t>(b + BinaryHeaderOffset(kBhSamples), static_cast<uint16_t>(h.samples),
                        !kHostLittleEndian);
  StoreWord<int32_t>(b + BinaryHeaderOffset(kBhSamples32), static_cast<int32_t>(h.samples),
                     !kHostLittleEndian);
  // The 16-bit interval is signed; longer intervals live in the 64-bit field only.
  double us = dt * 1e6;
  int64_t rounded = static_cast<int64_t>(us + 0.5);
  if (rounded <= 32767)
    StoreWord<int16_t>(b + BinaryHeaderOffset(kBhInterval), static_cast<int16_t>(rounded),
                       !kHostLittleEndian);
  StoreWord<uint64_t>(b + BinaryHeaderOffset(kBhInterval64), std::bit_cast<uint64_t>(us), !kHostLittleEndian);
}

// Appends the finished traces; the list is grown first so that either all
// channels go in or none does.
bool AppendTraces(SeismicSection& section, TraceRecord** traces, int n, const LoadParams& params) {
  if (section.ReserveTraces(n) != 0) return false;
  float largest = 0.0f;
  for (int k = 0; k < n; ++k) {
    TraceRecord* r = traces[k];
    r->UpdatePeak();
    LogPrint(LogError, "trace %d  max |amp|= %.5f", k, r->AMAX);
    if (r->AMAX > largest) largest = r->AMAX;
    section.AppendTrace(r, params.fileCount, params.loadTag);
    traces[k] = nullptr;
  }
  section.RaiseMaxAmplitude(largest);
  return true;
}

// Builds, fills and appends the traces; false (nothing appended) on failure.
bool LoadTraces(SeismicSection& section, std::FILE* f, int64_t fileSize, const VmsFileHeader& h,
                const VmsChannelHeader* channels, LoadParams& params) {
  VmsStartTime t = VmsConvertStartTime(h.startSeconds, h.startNanoseconds);
  TraceRecord* traces[kVmsMaxChannels] = {};
  const int n = static_cast<int>(h.channels);
  bool ok = true;
  // A header that announces more samples than the file holds is refused before
  // anything is allocated.
  int64_t pos = ftello(f);
  if (fileSize >= 0 && pos >= 0) {
    uint64_t left = fileSize > pos ? static_cast<uint64_t>(fileSize - pos) : 0;
    uint64_t available = left / (static_cast<uint64_t>(h.channels) * 4);
    if (available < h.samples) {
      LogPrint(LogError, "\n\nERROR: only %u/%u samples loaded\n", static_cast<unsigned>(available),
               h.samples);
      return false;
    }
  }
  for (int k = 0; k < n && ok; ++k) {
    traces[k] = BuildTrace(h, channels[k], k + 1, t);
    ok = traces[k] != nullptr;
  }
  if (ok) ok = ReadSamples(f, h, traces);
  if (ok) ok = AppendTraces(section, traces, n, params);
  for (int k = 0; k < n; ++k) TraceRecord::Free(traces[k]);
  if (ok && (params.flags & kLoadKeepHeaders)) BuildBinaryHeader(section, h, 1.0 / h.samplesPerSecond);
  return ok;
}
}  // namespace

void DecodeVmsFileHeader(const uint8_t* b, VmsFileHeader* h) {
  h->tag = LoadLE<uint32_t>(b + 0);
  h->version = LoadLE<uint32_t>(b + 4);
  h->serial = LoadLE<uint32_t>(b + 8);
  h->samplesPerSecond = LoadLE<uint32_t>(b + 12);
  h->channels = LoadLE<uint32_t>(b + 16);
  h->startSeconds = LoadLE<uint32_t>(b + 20);
  h->startNanoseconds = LoadLE<uint32_t>(b + 24);
  h->samples = LoadLE<uint32_t>(b + 28);
  h->triggerSource = LoadLE<uint32_t>(b + 32);
  h->preEventSamples = LoadLE<uint32_t>(b + 36);
  h->headerSize = LoadLE<uint32_t>(b + 40);
  h->triggerLevel = LoadFloatLE(b + 44);
}

void DecodeVmsExtension(const uint8_t* b, VmsFileHeader* h) {
  h->sum1 = LoadFloatLE(b + 0);
  h->sum2 = LoadFloatLE(b + 4);
  h->triggerChannel = LoadLE<uint32_t>(b + 8);
  h->triggerPeak = LoadFloatLE(b + 12);
  h->triggerFrequency = LoadFloatLE(b + 16);
  h->latitude = LoadDoubleLE(b + 20);
  h->longitude = LoadDoubleLE(b + 28);
  h->altitude = LoadFloatLE(b + 36);
}

void DecodeVmsChannelHeader(const uint8_t* b, VmsChannelHeader* c) {
  std::memcpy(c->name, b, 15);
  c->name[15] = '\0';
  c->virtualChannel = LoadLE<uint32_t>(b + 16);
  c->physicalChannel = LoadLE<uint32_t>(b + 20);
  c->direction = LoadLE<uint32_t>(b + 24);
  c->sensorType = LoadLE<uint32_t>(b + 28);
  c->units = LoadLE<uint32_t>(b + 32);
  c->fullScale = LoadFloatLE(b + 36);
  c->vectorAmplitude = LoadFloatLE(b + 40);
  c->mainFrequency = LoadFloatLE(b + 44);
}

VmsStartTime VmsConvertStartTime(uint32_t seconds, uint32_t nanoseconds) {
  const uint64_t ticks = static_cast<uint64_t>(seconds) * 10000000u + nanoseconds / 100u;
  const uint64_t secs = ticks / 10000000u;
  VmsStartTime t;
  t.millisecond = static_cast<int>((ticks % 10000000u) / 10000u);
  uint64_t sod = secs % 86400u;
  t.hour = static_cast<int>(sod / 3600u);
  t.minute = static_cast<int>(sod / 60u % 60u);
  t.second = static_cast<int>(sod % 60u);
  CivilFromDays(static_cast<int64_t>(secs / 86400u), &t.year, &t.month, &t.day);
  t.dayOfYear = DayOfYear(t.year, t.month, t.day);
  return t;
}

const char* VmsDirectionName(uint32_t code) {
  static const char* const kNames[] = {"unk", "X", "Y", "Z", "X2", "Y2", "Z2", "rsv", "R", "Sum2"};
  return NameOf(kNames, code);
}

const char* VmsSensorTypeName(uint32_t code) {
  static const char* const kNames[] = {"unk", "geo", "accel", "volt"};
  return NameOf(kNames, code);
}

const char* VmsUnitsName(uint32_t code) {
  static const char* const kNames[] = {"unk", "counts", "mm/s", "m/s", "g", "V", "in/s", "unk"};
  return NameOf(kNames, code);
}

const char* VmsTriggerSourceName(uint32_t code) {
  switch (code) {
    case 0x100:
      return "permanent";
    case 0x200:
      return "level";
    case 0x400:
      return "SN640";
    case 0x800:
      return "Freq5Step";
    case 0x1000:
      return "DIN4150-3 time domain";
    case 0x2000:
      return "DIN4150-3 freq domain";
    default:
      return "unk";
  }
}

int16_t VmsTraceCode(uint32_t direction) {
  switch (direction) {
    case 1:
      return 14;
    case 2:
      return 13;
    case 3:
      return 12;
    default:
      return 0;
  }
}

int ReadQlmVms(SeismicSection& section, const std::string& path, LoadParams& params) {
  SeismicFile file = OpenSeismicFile(&section, path, "rbS");
  if (!file) return kStatusOpenFailed;
  const bool dump = (params.flags & kVmsDumpFlags) != 0;
  VmsFileHeader h;
  if (!ReadFileHeader(file.Stream(), dump, &h)) return 0;
  VmsChannelHeader channels[kVmsMaxChannels];
  if (!ReadChannelHeaders(file.Stream(), h, dump, channels)) return 0;
  if (dump) return 0;
  if (!LoadTraces(section, file.Stream(), file.SizeAtOpen(), h, channels, params)) return 0;
  return static_cast<int>(h.channels);
}
