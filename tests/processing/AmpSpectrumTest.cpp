#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "PythonOracle.h"
#include "processing/ActiveFilter.h"
#include "processing/AmpSpectrum.h"
#include "processing/IIRFilter.h"
#include "section/SeismicSection.h"
#include "support/PeerCheck.h"
#include "support/SectionBuilder.h"
#include "support/TempDir.h"

namespace {

// Appends a trace of n samples at interval dt, filled by fn(i).
template <typename Fn>
void AddTrace(SeismicSection& s, int n, double dt, Fn fn, double delay = 0.0) {
  ASSERT_NE(kxtest::AddTrace(s, n, dt, delay, [&](int, int i) { return static_cast<float>(fn(i)); }),
            nullptr);
}

void AddNoise(SeismicSection& s, int traces, int n, unsigned seed, double dt = 0.001) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> g(0.0, 1.0);
  for (int t = 0; t < traces; ++t) AddTrace(s, n, dt, [&](int) { return g(rng) * (t + 1); });
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST(AmpSpectrum, TransformLengthAndFrequencyStep) {
  IIRFilter f = IIRFilterInit();
  AmpSpectrum sp;
  ASSERT_EQ(sp.Initialize(1000, 0.001, "t", f), 0);
  EXPECT_EQ(sp.N(), 1024);
  EXPECT_DOUBLE_EQ(sp.Nyquist(), 500.0);
  EXPECT_EQ(sp.UnitName(), "Hz");
  ASSERT_EQ(sp.Initialize(1024, 0.001, "t", f), 0);
  EXPECT_EQ(sp.N(), 1024);
  ASSERT_EQ(sp.Initialize(1, 0.001, "t", f), 0);
  EXPECT_EQ(sp.N(), 2);
  EXPECT_EQ(sp.Initialize(100, 0.0, "t", f), -1);

  SeismicSection s;
  AddTrace(s, 1000, 0.001, [](int i) { return std::sin(i * 0.3); });
  ASSERT_EQ(sp.Initialize(s, f), 0);
  ASSERT_EQ(sp.ComputeTraceSpectrum(s, 0, f), 0);
  const auto& pts = sp.Curve(AmpSpectrum::kTraceCurve).points;
  ASSERT_EQ(pts.size(), 512u);
  EXPECT_FLOAT_EQ(pts[1].x, static_cast<float>(1 / 1.024));
  EXPECT_FLOAT_EQ(pts[511].x, static_cast<float>(511 / 1.024));
}

TEST(AmpSpectrum, CursorReadoutAndAxisTargets) {
  IIRFilter f = IIRFilterInit();
  AmpSpectrum sp;
  ASSERT_EQ(sp.Initialize(1000, 0.001, "t", f), 0);
  EXPECT_EQ(sp.CursorReadout(123.44, 0.5), "  123.4 Hz   Amp 0.500");
  EXPECT_EQ(sp.CursorReadout(900.0, 1.7), "  500.0 Hz   Amp 1.000");  // limited to the axes
  EXPECT_EQ(sp.CursorReadout(0.0, 0.5), "");
  EXPECT_EQ(sp.CursorReadout(100.0, 0.0), "");
  EXPECT_EQ(sp.YTargetIntervals(), 5);
  sp.SetDbOption(true);
  EXPECT_EQ(sp.YTargetIntervals(), 6);
  EXPECT_EQ(sp.CursorReadout(100.0, -200.0), "  100.0 Hz   Amp -120.000");
  sp.SetDbOption(false);
  ASSERT_EQ(sp.Initialize(1000, 1e-6, "t", f), 0);  // Nyquist 500 kHz
  EXPECT_EQ(sp.CursorReadout(250000.0, 0.25), "  250.0 KHz   Amp 0.250");
}

TEST(AmpSpectrum, FrequencyUnitFollowsNyquist) {
  double factor = 0;
  std::string name;
  AmpSpectrum::ChooseFrequencyUnit(99999.0, &factor, &name);
  EXPECT_EQ(name, "Hz");
  AmpSpectrum::ChooseFrequencyUnit(1e5, &factor, &name);
  EXPECT_EQ(name, "KHz");
  EXPECT_DOUBLE_EQ(factor, 0.001);
  AmpSpectrum::ChooseFrequencyUnit(1e8, &factor, &name);
  EXPECT_EQ(name, "MHz");
  EXPECT_DOUBLE_EQ(factor, 0.000001);
}

TEST(AmpSpectrum, ConstantTraceCurveAndDecibels) {
  SeismicSection s;
  AddTrace(s, 1024, 0.002, [](int) { return -3.0; });
  IIRFilter f = IIRFilterInit();
  AmpSpectrum sp;
  ASSERT_EQ(sp.Initialize(s, f), 0);
  ASSERT_EQ(sp.ComputeTraceSpectrum(s, 0, f), 0);
  EXPECT_FLOAT_EQ(sp.TraceSpectrum()[0], 1024 * 3.0f / 2);
  EXPECT_FLOAT_EQ(sp.TracePeak(), 1024 * 3.0f / 2);
  const auto& lin = sp.Curve(AmpSpectrum::kTraceCurve).points;
  EXPECT_FLOAT_EQ(lin[0].y, 1.0f);
  for (std::size_t i = 1; i < lin.size(); ++i) ASSERT_EQ(lin[i].y, 0.0f) << i;
  sp.SetDbOption(true);
  const auto& db = sp.Curve(AmpSpectrum::kTraceCurve).points;
  EXPECT_FLOAT_EQ(db[0].y, 0.0f);
  for (std::size_t i = 1; i < db.size(); ++i) ASSERT_EQ(db[i].y, -120.0f) << i;
  EXPECT_EQ(sp.YMin(), -120.0);
  EXPECT_EQ(sp.YMax(), 0.0);
}

TEST(AmpSpectrum, BuildCurveRules) {
  std::vector<float> amp = {2.0f, 1.0f, 0.0f, 0.5f};
  auto lin = AmpSpectrum::BuildCurve(amp, 2.0f, 0.5, false, -120.0f);
  ASSERT_EQ(lin.size(), 4u);
  EXPECT_FLOAT_EQ(lin[3].x, 1.5f);
  EXPECT_FLOAT_EQ(lin[1].y, 0.5f);
  auto db = AmpSpectrum::BuildCurve(amp, 2.0f, 0.5, true, -120.0f);
  EXPECT_NEAR(db[1].y, -6.0206f, 1e-4f);
  EXPECT_EQ(db[2].y, -120.0f);
  EXPECT_TRUE(AmpSpectrum::BuildCurve(amp, 0.0f, 0.5, false, -120.0f).empty());
  EXPECT_EQ(AmpSpectrum::Peak({}), -1e37f);
}

TEST(AmpSpectrum, WholeSectionIsTheSumOfPeakScaledTraceSpectra) {
  SeismicSection s;
  AddNoise(s, 37, 700, 3);
  AmpSpectrum sp;
  IIRFilter f = IIRFilterInit();
  ASSERT_EQ(sp.Initialize(s, f), 0);
  sp.SetWholeOption(true);
  ASSERT_EQ(sp.ComputeWholeSpectrum(s, 2), 0);
  FFTSG fft;
  fft.Initialize(700);
  std::vector<float> sum(512, 0.0f);
  std::vector<double> work(1024);
  for (int t = 0; t < s.Count(); ++t) {
    std::vector<float> one(512, 0.0f);
    fft.AccumulateSpectrum(s.Trace(t)->Samples(), 700, work.data(), one.data(), s.Trace(t)->AMAX);
    for (int k = 0; k < 512; ++k) sum[k] += one[k];
  }
  for (int k = 0; k < 512; ++k) ASSERT_NEAR(sp.WholeSpectrum()[k], sum[k], 1e-4f * sum[k] + 1e-6f) << k;
  EXPECT_TRUE(sp.Curve(AmpSpectrum::kWholeCurve).visible);
  EXPECT_FLOAT_EQ(sp.Curve(AmpSpectrum::kWholeCurve).points[1].x, static_cast<float>(1.0 / 1.024));
}

TEST(AmpSpectrum, WholeSectionIsIdenticalForAnyTeamAndIgnoresDeadTraces) {
  SeismicSection a, b;
  AddNoise(a, 41, 500, 9);
  AddNoise(b, 41, 500, 9);
  for (int i = 0; i < 5; ++i) AddTrace(b, 500, 0.001, [](int) { return 0.0; });
  IIRFilter f = IIRFilterInit();
  AmpSpectrum one, two, dead;
  one.Initialize(a, f);
  two.Initialize(a, f);
  dead.Initialize(b, f);
  ASSERT_EQ(one.ComputeWholeSpectrum(a, 1), 0);
  ASSERT_EQ(two.ComputeWholeSpectrum(a, 2), 0);
  ASSERT_EQ(dead.ComputeWholeSpectrum(b, 2), 0);
  EXPECT_EQ(one.LastTeamSize(), 1);
  EXPECT_EQ(two.LastTeamSize(), 2);
  EXPECT_TRUE(SameBits(one.WholeSpectrum(), two.WholeSpectrum()));
  // Dead traces add nothing (they move the block boundaries, hence rounding only).
  for (std::size_t k = 0; k < one.WholeSpectrum().size(); ++k)
    ASSERT_NEAR(dead.WholeSpectrum()[k], one.WholeSpectrum()[k], 1e-6f * one.WholeSpectrum()[k]) << k;
  // The team never exceeds the trace count.
  SeismicSection single;
  AddNoise(single, 1, 100, 1);
  AmpSpectrum sp;
  sp.Initialize(single, f);
  ASSERT_EQ(sp.ComputeWholeSpectrum(single, 8), 0);
  EXPECT_EQ(sp.LastTeamSize(), 1);
}

TEST(AmpSpectrum, WholeSectionIsCachedUntilTheDatasetChanges) {
  SeismicSection s;
  AddNoise(s, 10, 256, 5);
  IIRFilter f = IIRFilterInit();
  AmpSpectrum sp;
  sp.Initialize(s, f);
  sp.SetWholeOption(true);
  ASSERT_EQ(sp.ComputeWholeSpectrum(s, 2), 0);
  std::vector<float> first = sp.WholeSpectrum();
  EXPECT_FALSE(sp.WholeDirty());
  // Change the data behind its back: option off and on again does not recompute.
  for (int i = 0; i < 256; ++i) s.Trace(0)->Samples()[i] = static_cast<float>(i % 7);
  s.Trace(0)->UpdatePeak();
  sp.SetWholeOption(false);
  EXPECT_FALSE(sp.Curve(AmpSpectrum::kWholeCurve).visible);
  sp.SetWholeOption(true);
  ASSERT_EQ(sp.ComputeWholeSpectrum(s, 2), 0);
  EXPECT_TRUE(SameBits(first, sp.WholeSpectrum()));
  // A new dataset (reset, initialise) does.
  sp.Reset();
  EXPECT_FALSE(sp.IsInitialized());
  sp.Initialize(s, f);
  ASSERT_EQ(sp.ComputeWholeSpectrum(s, 2), 0);
  EXPECT_FALSE(SameBits(first, sp.WholeSpectrum()));
}

TEST(AmpSpectrum, RangeSpectrumUsesTheTraceWindow) {
  SeismicSection s;
  AddNoise(s, 8, 400, 13, 0.002);
  IIRFilter f = IIRFilterInit();
  AmpSpectrum sp;
  sp.Initialize(s, f);
  sp.SetRangeOption(true);
  // Traces 2..5 (0-based 1..4), 0.101 s .. 0.5 s: samples round(50.5) = 51 .. 250.
  ASSERT_TRUE(sp.SetRange(1, 4, 0.101, 0.5));
  ASSERT_EQ(sp.ComputeRangeSpectrum(s, 2), 0);
  FFTSG fft;
  fft.Initialize(400);
  std::vector<float> want(256, 0.0f);
  std::vector<double> work(512);
  for (int t = 1; t <= 4; ++t)
    fft.AccumulateSpectrum(s.Trace(t)->Samples() + 51, 200, work.data(), want.data(), s.Trace(t)->AMAX);
  ASSERT_EQ(sp.RangeSpectrum().size(), want.size());
  for (std::size_t k = 0; k < want.size(); ++k) ASSERT_NEAR(sp.RangeSpectrum()[k], want[k], 1e-4f * want[k]);
  EXPECT_FALSE(sp.SetRange(1, 4, 0.101, 0.5));  // unchanged: not dirty
  EXPECT_TRUE(sp.Curve(AmpSpectrum::kRangeCurve).visible);
}

TEST(AmpSpectrum, FilteredCurveIsRelativeToTheRawPeak) {
  SeismicSection s;
  // Bins 41 and 614 (20.0 and 299.8 Hz at 1 ms): the low-pass at 100 Hz keeps the first.
  const int k20 = 41, k300 = 614;
  AddTrace(s, 2048, 0.001, [&](int i) {
    return std::sin(2 * M_PI * k20 * i / 2048.0) + std::sin(2 * M_PI * k300 * i / 2048.0);
  });
  IIRFilter f = IIRFilterInit();
  UpdateFilterNyquist(f, 0.001);
  f.lowPassCutoff = 0.2;
  DesignFilter(f);
  AmpSpectrum sp;
  sp.Initialize(s, f);
  sp.SetFilteredOption(true);
  ASSERT_EQ(sp.SelectTrace(s, 0, f, true), 0);
  const auto& raw = sp.Curve(AmpSpectrum::kTraceCurve).points;
  const auto& filt = sp.Curve(AmpSpectrum::kFilteredCurve).points;
  ASSERT_EQ(raw.size(), 1024u);
  ASSERT_EQ(filt.size(), 1024u);
  EXPECT_NEAR(filt[k20].y, raw[k20].y, 0.01f);
  EXPECT_LT(filt[k300].y, 1e-3f * raw[k300].y);  // what is left is the end transients
  EXPECT_GT(raw[k300].y, 0.5f);
  // A redesigned filter recomputes the filtered curve on the next selection.
  std::vector<float> before = sp.FilteredSpectrum();
  f.lowPassCutoff = 0.9;
  DesignFilter(f);
  sp.FilterChanged(f);
  EXPECT_FLOAT_EQ(sp.Curve(AmpSpectrum::kPassBandCurve).points[1].x, 450.0f);
  ASSERT_EQ(sp.SelectTrace(s, 0, f, true), 0);
  EXPECT_GT(sp.FilteredSpectrum()[k300], 100 * before[k300]);
  EXPECT_EQ(sp.SelectTrace(s, 0, f, true), 0);
  EXPECT_EQ(sp.SelectTrace(s, 3, f, true), -1);
  EXPECT_EQ(sp.CurrentTrace(), 0);
}

TEST(AmpSpectrum, PassBandCurveFollowsThePassType) {
  IIRFilter f = IIRFilterInit();
  f.Nyquist = 250.0;
  AmpSpectrum sp;
  auto band = [&](int type) {
    f.passType = type;
    sp.UpdatePassBand(f);
    const auto& p = sp.Curve(AmpSpectrum::kPassBandCurve).points;
    EXPECT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].y, 1.0f);
    return std::make_pair(p[0].x, p[1].x);
  };
  EXPECT_EQ(band(kLowPass), std::make_pair(0.0f, 175.0f));
  EXPECT_EQ(band(kHighPass), std::make_pair(12.5f, 250.0f));
  EXPECT_EQ(band(kBandPass), std::make_pair(12.5f, 175.0f));
  auto notch = band(kNotch);
  EXPECT_FLOAT_EQ(notch.first, 125.0f - 0.3125f);
  EXPECT_FLOAT_EQ(notch.second, 125.0f + 0.3125f);
}

TEST(AmpSpectrum, WholeSpectrumMatchesNumpy) {
  KX_REQUIRE_PYTHON("numpy, scipy.signal");
  SeismicSection s;
  AddNoise(s, 30, 900, 21);
  AddTrace(s, 900, 0.001, [](int) { return 0.0; });
  IIRFilter f = IIRFilterInit();
  AmpSpectrum sp;
  sp.Initialize(s, f);
  ASSERT_EQ(sp.ComputeWholeSpectrum(s, 2), 0);
  kxtest::TempDir dir;
  {
    std::ofstream out(dir.File("x.bin"), std::ios::binary);
    for (int t = 0; t < s.Count(); ++t)
      out.write(reinterpret_cast<const char*>(s.Trace(t)->Samples()), 900 * sizeof(float));
  }
  std::string py =
      "import numpy as np,sys; x=np.fromfile(sys.argv[1],dtype='<f4').reshape(-1,900).astype(np.float64); "
      "a=np.abs(x).max(axis=1); x=x[a>0]/a[a>0,None]; m=np.abs(np.fft.rfft(x,n=1024,axis=1)); "
      "m[:,0]/=2; m[:,:512].sum(axis=0).astype('<f8').tofile(sys.argv[2])";
  std::string cmd = "/usr/bin/python3 -c \"" + py + "\" " + dir.File("x.bin") + " " + dir.File("y.bin");
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::ifstream in(dir.File("y.bin"), std::ios::binary);
  std::vector<double> ref(512);
  in.read(reinterpret_cast<char*>(ref.data()), 512 * sizeof(double));
  ASSERT_TRUE(in);
  for (int k = 0; k < 512; ++k) ASSERT_NEAR(sp.WholeSpectrum()[k], ref[k], 2e-6 * ref[k] + 1e-6) << k;
}

}  // namespace
