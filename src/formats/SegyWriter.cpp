#include "formats/SegyWriter.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "formats/FilterBlock.h"
#include "formats/SafeWrite.h"
#include "formats/SegyLayout.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"

namespace {
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

// Values that do not fit a header word saturate rather than wrap.
int32_t SaturateI32(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}
int16_t SaturateI16(double v) {
  if (!(v == v)) return 0;
  if (v >= 32767.0) return 32767;
  if (v <= -32768.0) return -32768;
  return static_cast<int16_t>(v);
}
// Rounding with a bias: added to non-negative values, subtracted from
// negative ones, then truncated toward zero, so both signs round alike.
double Biased(double v, double bias) {
  return std::trunc(v >= 0.0 ? v + bias : v - bias);
}
int32_t RoundI32(double v, double bias) {
  return SaturateI32(Biased(v, bias));
}
int16_t RoundI16(double v, double bias) {
  return SaturateI16(Biased(v, bias));
}

// Stores words at trace header positions (kTr...) in the output byte order.
class HeaderOut {
 public:
  HeaderOut(uint8_t* h, bool big) : m_h(h), m_big(big) {}
  void I32(int pos, int32_t v) { StoreWord<int32_t>(m_h + TraceHeaderOffset(pos), v, m_big); }
  void I16(int pos, int16_t v) { StoreWord<int16_t>(m_h + TraceHeaderOffset(pos), v, m_big); }
  void U16(int pos, uint16_t v) { StoreWord<uint16_t>(m_h + TraceHeaderOffset(pos), v, m_big); }

 private:
  uint8_t* m_h;
  bool m_big;
};

// Times in seconds to a milliseconds word.
int16_t Millis(float seconds) {
  return RoundI16(static_cast<double>(seconds) * 1000.0, 0.01);
}

void PutIdentity(const TraceRecord& r, int32_t flags, HeaderOut& h) {
  h.I32(kTrTracl, r.TRACF);
  h.I32(kTrTracr, r.TRACR);
  h.I32(kTrFldr, static_cast<int32_t>(static_cast<uint64_t>(r.FLDR) & 0xFFFFFFFFu));
  h.I32(kTrTracf, r.CHAN);
  int32_t ep = (flags & kSaveStationNumbering) ? RoundI32(r.SSTA, 0.499) : r.ESP;
  h.I32(kTrEp, ep);
  h.I32(kTrCdp, r.CDP);
  h.I32(kTrCdpt, r.CDPT);
  h.I16(kTrTrid, r.TRID);
  h.I16(kTrNvs, r.NVS);
  h.I16(kTrNhs, r.NHS);
  h.I16(kTrDuse, r.DUSE);
  h.I32(kTrOffset, RoundI32(r.OFF, 0.499));
  h.I32(kTrIline, r.ILINE);
  h.I32(kTrXline, (flags & kSaveStationNumbering) ? ep : r.XLINE);
  if (flags & kSaveStationNumbering) {
    h.I32(kTrSp, RoundI32(r.RSTA, 0.499));
    h.I16(kTrSpscal, 1);
  } else {
    h.I32(kTrSp, RoundI32(r.SSTA * 100.0, 0.001));
    h.I16(kTrSpscal, -100);
  }
}

void PutGeometry(const TraceRecord& r, HeaderOut& h) {
  double e = r.MSYS0 == 2 ? 100.0 : 1000.0;
  h.I16(kTrScalel, static_cast<int16_t>(-e));
  h.I32(kTrGelev, RoundI32(r.RZ * e, 0.499));
  h.I32(kTrSelev, RoundI32(r.SZ * e, 0.499));
  h.I32(kTrSdepth, RoundI32(r.SDEP * e, 0.499));
  h.I32(kTrGdel, RoundI32(r.RZDAT * e, 0.499));
  h.I32(kTrSdel, RoundI32(r.SZDAT * e, 0.499));
  h.I32(kTrSwdep, RoundI32(r.SWDEP * e, 0.499));
  h.I32(kTrGwdep, RoundI32(r.RWDEP * e, 0.499));
  int16_t scalco = -100;
  double k = 100.0;
  if (r.CUNIT == 2) {
    scalco = -1000, k = 1000.0;
  } else if (r.CUNIT == 3) {
    scalco = -10000, k = 10000.0;
  } else if (r.CUNIT == 4) {
    LogPrint(LogError, "\nWARNING: output in DMS(4) coordinate units unsupported \n");
    scalco = 1, k = 1.0;
  } else if (r.MSYS == 2) {
    scalco = -10, k = 10.0;
  }
  h.I16(kTrScalco, scalco);
  h.I32(kTrSx, RoundI32(r.SX * k, 0.4999));
  h.I32(kTrSy, RoundI32(r.SY * k, 0.4999));
  h.I32(kTrGx, RoundI32(r.RX * k, 0.4999));
  h.I32(kTrGy, RoundI32(r.RY * k, 0.4999));
  h.I32(kTrCdpx, RoundI32(r.CDPX * k, 0.4999));
  h.I32(kTrCdpy, RoundI32(r.CDPY * k, 0.4999));
  h.I16(kTrCounit, r.CUNIT);
  h.I16(kTrWevel, RoundI16(r.WVEL, 0.5));
  h.I16(kTrSwevel, RoundI16(r.SWVEL, 0.5));
}

void PutTimes(const TraceRecord& r, HeaderOut& h) {
  h.I16(kTrSut, Millis(r.SUHT));
  h.I16(kTrGut, Millis(r.RUHT));
  h.I16(kTrSstat, Millis(r.SSTAT));
  h.I16(kTrGstat, Millis(r.RSTAT));
  h.I16(kTrTstat, Millis(r.TSTAT));
  h.I16(kTrLaga, Millis(r.LAGA));
  h.I16(kTrLagb, Millis(r.LAGB));
  h.I16(kTrDelrt, SegyDelayWord(r.DELAY));
  h.I16(kTrMuts, Millis(r.SMUTE));
  h.I16(kTrMute, Millis(r.EMUTE));
  h.U16(kTrNs, static_cast<uint16_t>(r.NS < 0 ? 0 : (r.NS > 65535 ? 65535 : r.NS)));
  double us = std::trunc(r.DT * 1e6 + 0.01);
  h.U16(kTrDt, static_cast<uint16_t>(us <= 0.0 || !(us == us) ? 0.0 : (us > 65535.0 ? 65535.0 : us)));
  h.I16(kTrTimscal, 1);  // TIMSCAL
  h.I16(kTrYear, r.YEAR);
  h.I16(kTrDay, r.DAY);
  h.I16(kTrHour, r.HOUR);
  h.I16(kTrMinute, r.MINUTE);
  h.I16(kTrSec, r.SEC);
  h.I16(kTrTimbas, r.TBAS);
}

void PutInstrument(const TraceRecord& r, HeaderOut& h) {
  h.I16(kTrGain, r.IGT);
  h.I16(kTrIgc, r.IGC);
  h.I16(kTrIgi, r.IGI);
  h.I16(kTrCorr, r.CORR);
  h.I16(kTrSfs, RoundI16(r.SWFS, 0.499));
  h.I16(kTrSfe, RoundI16(r.SWFE, 0.499));
  h.I16(kTrSlen, RoundI16(r.SWLEN * 1000.0, 0.499));
  h.I16(kTrStyp, r.SWTYP);
  h.I16(kTrStas, RoundI16(r.TAPLS * 1000.0, 0.499));
  h.I16(kTrStae, RoundI16(r.TAPLE * 1000.0, 0.499));
  h.I16(kTrTatyp, r.TAPTY);
  const float filters[8] = {r.AAF, r.AAS, r.NOF, r.NOS, r.LCF, r.HCF, r.LCS, r.HCS};
  for (int i = 0; i < 8; ++i) h.I16(kTrAfilf + 2 * i, RoundI16(filters[i], 0.499));
  h.I16(kTrTrwf, r.TRWF);
  h.I16(kTrTvmu, r.TVMU);
  h.I32(kTrTrdman, r.TRDMAN);
  h.I16(kTrTrdexp, r.TRDEXP);
  h.I16(kTrTrdun, r.TRDUN);
  h.I16(kTrDti, SaturateI16(r.DTID));
  h.I16(kTrStypor, r.STYPOR);
  h.I16(kTrSedir1, r.SEDIR1);
  h.I16(kTrSedir2, r.SEDIR2);
  h.I16(kTrSedir3, r.SEDIR3);
  h.I32(kTrSmman, r.SMMAN);
  h.I16(kTrSmexp, r.SMEXP);
  h.I16(kTrSmun, r.SMUN);
}

// The chosen list of the options: the section's traces or its stacked traces.
struct TraceList {
  TraceRecord* const* traces;
  int32_t count;
};
TraceList ChosenList(const SeismicSection& s, const SaveOptions& o) {
  const std::span<TraceRecord* const> list = o.traceList != 0 ? s.Stack() : s.Traces();
  return {list.data(), static_cast<int32_t>(list.size())};
}

// One trace of a block: samples f..f+n-1 of r, at `offset` in the block's bytes.
struct Entry {
  const TraceRecord* r;
  int32_t index;  // in the list
  int32_t f, n;
  std::size_t offset;
};

// The skip checks, in list order so that their messages keep it, and the
// fields written back for the first trace. False: the trace is skipped.
bool Admit(const TraceRecord& r, int32_t i, int written, SaveOptions& o, Entry* e) {
  int32_t f = 0, g = 0;
  CropWindow(r, o, &f, &g);
  if (f >= g) {
    LogPrint(LogError, "trace %d skipped: out of specified time range", i);
    ConsoleRaise();
    return false;
  }
  int32_t n = g - f + 1;
  if (o.revision < 2 && n > 65535) {
    LogPrint(LogError, "trace %d skipped: too many samples (%d), SEG-Y rev 1 max is 65'535", i, n);
    return false;
  }
  if (written == 0) {
    o.samplesPerTrace = static_cast<uint16_t>(n);
    double us = std::trunc(r.DT * 1e6 + 0.01);
    o.sampleIntervalUs = static_cast<uint16_t>(us > 0.0 && us <= 65535.0 ? us : 0.0);
  } else if (n != o.samplesPerTrace) {
    o.fixedLength = 0;
  }
  *e = {&r, i, f, n, 0};
  return true;
}

// Header and samples of one trace into dst (kSegyTraceHeaderBytes + 4 n bytes).
// samples is the whole trace, filtered or not.
void EncodeTrace(const Entry& e, const float* samples, int32_t flags, bool bigOut, bool swap, uint8_t* dst) {
  BuildSegyTraceHeader(*e.r, flags, bigOut, dst);
  HeaderOut h(dst, bigOut);
  h.U16(kTrNs, static_cast<uint16_t>(e.n));
  h.I16(kTrDelrt, SegyDelayWord(e.f * e.r->DT + e.r->DELAY));
  uint8_t* out = dst + kSegyTraceHeaderBytes;
  std::memcpy(out, samples + e.f, sizeof(float) * static_cast<std::size_t>(e.n));
  if (swap) ReverseBytes32(out, static_cast<std::size_t>(e.n));
}

// What the trace loop carries from block to block.
struct BlockWriter {
  const SaveOptions& o;
  bool bigOut;  // words and samples written big-endian
  bool swap;    // samples need reversing on this host
  FilterBlock filtered;
  std::vector<Entry> entries;
  std::vector<uint8_t> bytes;
  int written = 0;
};

// Encodes the admitted traces of one block on the team and writes them:
// 0, the system error code, or kStatusNoMemory.
int FlushBlock(BlockWriter& b, std::FILE* fp) {
  if (b.entries.empty()) return 0;
  std::size_t total = 0;
  for (Entry& e : b.entries) {
    e.offset = total;
    total += kSegyTraceHeaderBytes + sizeof(float) * static_cast<std::size_t>(e.n);
  }
  try {
    b.bytes.resize(total);
  } catch (...) {
    LogPrint(LogError, "\nERROR: malloc failure for %zu-byte trace buffer\n", total);
    return kStatusNoMemory;
  }
  const int64_t count = static_cast<int64_t>(b.entries.size());
#pragma omp parallel for schedule(static) num_threads(std::max(b.o.threads, 1))
  for (int64_t k = 0; k < count; ++k) {
    const Entry& e = b.entries[static_cast<std::size_t>(k)];
    const float* samples = b.o.filter ? b.filtered.Samples(e.index) : e.r->Samples();
    EncodeTrace(e, samples, b.o.flags, b.bigOut, b.swap, b.bytes.data() + e.offset);
  }
  // Trace by trace into the stream's buffer, so that a failure counts the traces written.
  for (std::size_t k = 0; k < b.entries.size(); ++k) {
    const std::size_t end = k + 1 < b.entries.size() ? b.entries[k + 1].offset : total;
    const std::size_t size = end - b.entries[k].offset;
    errno = 0;
    if (std::fwrite(b.bytes.data() + b.entries[k].offset, 1, size, fp) != size)
      return errno > 0 ? errno : EIO;
    ++b.written;
  }
  b.entries.clear();
  return 0;
}

// Traces per block when the samples are not filtered (the filter sizes its
// own blocks): enough to keep the team busy, small enough to stay in cache.
constexpr int32_t kBlockTraces = 1024;

// Admits the traces list[first..end) into the block and writes it.
int WriteBlock(BlockWriter& b, const TraceList& list, int32_t first, int32_t end, SaveOptions& o,
               std::FILE* fp) {
  for (int32_t i = first; i < end; ++i) {
    const TraceRecord* r = list.traces[i];
    if (!r || r->OMIT) continue;
    Entry e{};
    if (Admit(*r, i, b.written + static_cast<int>(b.entries.size()), o, &e)) b.entries.push_back(e);
  }
  return FlushBlock(b, fp);
}
}  // namespace

int16_t SegyDelayWord(double delaySeconds) {
  double t = delaySeconds * 1000.0;  // TIMSCAL is always 1 on output
  if (t >= 0.0 && t < 32767.0) return static_cast<int16_t>(t + 0.5);
  if (t < 0.0 && t > -32767.0) return static_cast<int16_t>(t - 0.5);
  return 0;
}

void BuildSegyTraceHeader(const TraceRecord& rec, int32_t flags, bool bigEndian, uint8_t* header) {
  std::memset(header, 0, kSegyTraceHeaderBytes);
  HeaderOut h(header, bigEndian);
  PutIdentity(rec, flags, h);
  PutGeometry(rec, h);
  PutTimes(rec, h);
  PutInstrument(rec, h);
}

void CropWindow(const TraceRecord& rec, const SaveOptions& o, int32_t* first, int32_t* last) {
  *first = 0;
  *last = rec.NS - 1;
  double dt = rec.DT, d = rec.DELAY;
  if (!o.timeCrop || !(o.t1 > o.t0) || !(dt > 0.0)) return;
  double j = std::trunc((o.t1 - d) / dt + 0.01);
  if (o.t1 - 0.01 * dt > j * dt + d) j += 1.0;
  double m = std::trunc((o.t0 - d) / dt + 0.01);
  // Clamped in double first: a far-away window must not overflow the index.
  *last = j < rec.NS ? static_cast<int32_t>(std::max(j, -1.0)) : rec.NS - 1;
  *first = m > 0.0 ? static_cast<int32_t>(std::min(m, static_cast<double>(rec.NS))) : 0;
}

int WriteSegyTraces(const SeismicSection& section, std::FILE* fp, SaveOptions& o) {
  TraceList list = ChosenList(section, o);
  // SEG-Y is big-endian; SU keeps the host's order.
  bool bigOut = !(o.flags & kSaveHostOrder) || !kHostLittleEndian;
  BlockWriter b{o, bigOut, bigOut == kHostLittleEndian, {}, {}, {}};
  o.fixedLength = 1;
  if (o.progress) o.progress(0, list.count);
  for (int32_t first = 0; first < list.count;) {
    int32_t end = std::min(list.count, first + kBlockTraces);
    if (o.filter) end = b.filtered.Fill(*o.filter, list.traces, first, list.count, o.threads);
    int result = end < 0 ? end : WriteBlock(b, list, first, end, o, fp);
    if (result < 0) {
      ConsoleRaise();
      return result;
    }
    if (result != 0) {
      LogPrint(LogError, "\nERROR: IO error while writing SEG-Y file after %d traces written", b.written);
      LogSystemError(result, 1);
      return result;
    }
    first = end;
    if (o.progress) o.progress(end, list.count);
  }
  if (b.written == 0) {
    o.fixedLength = 0;
    LogPrint(LogError, "\nERROR: zero valid trace written to SEG-Y file\n");
    ConsoleRaise();
    return kStatusRefused;
  }
  return 0;
}

namespace {
// The local BFH copy for writing, host order, without the output fields yet.
void PrepareBinaryHeader(const SeismicSection& s, const SaveOptions& o, int16_t extCount, uint8_t* bh) {
  std::memcpy(bh, s.m_binaryHeader, kSegyBinaryBytes);
  bh[BinaryHeaderOffset(kBhRevisionMajor)] = o.revision;
  SetBinaryWord<int32_t>(bh, kBhReelNumber, 1);
  SetBinaryWord<int16_t>(bh, kBhFormat, 5);
  SetBinaryWord<int16_t>(bh, kBhExtTextCount, extCount);
}

// Clears what a revision below 2 must not carry and marks the file 1.0.
void FinishBinaryHeader(const SaveOptions& o, uint8_t* bh) {
  std::memset(bh + kBfhByteOrderPos, 0, kSegyBinaryBytes - kBfhByteOrderPos);
  std::memset(bh + BinaryHeaderOffset(kBhTracesPerRecord32), 0, kBhByteOrderTag + 4 - kBhTracesPerRecord32);
  std::memset(bh + BinaryHeaderOffset(kBhMaxExtensions), 0, kBhTrailerCount + 4 - kBhMaxExtensions);
  if (o.revision == 0) SetBinaryWord<int16_t>(bh, kBhExtTextCount, 0);
  bh[BinaryHeaderOffset(kBhRevisionMajor)] = 1;
  bh[BinaryHeaderOffset(kBhRevisionMinor)] = 0;
  SetBinaryWord<uint16_t>(bh, kBhFixedLength, o.fixedLength);
  SetBinaryWord<uint16_t>(bh, kBhSamples, o.samplesPerTrace);
  SetBinaryWord<uint16_t>(bh, kBhInterval, o.sampleIntervalUs);
}

int16_t ExtendedTextCount(const SeismicSection& s, const SaveOptions& o) {
  if ((o.flags & kSaveNoExtText) || o.revision == 0 || !s.m_extTextHeader) return 0;
  return static_cast<int16_t>(std::clamp(s.m_extTextCount, 0, 32767));
}

// Textual header, binary header and extended textual headers at the start of the file.
bool WriteFileHeaders(const SeismicSection& s, uint8_t* bh, int16_t extCount, std::FILE* fp) {
  if (std::fseek(fp, 0, SEEK_SET) != 0) return false;
  if (std::fwrite(s.m_textualHeader, 1, kSegyTextBytes, fp) != kSegyTextBytes) return false;
  if (kHostLittleEndian) SwapBinaryHeader(bh);
  if (std::fwrite(bh, 1, kSegyBinaryBytes, fp) != kSegyBinaryBytes) return false;
  std::size_t ext = static_cast<std::size_t>(extCount) * kSegyTextBytes;
  return ext == 0 || std::fwrite(s.m_extTextHeader, 1, ext, fp) == ext;
}

void LogSegyTimings(Clock::time_point t0, Clock::time_point t1, Clock::time_point t2, Clock::time_point t3,
                    Clock::time_point t4) {
  LogPrint(LogError, "SaveAsSegyRev1: open file        %.6lfs", Seconds(t0, t1));
  LogPrint(LogError, "                wr traces        %.6lfs", Seconds(t1, t2));
  LogPrint(LogError, "                wr file headers  %.6lfs", Seconds(t2, t3));
  LogPrint(LogError, "                close file       %.6lfs", Seconds(t3, t4));
  LogPrint(LogError, "                          TOTAL  %.6lfs", Seconds(t0, t4));
}
}  // namespace

int SaveAsSegyRev1(const SeismicSection& section, const std::string& path, SaveOptions& o) {
  Clock::time_point t0 = Clock::now();
  SafeWrite out;
  if (out.Open(path, 131072) != 0) {
    LogPrint(LogError, "\nERROR: Cannot open output SEGY file '%s'", path.c_str());
    return kStatusOpenFailed;
  }
  Clock::time_point t1 = Clock::now();
  std::FILE* fp = out.File();
  uint8_t bh[kSegyBinaryBytes];
  int16_t extCount = ExtendedTextCount(section, o);
  PrepareBinaryHeader(section, o, extCount, bh);
  long start = kSegyTextBytes + kSegyBinaryBytes + static_cast<long>(extCount) * kSegyTextBytes;
  errno = 0;
  int rc = std::fseek(fp, start, SEEK_SET) != 0 ? (errno > 0 ? errno : EIO) : WriteSegyTraces(section, fp, o);
  if (rc > 0) {
    LogPrint(LogError, "\nERROR: IO error while writing SEG-Y file");
    LogSystemError(rc, 1);
    return kStatusWriteFailed;  // out's destructor removes the temporary file
  }
  if (rc < 0 || o.revision > 1) {
    ConsoleRaise();
    return kStatusWriteFailed;
  }
  Clock::time_point t2 = Clock::now();
  FinishBinaryHeader(o, bh);
  errno = 0;
  if (!WriteFileHeaders(section, bh, extCount, fp)) {
    LogPrint(LogError, "\nERROR: IO error while writing SEG-Y file header");
    LogSystemError(errno > 0 ? errno : EIO, 1);
    return kStatusWriteFailed;
  }
  Clock::time_point t3 = Clock::now();
  if (out.Commit() != 0) return kStatusWriteFailed;
  LogSegyTimings(t0, t1, t2, t3, Clock::now());
  return 0;
}

int SaveAsSu(const SeismicSection& section, const std::string& path, SaveOptions& o) {
  Clock::time_point t0 = Clock::now();
  SafeWrite out;
  if (out.Open(path, 131072) != 0) {
    LogPrint(LogError, "\nERROR: Cannot open output SU file '%s'", path.c_str());
    return kStatusOpenFailed;
  }
  Clock::time_point t1 = Clock::now();
  o.revision = 0;
  o.flags = kSaveHostOrder | kSaveSu;
  int rc = WriteSegyTraces(section, out.File(), o);
  Clock::time_point t2 = Clock::now();
  if (rc != 0) {
    ConsoleRaise();
    return rc;
  }
  if (out.Commit() != 0) return kStatusWriteFailed;
  Clock::time_point t3 = Clock::now();
  LogPrint(LogError, "SaveAsSU: open file  %.6lfs", Seconds(t0, t1));
  LogPrint(LogError, "          wr traces  %.6lfs", Seconds(t1, t2));
  LogPrint(LogError, "          close      %.6lfs", Seconds(t2, t3));
  LogPrint(LogError, "              TOTAL  %.6lfs", Seconds(t0, t3));
  return 0;
}
