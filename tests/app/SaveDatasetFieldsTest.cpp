// The Save Dataset dialog's fields (reading, bad text cut back, groups that
// are off, mode changes), the save checked before a name is asked for with
// its progress, and the export dialog's reading rule shared with kxtool.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/SaveDataset.h"
#include "app/SavePrep.h"
#include "app/tools/HeaderWordsFields.h"
#include "app/tools/SaveDatasetFields.h"
#include "log/Log.h"
#include "support/LogCapture.h"
#include "support/SectionBuilder.h"
#include "support/TempDir.h"

namespace {
std::unique_ptr<SeismicSection> Lines(int traces) {
  return kxtest::MakeSection(traces, 50, 0.002, {}, 0.0, [](TraceRecord& t, int n) {
    t.XLINE = 100 + n;
    t.ILINE = 7;
    t.OFF = static_cast<float>(10 * n);
  });
}

TEST(SaveDatasetFields, BadTextsCountOnlyInGroupsSwitchedOnAndAreCutBack) {
  auto s = Lines(10);
  SaveParams p;
  ResetSaveParamsFromSection(p, *s);
  SaveDatasetFields f = SaveFieldsFromParams(p);
  EXPECT_EQ(f.rows[0].from, "100");
  EXPECT_EQ(f.rows[0].to, "109");
  EXPECT_EQ(f.timeTo, "98");
  EXPECT_EQ(f.offset, "90");
  struct Case {
    std::function<void(SaveDatasetFields&)> edit;
    int bad;
    std::string SaveDatasetFields::*field;  // a text cut back, when not null
    std::string cut;
  } cases[] = {
      {[](SaveDatasetFields& g) { g.timeFrom = "12x"; }, 0, nullptr, ""},
      {[](SaveDatasetFields& g) { g.timeOn = true, g.timeFrom = "12x"; }, 1, &SaveDatasetFields::timeFrom,
       "12"},
      {[](SaveDatasetFields& g) { g.timeOn = true, g.timeTo = " 40 "; }, 0, nullptr, ""},
      {[](SaveDatasetFields& g) { g.offsetOn = true, g.offset = "0"; }, 1, nullptr, ""},
      {[](SaveDatasetFields& g) { g.offsetOn = true, g.offset = "-5"; }, 1, nullptr, ""},
      {[](SaveDatasetFields& g) { g.offsetOn = true, g.offset = "25m"; }, 1, &SaveDatasetFields::offset,
       "25"},
      {[](SaveDatasetFields& g) { g.traceOn = true, g.rows[0].step = "2.5", g.rows[1].to = "x"; }, 2, nullptr,
       ""},
      {[](SaveDatasetFields& g) { g.traceOn = true, g.rows[0].from = "", g.rows[1].from = "99999999999"; }, 1,
       nullptr, ""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    SaveDatasetFields g = f;
    SaveParams q = p;
    cases[i].edit(g);
    EXPECT_EQ(ReadSaveFields(g, q), cases[i].bad);
    if (cases[i].field) {
      EXPECT_EQ(g.*cases[i].field, cases[i].cut);
    }
  }
  // Empty integer fields are "not given"; a crop read in full keeps every trace it names.
  f.traceOn = true;
  f.rows[0] = {"", "104", "2"};
  ASSERT_EQ(ReadSaveFields(f, p), 0);
  EXPECT_EQ(p.crossline.from, kNotGiven);
  EXPECT_EQ(PrepareSaveSet(*s, p), 3);  // 100, 102, 104: a missing from counts as 0
}

TEST(SaveDatasetFields, ModeChangesKeepEachModesRangesAndShowItsRows) {
  auto s = Lines(4);
  SaveParams p;
  ResetSaveParamsFromSection(p, *s);
  SaveDatasetFields f = SaveFieldsFromParams(p);
  f.rows[0] = {"101", "103", "2"};
  ChangeSaveCropMode(f, p, kCropTraceIndex);
  EXPECT_EQ(f.rows[0].from, "1");
  EXPECT_EQ(f.rows[0].to, "4");
  EXPECT_EQ(f.rows[1].from, "");
  EXPECT_EQ(CropRowsOf(kCropTraceIndex).title2, "");
  EXPECT_FALSE(CropRowsOf(kCropCdpCoord).steps);
  ChangeSaveCropMode(f, p, kCropLines);
  EXPECT_EQ(f.rows[0].from, "101");
  EXPECT_EQ(f.rows[0].step, "2");
  ChangeSaveCropMode(f, p, 42);  // an unknown mode shows the first
  EXPECT_EQ(f.cropMode, kCropLines);
}

TEST(SaveDatasetCheck, RefusalsComeBeforeAnyFileAndTheWriteReportsProgress) {
  kxtest::TempDir dir;
  LogSetThreshold(0);
  auto s = Lines(600);
  SaveParams p;
  ResetSaveParamsFromSection(p, *s);
  p.offsetLimitOn = 1;
  p.offsetLimit = 5.0f;  // keeps the first trace only
  p.format = kSaveSeg2;
  SaveOptions o;
  ASSERT_EQ(CheckSave(*s, p, nullptr, 2, &o).code, 0);
  EXPECT_EQ(o.seg2TraceCount, 1);
  EXPECT_EQ(o.threads, 2);
  p.offsetLimit = 5000.0f;
  for (int32_t format : {kSaveSegy, kSaveSuFormat, kSaveSeg2}) {
    SCOPED_TRACE(format);
    p.format = format;
    std::vector<std::pair<int64_t, int64_t>> calls;
    std::string path = WithSaveExtension(dir / "out", format);
    SaveResult r = SaveDataset(*s, p, path, nullptr, 1,
                               [&](int64_t done, int64_t total) { calls.emplace_back(done, total); });
    ASSERT_EQ(r.code, 0);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front(), std::make_pair(int64_t{0}, int64_t{600}));
    EXPECT_EQ(calls.back(), std::make_pair(int64_t{600}, int64_t{600}));
    for (std::size_t k = 1; k < calls.size(); ++k) EXPECT_GE(calls[k].first, calls[k - 1].first);
  }
  EXPECT_EQ(dir.Files().size(), 3u);
  LogSetThreshold(kLogDefaultThreshold);
  EXPECT_EQ(WithSaveExtension("/a.b/name", kSaveSuFormat), "/a.b/name.su");
  EXPECT_EQ(WithSaveExtension("/a/name.dat", kSaveSeg2), "/a/name.dat");
  EXPECT_EQ(WithSaveExtension("c:\\x.y\\name", kSaveSegy), "c:\\x.y\\name.segy");
}

TEST(HeaderWordsFields, ExportReadingRule) {
  struct Case {
    std::string seismic, text, first, last;
    bool words;
    int errors;
  } cases[] = {
      {"a.sgy", "a.txt", "", "", true, 0},
      {"a.sgy", "a.txt", "3", "3", true, 0},
      {"", "a.txt", "", "", true, kExportPathMissing},
      {"a.sgy", "a.txt", "", "", false, kExportNoWord},
      {"a.sgy", "a.txt", "0", "", true, kExportBadFirst},
      {"a.sgy", "a.txt", "x", "2", true, kExportBadFirst},
      {"a.sgy", "a.txt", "5", "4", true, kExportBadLast},
      {"a.sgy", "a.txt", "", "0", true, kExportBadLast},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first + "|" + c.last);
    ExportFieldTexts t{c.seismic, c.text, ',', c.first, c.last, {}};
    if (!c.words)
      for (int w = 0; w <= kSegyWordSegb; ++w) t.words.Set(w, false);
    HeaderWordsChoices choices;
    std::string log =
        kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(ReadExportFields(t, &choices), c.errors); });
    EXPECT_EQ(log.find("bad parameters in Export SEGY/SU Trace Headers") != std::string::npos, c.errors != 0);
    if (c.errors == 0) {
      EXPECT_EQ(choices.firstTrace, c.first.empty() ? -1 : std::stoi(c.first));
    }
  }
  HeaderWordsChoices choices;
  std::string longPath(600, 'p');
  kxtest::CaptureLog(LogWarning, [&] { EXPECT_FALSE(ReadImportPaths("t.txt", "", &choices)); });
  EXPECT_TRUE(ReadImportPaths(longPath, "s.su", &choices));
  EXPECT_EQ(choices.textPath.size(), kHeaderWordsPathChars);
}
}  // namespace
