#include "formats/Seg2Writer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstring>

#include "formats/FilterBlock.h"
#include "formats/SafeWrite.h"
#include "formats/Seg2Reader.h"
#include "formats/SegyWriter.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/ByteOrder.h"
#include "section/SegyBytePositions.h"
#include "section/SeismicSection.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr uint64_t kMaxBlockOffset = 4294967294ull;

double Seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Fmt(const char* format, ...) {
  char buf[256];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  return std::string(buf, n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buf - 1));
}

void AddDateTime(const TraceRecord& r, std::vector<std::string>* out) {
  if (r.YEAR == 0) return;
  out->push_back(Fmt("ACQUISITION_DATE %02d/%02d/%4d", r.MDAY, r.MONTH, r.YEAR));
  out->push_back(Fmt("ACQUISITION_TIME %02d:%02d:%02d", r.HOUR, r.MINUTE, r.SEC));
}

struct TraceList {
  TraceRecord* const* traces;
  int32_t count;
};
TraceList ChosenList(const SeismicSection& s, const SaveOptions& o) {
  const std::span<TraceRecord* const> list = o.traceList != 0 ? s.Stack() : s.Traces();
  return {list.data(), static_cast<int32_t>(list.size())};
}

void PutLE16(std::vector<uint8_t>* v, uint16_t x) {
  v->push_back(static_cast<uint8_t>(x & 0xFF));
  v->push_back(static_cast<uint8_t>(x >> 8));
}

struct WriteState {
  std::FILE* fp;
  std::vector<uint8_t> pointers;  // the subblock, 4 x N bytes
  FilterBlock filtered;           // the filtered samples of the traces about to be written
  uint64_t offset = 0;            // where the next trace block starts
  int written = 0;
  int error = 0;  // errno of a failed write or seek
};

bool Put(WriteState& w, const void* data, std::size_t n) {
  if (n == 0) return true;
  errno = 0;
  if (std::fwrite(data, 1, n, w.fp) == n) return true;
  w.error = errno > 0 ? errno : EIO;
  return false;
}

// Block, strings and samples f..f+n-1 of one trace.
bool WriteTrace(WriteState& w, const TraceRecord& r, int32_t i, int32_t f, int32_t n, const SaveOptions& o) {
  std::vector<uint8_t> strings = Seg2StringList(Seg2TraceStrings(r, r.DELAY + f * r.DT));
  uint8_t block[kSeg2TraceBlockBytes] = {};
  StoreWord<uint16_t>(block, kSeg2TraceId, false);
  StoreWord<uint16_t>(block + 2, static_cast<uint16_t>(kSeg2TraceBlockBytes + strings.size()), false);
  StoreWord<uint32_t>(block + 4, static_cast<uint32_t>(4u * static_cast<uint32_t>(n)), false);
  StoreWord<uint32_t>(block + 8, static_cast<uint32_t>(n), false);
  block[12] = 4;
  const float* src = (o.filter ? w.filtered.Samples(i) : r.Samples()) + f;
  std::vector<float> swapped;
  if (!kHostLittleEndian) {
    swapped.assign(src, src + n);
    ReverseBytes32(swapped.data(), swapped.size());
    src = swapped.data();
  }
  if (!Put(w, block, sizeof block) || !Put(w, strings.data(), strings.size()) ||
      !Put(w, src, sizeof(float) * static_cast<std::size_t>(n)))
    return false;
  w.offset += sizeof block + strings.size() + sizeof(float) * static_cast<std::size_t>(n);
  return true;
}

// Skip checks and the 4 GiB stop; false when writing must end here.
bool WriteListEntry(WriteState& w, const TraceRecord& r, int i, const SaveOptions& o, bool* stop) {
  int32_t f = 0, e = 0;
  CropWindow(r, o, &f, &e);
  if (f >= e) {
    LogPrint(LogError, "trace %d skipped: out of specified crop time window", i);
    ConsoleRaise();
    return true;
  }
  std::size_t slots = w.pointers.size() / 4;
  if (w.offset > kMaxBlockOffset || static_cast<std::size_t>(w.written) >= slots) {
    if (w.offset > kMaxBlockOffset)
      LogPrint(
          LogError,
          "\nERROR: WriteSEG2 stopped after %d traces written\nbecause trace offset in file exceeds 4GiB\n",
          w.written);
    else
      LogPrint(
          LogError,
          "\nERROR: WriteSEG2 stopped after %d traces written\nbecause the trace pointer subblock is full\n",
          w.written);
    ConsoleRaise();
    *stop = true;
    return true;
  }
  StoreWord<uint32_t>(w.pointers.data() + 4 * w.written, static_cast<uint32_t>(w.offset), false);
  if (!WriteTrace(w, r, i, f, e - f + 1, o)) return false;
  ++w.written;
  return true;
}

bool WriteFileBlock(WriteState& w) {
  uint8_t block[kSeg2FileBlockBytes] = {};
  block[0] = 0x55, block[1] = 0x3A;
  StoreWord<uint16_t>(block + 2, 1, false);
  StoreWord<uint16_t>(block + 4, static_cast<uint16_t>(w.pointers.size()), false);
  StoreWord<uint16_t>(block + 6, static_cast<uint16_t>(w.written), false);
  block[8] = 1;
  block[11] = 1;
  block[12] = 0x0A;
  errno = 0;
  if (std::fseek(w.fp, 0, SEEK_SET) != 0) {
    w.error = errno > 0 ? errno : EIO;
    return false;
  }
  return Put(w, block, sizeof block) && Put(w, w.pointers.data(), w.pointers.size());
}

bool AllocateBuffers(WriteState& w, const SaveOptions& o) {
  try {
    // The subblock size is a 16-bit byte count: at most 16383 pointers.
    w.pointers.assign(4u * std::min<uint32_t>(o.seg2TraceCount, 16383u), 0);
  } catch (...) {
    LogPrint(LogError, "\nERROR: malloc failure for SEG-2 %u-byte traceptr block\n", 4u * o.seg2TraceCount);
    ConsoleRaise();
    return false;
  }
  return true;
}
}  // namespace

std::vector<uint8_t> Seg2StringList(const std::vector<std::string>& strings) {
  std::vector<uint8_t> out;
  for (const std::string& s : strings) {
    std::size_t len = std::min<std::size_t>(s.size(), 65532);
    PutLE16(&out, static_cast<uint16_t>(len + 3));
    out.insert(out.end(), s.begin(), s.begin() + static_cast<long>(len));
    out.push_back(0);
  }
  PutLE16(&out, 0);
  while (out.size() % 4 != 0) out.push_back(0);
  return out;
}

std::vector<std::string> Seg2FileStrings(const SeismicSection& section, const TraceRecord* first) {
  std::vector<std::string> out;
  if (first) AddDateTime(*first, &out);
  int16_t sort = 0, units = 0;
  std::memcpy(&sort, section.m_binaryHeader + BinaryHeaderOffset(kBhSorting), 2);
  std::memcpy(&units, section.m_binaryHeader + BinaryHeaderOffset(kBhMeasurementSystem), 2);
  static const char* const kSorts[8] = {nullptr,     "AS_ACQUIRED",   "CDP_GATHER",      nullptr,
                                        "CDP_STACK", "COMMON_SOURCE", "COMMON_RECEIVER", "COMMON_OFFSET"};
  if (sort >= 1 && sort <= 7 && kSorts[sort]) out.push_back(std::string("TRACE_SORT ") + kSorts[sort]);
  static const char* const kUnits[5] = {"NONE", "METERS", "FEET", "CENTIMETERS", "INCHES"};
  out.push_back(std::string("UNITS ") + kUnits[units >= 1 && units <= 4 ? units : 0]);
  return out;
}

std::vector<std::string> Seg2TraceStrings(const TraceRecord& r, double delay) {
  std::vector<std::string> out;
  AddDateTime(r, &out);
  if (r.AAF > 0) out.push_back(Fmt("ALIAS_FILTER %.2f %.1f", r.AAF, r.AAS));
  if (r.CDP > 0) out.push_back(Fmt("CDP_NUMBER %d", r.CDP));
  if (r.CDPT > 0) out.push_back(Fmt("CDP_TRACE %d", r.CDPT));
  out.push_back(Fmt("CHANNEL_NUMBER %d", r.CHAN));
  if (r.RZDAT == r.SZDAT && r.RZDAT != 0) out.push_back(Fmt("DATUM %.2f", r.RZDAT));
  out.push_back(Fmt("DELAY %.9lf", delay));
  out.push_back("DESCALING_FACTOR 1.000");
  if (r.IGC >= 0) out.push_back(Fmt("FIXED_GAIN %d", r.IGC));
  if (r.HCF > 0) out.push_back(Fmt("HIGH_CUT_FILTER %.2f %.1f", r.HCF, r.HCS));
  if (r.ILINE > 0) out.push_back(Fmt("LINE_ID %d", r.ILINE));
  if (r.LCF > 0) out.push_back(Fmt("LOW_CUT_FILTER %.2f %.1f", r.LCF, r.LCS));
  if (r.NOF > 0) out.push_back(Fmt("NOTCH_FREQUENCY %.2f", r.NOF));
  out.push_back(Fmt("RECEIVER_DEPTH %.3f", r.RDEP));
  out.push_back(Fmt("RECEIVER_LOCATION %.3lf %.3lf %.3f", r.RX, r.RY, r.RZ));
  if (r.RSTA != 0) out.push_back(Fmt("RECEIVER_STATION_NUMBER %.2lf", r.RSTA));
  out.push_back(Fmt("SAMPLE_INTERVAL %.9lf", r.DT));
  out.push_back(Fmt("SHOT_SEQUENCE_NUMBER %lld", static_cast<long long>(r.FLDR)));
  out.push_back(Fmt("SOURCE_DEPTH %.3f", r.SDEP));
  out.push_back(Fmt("SOURCE_LOCATION %.3lf %.3lf %.3f", r.SX, r.SY, r.SZ));
  if (r.SSTA != 0) out.push_back(Fmt("SOURCE_STATION_NUMBER %.2lf", r.SSTA));
  if (r.NVS > 0) out.push_back(Fmt("STACK %d", r.NVS));
  if (r.SSTAT != 0 || r.RSTAT != 0 || r.TSTAT != 0)
    out.push_back(Fmt("STATIC_CORRECTIONS %.6f %.6f %.6f", r.SSTAT, r.RSTAT, r.TSTAT));
  const char* type = r.TRID == 1      ? "SEISMIC_DATA"
                     : r.TRID == 2    ? "DEAD"
                     : r.TRID == 3    ? "DUMMY"
                     : r.TRID == 8192 ? "VSUM"
                     : r.TRID == 8193 ? "HSTACK"
                                      : nullptr;
  if (type) out.push_back(std::string("TRACE_TYPE ") + type);
  return out;
}

int WriteSEG2(const SeismicSection& section, std::FILE* fp, SaveOptions& o) {
  TraceList list = ChosenList(section, o);
  WriteState w{fp, {}, {}, 0, 0, 0};
  int32_t filteredEnd = 0;
  if (!AllocateBuffers(w, o)) return kStatusNoMemory;
  const TraceRecord* first = nullptr;
  for (int32_t i = 0; i < list.count && !first; ++i) first = list.traces[i];
  std::vector<uint8_t> fileStrings = Seg2StringList(Seg2FileStrings(section, first));
  uint64_t start = kSeg2FileBlockBytes + w.pointers.size();
  bool ok = std::fseek(fp, static_cast<long>(start), SEEK_SET) == 0;
  if (!ok) w.error = errno > 0 ? errno : EIO;
  ok = ok && Put(w, fileStrings.data(), fileStrings.size());
  w.offset = start + fileStrings.size();
  bool stop = false;
  if (o.progress) o.progress(0, list.count);
  for (int32_t i = 0; ok && !stop && i < list.count; ++i) {
    // Reported every 256 positions: often enough for a bar, cheap per trace.
    if (o.progress && i > 0 && i % 256 == 0) o.progress(i, list.count);
    const TraceRecord* r = list.traces[i];
    if (!r || r->OMIT) continue;
    if (o.filter && i >= filteredEnd) {
      filteredEnd = w.filtered.Fill(*o.filter, list.traces, i, list.count, o.threads);
      if (filteredEnd < 0) {
        ConsoleRaise();
        return kStatusNoMemory;
      }
    }
    ok = WriteListEntry(w, *r, i, o, &stop);
  }
  ok = ok && WriteFileBlock(w);
  if (ok && o.progress) o.progress(list.count, list.count);
  if (!ok) {
    LogPrint(LogError, "\nERROR: IO error while writing SEG-2 file after %d traces written", w.written);
    LogSystemError(w.error, 1);
    return kStatusWriteFailed;
  }
  if (w.written == 0) {
    LogPrint(LogError, "\nERROR: zero valid trace written to SEG-2 file\n");
    ConsoleRaise();
    return kStatusRefused;
  }
  return 0;
}

int SaveAsSeg2(const SeismicSection& section, const std::string& path, SaveOptions& o) {
  Clock::time_point t0 = Clock::now();
  if (o.seg2TraceCount == 0) {
    TraceList list = ChosenList(section, o);
    int32_t kept = 0;
    for (int32_t i = 0; i < list.count; ++i)
      if (list.traces[i] && !list.traces[i]->OMIT) ++kept;
    o.seg2TraceCount = static_cast<uint16_t>(std::min(kept, 65535 / 4));
  }
  SafeWrite out;
  if (out.Open(path, 131072) != 0) {
    LogPrint(LogError, "\nERROR: Cannot open output SEG-2 file '%s'", path.c_str());
    return kStatusOpenFailed;
  }
  Clock::time_point t1 = Clock::now();
  int rc = WriteSEG2(section, out.File(), o);
  Clock::time_point t2 = Clock::now();
  if (rc != 0) return rc;  // out's destructor removes the temporary file
  if (out.Commit() != 0) return kStatusWriteFailed;
  Clock::time_point t3 = Clock::now();
  LogPrint(LogError, "save: Open   = %.6lfs", Seconds(t0, t1));
  LogPrint(LogError, "save: Write  = %.6lfs", Seconds(t1, t2));
  LogPrint(LogError, "save: Close  = %.6lfs", Seconds(t2, t3));
  LogPrint(LogError, "save: Total  = %.6lfs", Seconds(t0, t3));
  return 0;
}
