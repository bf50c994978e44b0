#include "formats/SegyWriter.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "formats/SafeWrite.h"
#include "formats/SegyLayout.h"
#include "log/Log.h"
#include "processing/ActiveFilter.h"
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

class HeaderOut {
 public:
  HeaderOut(uint8_t* h, bool big) : m_h(h), m_big(big) {}
  void I32(int pos, int32_t v) { StoreWord<int32_t>(m_h + pos, v, m_big); }
  void I16(int pos, int16_t v) { StoreWord<int16_t>(m_h + pos, v, m_big); }
  void U16(int pos, uint16_t v) { StoreWord<uint16_t>(m_h + pos, v, m_big); }

 private:
  uint8_t* m_h;
  bool m_big;
};

// Times in seconds to a milliseconds word.
int16_t Millis(float seconds) {
  return RoundI16(static_cast<double>(seconds) * 1000.0, 0.01);
}

void PutIdentity(const TraceRecord& r, int32_t flags, HeaderOut& h) {
  h.I32(0, r.TRACF);
  h.I32(4, r.TRACR);
  h.I32(8, static_cast<int32_t>(static_cast<uint64_t>(r.FLDR) & 0xFFFFFFFFu));
  h.I32(12, r.CHAN);
  int32_t ep = (flags & kSaveStationNumbering) ? RoundI32(r.SSTA, 0.499) : r.ESP;
  h.I32(16, ep);
  h.I32(20, r.CDP);
  h.I32(24, r.CDPT);
  h.I16(28, r.TRID);
  h.I16(30, r.NVS);
  h.I16(32, r.NHS);
  h.I16(34, r.DUSE);
  h.I32(36, RoundI32(r.OFF, 0.499));
  h.I32(188, r.ILINE);
  h.I32(192, (flags & kSaveStationNumbering) ? ep : r.XLINE);
  if (flags & kSaveStationNumbering) {
    h.I32(196, RoundI32(r.RSTA, 0.499));
    h.I16(200, 1);
  } else {
    h.I32(196, RoundI32(r.SSTA * 100.0, 0.001));
    h.I16(200, -100);
  }
}

void PutGeometry(const TraceRecord& r, HeaderOut& h) {
  double e = r.MSYS0 == 2 ? 100.0 : 1000.0;
  h.I16(68, static_cast<int16_t>(-e));
  h.I32(40, RoundI32(r.RZ * e, 0.499));
  h.I32(44, RoundI32(r.SZ * e, 0.499));
  h.I32(48, RoundI32(r.SDEP * e, 0.499));
  h.I32(52, RoundI32(r.RZDAT * e, 0.499));
  h.I32(56, RoundI32(r.SZDAT * e, 0.499));
  h.I32(60, RoundI32(r.SWDEP * e, 0.499));
  h.I32(64, RoundI32(r.RWDEP * e, 0.499));
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
  h.I16(70, scalco);
  h.I32(72, RoundI32(r.SX * k, 0.4999));
  h.I32(76, RoundI32(r.SY * k, 0.4999));
  h.I32(80, RoundI32(r.RX * k, 0.4999));
  h.I32(84, RoundI32(r.RY * k, 0.4999));
  h.I32(180, RoundI32(r.CDPX * k, 0.4999));
  h.I32(184, RoundI32(r.CDPY * k, 0.4999));
  h.I16(88, r.CUNIT);
  h.I16(90, RoundI16(r.WVEL, 0.5));
  h.I16(92, RoundI16(r.SWVEL, 0.5));
}

void PutTimes(const TraceRecord& r, HeaderOut& h) {
  h.I16(94, Millis(r.SUHT));
  h.I16(96, Millis(r.RUHT));
  h.I16(98, Millis(r.SSTAT));
  h.I16(100, Millis(r.RSTAT));
  h.I16(102, Millis(r.TSTAT));
  h.I16(104, Millis(r.LAGA));
  h.I16(106, Millis(r.LAGB));
  h.I16(108, SegyDelayWord(r.DELAY));
  h.I16(110, Millis(r.SMUTE));
  h.I16(112, Millis(r.EMUTE));
  h.U16(114, static_cast<uint16_t>(r.NS < 0 ? 0 : (r.NS > 65535 ? 65535 : r.NS)));
  double us = std::trunc(r.DT * 1e6 + 0.01);
  h.U16(116, static_cast<uint16_t>(us <= 0.0 || !(us == us) ? 0.0 : (us > 65535.0 ? 65535.0 : us)));
  h.I16(214, 1);  // TIMSCAL
  h.I16(156, r.YEAR);
  h.I16(158, r.DAY);
  h.I16(160, r.HOUR);
  h.I16(162, r.MINUTE);
  h.I16(164, r.SEC);
  h.I16(166, r.TBAS);
}

void PutInstrument(const TraceRecord& r, HeaderOut& h) {
  h.I16(118, r.IGT);
  h.I16(120, r.IGC);
  h.I16(122, r.IGI);
  h.I16(124, r.CORR);
  h.I16(126, RoundI16(r.SWFS, 0.499));
  h.I16(128, RoundI16(r.SWFE, 0.499));
  h.I16(130, RoundI16(r.SWLEN * 1000.0, 0.499));
  h.I16(132, r.SWTYP);
  h.I16(134, RoundI16(r.TAPLS * 1000.0, 0.499));
  h.I16(136, RoundI16(r.TAPLE * 1000.0, 0.499));
  h.I16(138, r.TAPTY);
  const float filters[8] = {r.AAF, r.AAS, r.NOF, r.NOS, r.LCF, r.HCF, r.LCS, r.HCS};
  for (int i = 0; i < 8; ++i) h.I16(140 + 2 * i, RoundI16(filters[i], 0.499));
  h.I16(168, r.TRWF);
  h.I16(202, r.TVMU);
  h.I32(204, r.TRDMAN);
  h.I16(208, r.TRDEXP);
  h.I16(210, r.TRDUN);
  h.I16(212, SaturateI16(r.DTID));
  h.I16(216, r.STYPOR);
  h.I16(218, r.SEDIR1);
  h.I16(220, r.SEDIR2);
  h.I16(222, r.SEDIR3);
  h.I32(224, r.SMMAN);
  h.I16(228, r.SMEXP);
  h.I16(230, r.SMUN);
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

struct StreamState {
  std::vector<float>* buffer;
  bool bigOut;  // words and samples written big-endian
  bool swap;    // samples need reversing on this host
  int written = 0;
};

// Header and samples of one trace; 0, or the system error code.
int WriteOneTrace(const TraceRecord& r, int32_t f, int32_t n, const SaveOptions& o, StreamState& st,
                  std::FILE* fp) {
  uint8_t header[kSegyTraceHeaderBytes];
  BuildSegyTraceHeader(r, o.flags, st.bigOut, header);
  HeaderOut h(header, st.bigOut);
  h.U16(114, static_cast<uint16_t>(n));
  h.I16(108, SegyDelayWord(f * r.DT + r.DELAY));
  const float* src = r.Samples() + f;
  if (o.applyFilter) {
    FilterForOutput(r.Samples(), st.buffer->data(), r.NS);
    src = st.buffer->data() + f;
  }
  if (st.swap) {
    if (src != st.buffer->data() + f) std::memcpy(st.buffer->data() + f, src, sizeof(float) * n);
    ReverseBytes32(st.buffer->data() + f, static_cast<std::size_t>(n));
    src = st.buffer->data() + f;
  }
  errno = 0;
  if (std::fwrite(header, 1, sizeof header, fp) != sizeof header ||
      std::fwrite(src, sizeof(float), static_cast<std::size_t>(n), fp) != static_cast<std::size_t>(n)) {
    return errno > 0 ? errno : EIO;
  }
  return 0;
}

int32_t MaxSamples(const TraceList& list) {
  int32_t m = 0;
  for (int32_t i = 0; i < list.count; ++i)
    if (list.traces[i] && list.traces[i]->NS > m) m = list.traces[i]->NS;
  return m;
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
  bool swap = bigOut == kHostLittleEndian;
  std::vector<float> buffer;
  if (swap || o.applyFilter) {
    std::size_t count = static_cast<std::size_t>(std::max(MaxSamples(list), 2));
    try {
      buffer.resize(count);
    } catch (...) {
      LogPrint(LogError, "\nERROR: malloc failure for %zu-byte trace buffer\n", count * sizeof(float));
      ConsoleRaise();
      return -999;
    }
  }
  StreamState st{&buffer, bigOut, swap};
  o.fixedLength = 1;
  int result = 0;
  for (int32_t i = 0; i < list.count; ++i) {
    const TraceRecord* r = list.traces[i];
    if (!r || r->OMIT) continue;
    int32_t f = 0, g = 0;
    CropWindow(*r, o, &f, &g);
    if (f >= g) {
      LogPrint(LogError, "trace %d skipped: out of specified time range", i);
      ConsoleRaise();
      continue;
    }
    int32_t n = g - f + 1;
    if (o.revision < 2 && n > 65535) {
      LogPrint(LogError, "trace %d skipped: too many samples (%d), SEG-Y rev 1 max is 65'535", i, n);
      continue;
    }
    if (st.written == 0) {
      o.samplesPerTrace = static_cast<uint16_t>(n);
      double us = std::trunc(r->DT * 1e6 + 0.01);
      o.sampleIntervalUs = static_cast<uint16_t>(us > 0.0 && us <= 65535.0 ? us : 0.0);
    } else if (n != o.samplesPerTrace) {
      o.fixedLength = 0;
    }
    result = WriteOneTrace(*r, f, n, o, st, fp);
    if (result != 0) {
      LogPrint(LogError, "\nERROR: IO error while writing SEG-Y file after %d traces written", st.written);
      LogSystemError(result, 1);
      return result;
    }
    ++st.written;
  }
  if (st.written == 0) {
    o.fixedLength = 0;
    LogPrint(LogError, "\nERROR: zero valid trace written to SEG-Y file\n");
    ConsoleRaise();
    return -1;
  }
  return 0;
}

namespace {
// Binary header positions (0-based within the 400 bytes).
constexpr int kBhReel = 8, kBhInterval = 16, kBhSamples = 20, kBhFormat = 24;
constexpr int kBhRevMajor = 300, kBhRevMinor = 301, kBhFixed = 302, kBhExtCount = 304;

// The local BFH copy for writing, host order, without the output fields yet.
void PrepareBinaryHeader(const SeismicSection& s, const SaveOptions& o, int16_t extCount, uint8_t* bh) {
  std::memcpy(bh, s.m_binaryHeader, kSegyBinaryBytes);
  bh[kBhRevMajor] = o.revision;
  SetHeaderValue<int32_t>(bh, kBhReel + 1, 1);
  SetHeaderValue<int16_t>(bh, kBhFormat + 1, 5);
  SetHeaderValue<int16_t>(bh, kBhExtCount + 1, extCount);
}

// Clears what a revision below 2 must not carry and marks the file 1.0.
void FinishBinaryHeader(const SaveOptions& o, uint8_t* bh) {
  std::memset(bh + 396, 0, 4);
  std::memset(bh + 60, 0, 40);
  std::memset(bh + 306, 0, 26);
  if (o.revision == 0) SetHeaderValue<int16_t>(bh, kBhExtCount + 1, 0);
  bh[kBhRevMajor] = 1;
  bh[kBhRevMinor] = 0;
  SetHeaderValue<uint16_t>(bh, kBhFixed + 1, o.fixedLength);
  SetHeaderValue<uint16_t>(bh, kBhSamples + 1, o.samplesPerTrace);
  SetHeaderValue<uint16_t>(bh, kBhInterval + 1, o.sampleIntervalUs);
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
    return -101;
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
    return -100;  // out's destructor removes the temporary file
  }
  if (rc < 0 || o.revision > 1) {
    ConsoleRaise();
    return -100;
  }
  Clock::time_point t2 = Clock::now();
  FinishBinaryHeader(o, bh);
  errno = 0;
  if (!WriteFileHeaders(section, bh, extCount, fp)) {
    LogPrint(LogError, "\nERROR: IO error while writing SEG-Y file header");
    LogSystemError(errno > 0 ? errno : EIO, 1);
    return -100;
  }
  Clock::time_point t3 = Clock::now();
  if (out.Commit() != 0) return -100;
  LogSegyTimings(t0, t1, t2, t3, Clock::now());
  return 0;
}

int SaveAsSu(const SeismicSection& section, const std::string& path, SaveOptions& o) {
  Clock::time_point t0 = Clock::now();
  SafeWrite out;
  if (out.Open(path, 131072) != 0) {
    LogPrint(LogError, "\nERROR: Cannot open output SU file '%s'", path.c_str());
    return -101;
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
  if (out.Commit() != 0) return -100;
  Clock::time_point t3 = Clock::now();
  LogPrint(LogError, "SaveAsSU: open file  %.6lfs", Seconds(t0, t1));
  LogPrint(LogError, "          wr traces  %.6lfs", Seconds(t1, t2));
  LogPrint(LogError, "          close      %.6lfs", Seconds(t2, t3));
  LogPrint(LogError, "              TOTAL  %.6lfs", Seconds(t0, t3));
  return 0;
}

void FilterForOutput(const float* in, float* out, int32_t n) {
  RunFilter(ActiveFilter(), in, out, n);
}
