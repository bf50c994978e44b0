#include "app/SynthSurvey.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "log/Log.h"
#include "log/Status.h"
#include "section/SegyBytePositions.h"
#include "section/SeismicSection.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kOriginX = 512000.0, kOriginY = 6715000.0;
constexpr double kAzimuth = 0.5235987755982988;  // line bearing, 30 degrees from east

struct Event {
  double t0;    // zero-offset time, s (reflections) or 0
  double v;     // velocity, m/s
  double freq;  // peak frequency, Hz
  double amp;
  bool linear;  // linear moveout (direct wave, ground roll) rather than hyperbolic
};

const Event kEvents[] = {
    {0.24, 1850.0, 35.0, 1.0, false}, {0.52, 2150.0, 30.0, -0.7, false}, {0.86, 2500.0, 26.0, 0.55, false},
    {1.25, 2900.0, 22.0, 0.4, false}, {0.0, 1750.0, 40.0, 0.9, true},    {0.02, 380.0, 12.0, 2.5, true},
    {0.03, 300.0, 8.0, 3.0, true},
};

double Ricker(double t, double f) {
  double a = kPi * kPi * f * f * t * t;
  return (1.0 - 2.0 * a) * std::exp(-a);
}

// Adds one event's wavelet around its arrival time.
void AddEvent(float* s, int32_t ns, double dt, const Event& e, double offset) {
  double x = std::fabs(offset);
  double t = e.linear ? e.t0 + x / e.v : std::sqrt(e.t0 * e.t0 + (x * x) / (e.v * e.v));
  double amp = e.amp * (e.linear ? 1.0 / std::sqrt(1.0 + x / 50.0) : 0.3 / std::max(t, 0.1));
  double half = 1.5 / e.freq;
  double a = (t - half) / dt, b = (t + half) / dt + 1.0;
  if (b < 0.0 || a >= ns) return;  // the event misses the trace
  int32_t k0 = a > 0.0 ? static_cast<int32_t>(a) : 0;
  int32_t k1 = b < ns - 1 ? static_cast<int32_t>(b) : ns - 1;
  for (int32_t k = k0; k <= k1; ++k) s[k] += static_cast<float>(amp * Ricker(k * dt - t, e.freq));
}

// Small, fast and seeded: the same survey on every run and platform.
class Noise {
 public:
  explicit Noise(uint32_t seed) : m_state(seed ? seed : 1u) {}
  double Next() {  // roughly normal, unit variance
    double sum = 0.0;
    for (int i = 0; i < 4; ++i) sum += Uniform();
    return (sum - 2.0) * std::sqrt(3.0);
  }

 private:
  double Uniform() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state / 4294967296.0;
  }
  uint32_t m_state;
};

double Elevation(double along) {
  return 120.0 + 6.0 * std::sin(along / 180.0) + 2.0 * std::cos(along / 47.0);
}

// The map position at distance `along` on the bent line: three legs, each a
// third of the spread's whole length.
void CrookedPosition(const SynthParams& p, double along, double* x, double* y) {
  static constexpr double kBearings[3] = {0.5235987755982988, 1.3089969389957472, 0.17453292519943295};
  const double total = (p.shots - 1) * p.shotSpacing + p.nearOffset + (p.channels - 1) * p.receiverSpacing;
  const double leg = std::max(total / 3.0, 1.0);
  double px = kOriginX, py = kOriginY, left = along;
  for (int k = 0; k < 3; ++k) {
    const double step = k == 2 ? left : std::min(left, leg);
    px += step * std::cos(kBearings[k]), py += step * std::sin(kBearings[k]);
    left -= step;
  }
  *x = px, *y = py;
}

void FillCrookedPositions(TraceRecord* r, const SynthParams& p, double xs, double xr) {
  CrookedPosition(p, xs, &r->SX, &r->SY);
  CrookedPosition(p, xr, &r->RX, &r->RY);
  r->CDPX = 0.5 * (r->SX + r->RX), r->CDPY = 0.5 * (r->SY + r->RY);
  r->OFF = static_cast<float>(std::hypot(r->RX - r->SX, r->RY - r->SY));
}

void FillGeometry(TraceRecord* r, const SynthParams& p, int32_t shot, int32_t chan) {
  double xs = shot * p.shotSpacing;
  double xr = xs + p.nearOffset + chan * p.receiverSpacing;
  double xm = 0.5 * (xs + xr);
  double c = std::cos(kAzimuth), s = std::sin(kAzimuth);
  if (p.crooked) {
    FillCrookedPositions(r, p, xs, xr);
  } else {
    r->SX = kOriginX + xs * c, r->SY = kOriginY + xs * s;
    r->RX = kOriginX + xr * c, r->RY = kOriginY + xr * s;
    r->CDPX = kOriginX + xm * c, r->CDPY = kOriginY + xm * s;
    r->OFF = static_cast<float>(xr - xs);
  }
  r->SZ = static_cast<float>(Elevation(xs));
  r->RZ = static_cast<float>(Elevation(xr));
  r->SZDAT = r->RZDAT = 100.0f;
  r->SDEP = 1.5f;
  r->SSTA = 100.0 + xs / p.receiverSpacing;
  r->RSTA = 100.0 + xr / p.receiverSpacing;
  r->SLINE = r->RLINE = 1.0;
  r->CDP = static_cast<int32_t>(std::lround(xm / (0.5 * p.receiverSpacing))) + 1;
  r->XLINE = r->CDP;
  r->ILINE = 1;
  r->CUNIT = 1, r->MSYS = r->MSYS0 = 1;
}

void FillIdentity(TraceRecord* r, const SynthParams& p, int32_t shot, int32_t chan, int32_t index) {
  r->FLDR = 1001 + shot;
  r->CHAN = chan + 1;
  r->TRACF = index + 1;
  r->TRACR = chan + 1;
  r->ESP = static_cast<int32_t>(std::lround(r->SSTA));
  r->TRID = 1, r->NVS = 1, r->NHS = 1, r->DUSE = 1, r->CORR = 1;
  r->IGC = 24;
  r->AAF = static_cast<float>(0.4 / (p.dtMs * 0.001)), r->AAS = 60.0f;
  r->LCF = 4.5f, r->LCS = 12.0f;
  r->YEAR = 2024, r->DAY = 159, r->MONTH = 6, r->MDAY = 7;
  r->HOUR = 10, r->MINUTE = static_cast<uint8_t>((5 + shot * 2) % 60), r->SEC = 9;
}

TraceRecord* MakeTrace(const SynthParams& p, int32_t shot, int32_t chan, int32_t index, Noise& noise) {
  TraceRecord* r = TraceRecord::Allocate(p.samples);
  if (!r) return nullptr;
  r->DT = p.dtMs * 0.001;
  r->DELAY = 0.0;
  FillGeometry(r, p, shot, chan);
  FillIdentity(r, p, shot, chan, index);
  float* s = r->Samples();
  for (const Event& e : kEvents) AddEvent(s, p.samples, r->DT, e, r->OFF);
  for (int32_t k = 0; k < p.samples; ++k) s[k] += static_cast<float>(p.noiseLevel * noise.Next());
  r->UpdatePeak();
  return r;
}

void FillFileHeaders(SeismicSection& section, const SynthParams& p) {
  section.SetDefaultTextualHeader();
  char line[81];
  std::snprintf(line, sizeof line, "C01 KESTRIX SYNTHETIC 2D SURVEY, END-ON SHOT GATHERS");
  std::memcpy(section.m_textualHeader, line, std::strlen(line));
  std::snprintf(line, sizeof line, "C02 %d SHOTS X %d CHANNELS, %d SAMPLES AT %.3f MS", p.shots, p.channels,
                p.samples, p.dtMs);
  std::memcpy(section.m_textualHeader + 80, line, std::strlen(line));
  uint8_t* bh = section.m_binaryHeader;
  std::memset(bh, 0, kBinaryHeaderBytes);
  int32_t one = 1;
  int16_t interval = static_cast<int16_t>(std::min(p.dtMs * 1000.0 + 0.499, 32767.0));
  uint16_t ns = static_cast<uint16_t>(std::min(p.samples, 65535));
  int16_t format = 5, sorting = 1, units = 1, traces = static_cast<int16_t>(std::min(p.channels, 32767));
  std::memcpy(bh + BinaryHeaderOffset(kBhJobId), &one, 4);
  std::memcpy(bh + BinaryHeaderOffset(kBhLineNumber), &one, 4);
  std::memcpy(bh + BinaryHeaderOffset(kBhTracesPerRecord), &traces, 2);
  std::memcpy(bh + BinaryHeaderOffset(kBhInterval), &interval, 2);
  std::memcpy(bh + BinaryHeaderOffset(kBhSamples), &ns, 2);
  std::memcpy(bh + BinaryHeaderOffset(kBhFormat), &format, 2);
  std::memcpy(bh + BinaryHeaderOffset(kBhSorting), &sorting, 2);
  std::memcpy(bh + BinaryHeaderOffset(kBhMeasurementSystem), &units, 2);
  bh[kBfhByteOrderPos] = kLittleEndian;
  bh[kBfhFileTypePos] = kFileSegy;
  section.m_fileName = "synthetic";
}
}  // namespace

int MakeSynthSurvey(SeismicSection& section, const SynthParams& p) {
  if (p.shots < 1 || p.channels < 1 || p.samples < 1 || p.samples > 100000000 || !(p.dtMs > 0.0) ||
      p.dtMs > 1000.0 || static_cast<int64_t>(p.shots) * p.channels > 2147483647) {
    LogPrint(LogError, "\nERROR: unusable synthetic survey parameters");
    return kSynthBadParameters;
  }
  Noise noise(p.seed);
  int32_t index = 0;
  for (int32_t shot = 0; shot < p.shots; ++shot) {
    for (int32_t chan = 0; chan < p.channels; ++chan, ++index) {
      TraceRecord* r = MakeTrace(p, shot, chan, index, noise);
      if (!r) {
        LogPrint(LogError, "\n\nERROR: malloc failure for trace header+data[%u]\n", p.samples);
        return kStatusNoMemory;
      }
      if (section.AppendTrace(r, 1, -1) != 0) return kStatusNoMemory;
    }
  }
  FillFileHeaders(section, p);
  section.Scan();
  return index;
}
