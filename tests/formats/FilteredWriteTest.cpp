// Writing through the filter, which runs in blocks on a team, gives the same
// file byte for byte as writing traces filtered one at a time beforehand:
// mixed lengths, omitted traces, a crop, and more traces and samples than one
// block holds.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "SegyWriterTestUtil.h"
#include "formats/Seg2Writer.h"
#include "formats/SegyWriter.h"
#include "processing/IIRFilter.h"

using namespace writertest;

namespace {

std::unique_ptr<SeismicSection> MixedSection() {
  auto s = std::make_unique<SeismicSection>();
  for (int k = 0; k < 1100; ++k) {
    TraceRecord* r = MakeTrace(1998 + k % 3, 0.002, 0.0, k);
    for (int32_t i = 0; i < r->NS; ++i)
      r->Samples()[i] = static_cast<float>(100.0 * std::sin(0.05 * i * (1 + k % 7)) + k);
    r->OMIT = k % 97 == 5 ? 1 : 0;
    s->AppendTrace(r, 1, -1);
  }
  s->Scan();
  return s;
}

using Writer = std::function<int(const SeismicSection&, const std::string&, SaveOptions&)>;

}  // namespace

TEST(FilteredWrite, BlocksOnATeamEqualFilteringEachTraceFirst) {
  IIRFilter f = IIRFilterInit();
  f.passType = kBandPass;
  f.NumPole = 7;
  f.bandPassLow = 0.02;
  f.bandPassHigh = 0.3;
  ASSERT_EQ(DesignFilter(f), 0);
  auto section = MixedSection();
  auto prefiltered = MixedSection();
  for (TraceRecord* r : prefiltered->Traces()) RunFilter(f, r->Samples(), r->Samples(), r->NS);

  const std::pair<const char*, Writer> writers[] = {
      {"x.segy", SaveAsSegyRev1}, {"x.su", SaveAsSu}, {"x.seg2", SaveAsSeg2}};
  TempDir dir;
  for (const auto& [name, write] : writers) {
    for (int threads : {1, 2}) {
      SCOPED_TRACE(std::string(name) + " threads " + std::to_string(threads));
      SaveOptions filtered, reference;
      filtered.timeCrop = reference.timeCrop = 1;
      filtered.t0 = reference.t0 = 0.01;
      filtered.t1 = reference.t1 = 3.0;
      filtered.filter = &f;
      filtered.threads = threads;
      ASSERT_EQ(write(*section, dir / "a", filtered), 0);
      ASSERT_EQ(write(*prefiltered, dir / "b", reference), 0);
      std::vector<uint8_t> a = ReadFileBytes(dir / "a"), b = ReadFileBytes(dir / "b");
      EXPECT_GT(a.size(), 1000u * 1400u * 4u);
      EXPECT_TRUE(a == b);
      EXPECT_EQ(filtered.fixedLength, reference.fixedLength);
    }
  }
}
