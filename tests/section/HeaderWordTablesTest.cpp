#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "section/HeaderLabelTable.h"
#include "section/SegyWordTable.h"
#include "section/SortKeyTable.h"
#include "section/TraceFields.h"

namespace {
// The long labels of a list of label ids ("None" for the header-plot head).
std::vector<std::string> LongLabels(const std::vector<int>& ids) {
  std::vector<std::string> out;
  for (int id : ids) out.push_back(id < 0 ? "None" : FindHeaderLabel(id)->longLabel);
  return out;
}

// The TraceFields entry at a byte offset: the label and sort tables must name
// real fields with their real types.
const TraceField* FieldAt(int32_t offset) {
  for (const TraceField& f : TraceFields())
    if (static_cast<int32_t>(f.offset) == offset) return &f;
  return nullptr;
}
}  // namespace

TEST(HeaderLabelTable, RowsAndSpecialRows) {
  auto rows = HeaderLabelRows();
  ASSERT_EQ(rows.size(), 75u);
  const HeaderLabelRow& first = rows[0];
  EXPECT_STREQ(first.shortLabel, "idx");
  EXPECT_STREQ(first.longLabel, "trace index");
  EXPECT_EQ(first.type, kTypeNone);
  EXPECT_EQ(first.field, -999);
  EXPECT_EQ(first.flags, kLabelHeaderWords);
  const HeaderLabelRow& last = rows[74];
  EXPECT_STREQ(last.shortLabel, "SDIR");
  EXPECT_STREQ(last.longLabel, "strike dir");
  EXPECT_EQ(last.flags, 0);
  EXPECT_EQ(FindHeaderLabel(75), nullptr);
  EXPECT_EQ(FindHeaderLabel(-1), nullptr);

  EXPECT_STREQ(rows[21].shortLabel, "");
  EXPECT_STREQ(rows[21].longLabel, "Coord Units");
  EXPECT_STREQ(rows[23].extraText, " Receiver X  (SX)");
  EXPECT_STREQ(rows[34].extraText, " Source Z  (SZ)");
  EXPECT_STREQ(rows[22].extraText, "");
  EXPECT_STREQ(rows[70].longLabel, "low  cut Hz");  // two blanks, as shown
  EXPECT_STREQ(rows[57].shortLabel, "HMS");
  EXPECT_EQ(rows[57].type, kTypeNone);
  // Uphole times are two fields: plotting RUHT must not show SUHT.
  EXPECT_NE(rows[43].field, rows[44].field);
  EXPECT_EQ(rows[44].field, static_cast<int32_t>(offsetof(TraceRecord, RUHT)));

  std::set<int32_t> seen;
  for (const HeaderLabelRow& r : rows) {
    if (r.type == kTypeNone) continue;
    const TraceField* f = FieldAt(r.field);
    ASSERT_NE(f, nullptr) << "row " << r.id;
    EXPECT_EQ(f->type, r.type) << "row " << r.id << " " << f->name;
    EXPECT_TRUE(seen.insert(r.field).second) << "row " << r.id << " repeats a field";
  }
}

TEST(HeaderLabelTable, ListsFollowTheFlags) {
  std::vector<int> hw = HeaderWordsListIds();
  ASSERT_FALSE(hw.empty());
  EXPECT_EQ(LongLabels(hw).front(), "trace index");
  EXPECT_EQ(hw.size(), 52u);
  for (int id : {2, 21, 49, 50, 51, 54, 58, 74}) EXPECT_EQ(std::count(hw.begin(), hw.end(), id), 0) << id;

  std::vector<int> ti = TraceInfoListIds();
  EXPECT_EQ(ti.front(), 1);
  EXPECT_EQ(ti.back(), 73);
  EXPECT_EQ(ti.size(), 70u);  // rows 1..73 without 2, 3, 4
  EXPECT_EQ(std::count(ti.begin(), ti.end(), 0), 0);

  std::vector<int> hp = HeaderPlotChoiceIds();
  const std::vector<int> expectHp = {-1, 10, 12, 14, 15, 16, 17, 18, 19, 20, 23, 24, 25, 27, 28, 29, 30,
                                     32, 33, 34, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48};
  EXPECT_EQ(hp, expectHp);
  EXPECT_EQ(LongLabels(hp).front(), "None");
  EXPECT_EQ(LongLabels(hp)[1], "Field Rec No");

  // Row 0 carries only the Header Words bit; with the Trace Info bit asked for
  // directly it still does not appear.
  EXPECT_EQ(HeaderLabelIdsWithFlag(kLabelTraceInfo).front(), 1);
  EXPECT_EQ(HeaderLabelIdsWithFlag(kLabelHeaderWords).front(), 0);
}

TEST(HeaderLabelTable, ValuesByType) {
  TraceRecord* t = TraceRecord::Allocate(2);
  t->FLDR = 5000000000LL;
  t->NVS = -3;
  t->CUNIT = 200;
  t->OFF = -12.5f;
  t->SX = 612345.75;
  t->DTID = 70000;
  EXPECT_EQ(HeaderLabelValue(t, *FindHeaderLabel(10)), 5000000000.0);
  EXPECT_EQ(HeaderLabelValue(t, *FindHeaderLabel(14)), -3.0);
  EXPECT_EQ(HeaderLabelValue(t, *FindHeaderLabel(21)), 200.0);  // u8, not sign-extended
  EXPECT_EQ(HeaderLabelValue(t, *FindHeaderLabel(16)), -12.5);
  EXPECT_EQ(HeaderLabelValue(t, *FindHeaderLabel(32)), 612345.75);
  EXPECT_EQ(HeaderLabelValue(t, *FindHeaderLabel(6)), 70000.0);
  EXPECT_FALSE(HeaderLabelValue(t, *FindHeaderLabel(0)).has_value());
  EXPECT_FALSE(HeaderLabelValue(t, *FindHeaderLabel(57)).has_value());
  TraceRecord::Free(t);
}

TEST(SegyWordTable, RowsAsListed) {
  auto rows = SegyWordRows();
  ASSERT_EQ(rows.size(), 93u);
  EXPECT_STREQ(rows[0].mnemonic, "idx");
  EXPECT_STREQ(rows[0].description, "real in-file index");
  EXPECT_STREQ(rows[1].mnemonic, "TRACL");
  EXPECT_STREQ(rows[1].description, "trace sequence number within line");
  EXPECT_STREQ(rows[24].description, "groupe coordinate - X");
  EXPECT_STREQ(rows[39].mnemonic, "NS");
  EXPECT_EQ(rows[39].type, kSegyU16);
  EXPECT_EQ(rows[39].firstByte, 115);
  EXPECT_STREQ(rows[68].description,
               "Geophone group number of trace number one within original field record");
  EXPECT_STREQ(rows[72].mnemonic, "CDPX");
  EXPECT_EQ(rows[72].firstByte, 181);
  EXPECT_EQ(rows[72].lastByte, 184);
  EXPECT_STREQ(rows[90].mnemonic, "SMUN");
  EXPECT_EQ(rows[90].lastByte, 232);
  EXPECT_STREQ(rows[91].description, "SEG0 tag");
  EXPECT_STREQ(rows[92].mnemonic, "SEGB");
  EXPECT_STREQ(rows[92].description, "0000 tag");
  int u16 = 0;
  for (const SegyWordRow& r : rows) u16 += r.type == kSegyU16;
  EXPECT_EQ(u16, 1);  // NS is the only unsigned word
}

class SegyWordOrder : public ::testing::TestWithParam<bool> {};

TEST_P(SegyWordOrder, GetAndSetTouchOnlyTheWordBytes) {
  const bool big = GetParam();
  uint8_t h[240];
  std::memset(h, 0xA5, sizeof h);
  SegyWordSet(h, 8, 2, big);  // TRID, bytes 29-30
  for (int i = 0; i < 240; ++i) {
    if (i == 28 || i == 29) continue;
    ASSERT_EQ(h[i], 0xA5) << "byte " << i + 1;
  }
  EXPECT_EQ(h[big ? 29 : 28], 2);
  EXPECT_EQ(h[big ? 28 : 29], 0);
  EXPECT_EQ(SegyWordGet(h, 8, big), 2);

  SegyWordSet(h, 9, -7, big);  // NVS, bytes 31-32
  EXPECT_EQ(SegyWordGet(h, 9, big), -7);
  EXPECT_EQ(SegyWordGet(h, 8, big), 2);

  SegyWordSet(h, 1, -123456789, big);
  EXPECT_EQ(SegyWordGet(h, 1, big), -123456789);
  EXPECT_EQ(h[big ? 0 : 3], 0xF8);  // most significant byte of 0xF8A432EB

  SegyWordSet(h, 39, 40000, big);  // NS is unsigned
  EXPECT_EQ(SegyWordGet(h, 39, big), 40000);
  SegyWordSet(h, 40, 0xFFFF, big);  // DT is signed
  EXPECT_EQ(SegyWordGet(h, 40, big), -1);
  SegyWordSet(h, 40, 0x12345, big);  // only the low 16 bits are stored
  EXPECT_EQ(SegyWordGet(h, 40, big), 0x2345);
  EXPECT_EQ(SegyWordGet(h, 41, big), static_cast<int16_t>(0xA5A5));  // GAIN untouched

  SegyWordSet(h, 90, 3, big);
  EXPECT_EQ(SegyWordGet(h, 90, big), 3);
  EXPECT_EQ(h[big ? 231 : 230], 3);
}

TEST_P(SegyWordOrder, TagWordsAndOutOfRangeNumbersAreInert) {
  const bool big = GetParam();
  uint8_t h[240];
  std::memset(h, 0x11, sizeof h);
  std::memcpy(h + 232, "SEG00000", 8);
  uint8_t before[240];
  std::memcpy(before, h, sizeof h);
  for (int word : {0, 91, 92, 93, -1}) {
    EXPECT_EQ(SegyWordGet(h, word, big), 0) << word;
    SegyWordSet(h, word, 77, big);
  }
  EXPECT_EQ(std::memcmp(before, h, sizeof h), 0);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, SegyWordOrder, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Big" : "Little"; });

TEST(SegyWordTable, HostOrderMatchesTheExplicitOrder) {
  uint8_t h[240] = {};
  SegyWordSet(h, 39, 40000);
  EXPECT_EQ(SegyWordGet(h, 39, !kHostLittleEndian), 40000);
  uint16_t raw;
  std::memcpy(&raw, h + 114, 2);
  EXPECT_EQ(raw, 40000);
}

TEST(SegyWordTable, LookupIgnoresCaseAndNeedsWholeMnemonic) {
  EXPECT_EQ(SegyWordLookup("cdp"), 6);
  EXPECT_EQ(SegyWordLookup("CDP"), 6);
  EXPECT_EQ(SegyWordLookup("CdPx"), 72);
  EXPECT_EQ(SegyWordLookup("SEGA"), 91);
  EXPECT_EQ(SegyWordLookup("segb"), 92);
  EXPECT_EQ(SegyWordLookup("TRACL"), 1);
  EXPECT_EQ(SegyWordLookup("smun"), 90);
  EXPECT_EQ(SegyWordLookup("ETRACL"), 0);
  EXPECT_EQ(SegyWordLookup("TRAC"), 0);
  EXPECT_EQ(SegyWordLookup("TRACLX"), 0);
  EXPECT_EQ(SegyWordLookup("idx"), 0);
  EXPECT_EQ(SegyWordLookup(""), 0);
}

TEST(SegyWordTable, SelectionStartsWithAllButTheTags) {
  SegyWordSelection s;
  for (int w = 0; w <= 90; ++w) EXPECT_TRUE(s.Selected(w)) << w;
  EXPECT_FALSE(s.Selected(91));
  EXPECT_FALSE(s.Selected(92));
  EXPECT_FALSE(s.Selected(93));
  s.Set(8, false);
  s.Set(91, true);
  s.Set(93, true);
  EXPECT_FALSE(s.Selected(8));
  EXPECT_TRUE(s.Selected(91));
  EXPECT_FALSE(s.Selected(93));
  EXPECT_TRUE(SegyWordSelection().Selected(8));
}

TEST(SortKeyTable, RowsAndValues) {
  auto rows = SortKeyRows();
  ASSERT_EQ(rows.size(), 26u);
  EXPECT_STREQ(rows[0].label, " None");
  EXPECT_EQ(rows[0].type, kTypeNone);
  EXPECT_STREQ(rows[4].label, " TraceSeq FFID  (TRACF)");
  EXPECT_EQ(rows[4].field, static_cast<int32_t>(offsetof(TraceRecord, CHAN)));
  EXPECT_STREQ(rows[10].label, " |offset| Class (OFFSET)");
  EXPECT_STREQ(rows[22].label, " Rceiver Depth (RDEP)");
  EXPECT_STREQ(rows[25].label, " x Line");
  for (const SortKeyRow& r : rows) {
    if (r.type == kTypeNone || r.id == kSortKeyXLineFloat) continue;
    const TraceField* f = FieldAt(r.field);
    ASSERT_NE(f, nullptr) << r.id;
    EXPECT_EQ(f->type, r.type) << r.id;
  }

  TraceRecord* t = TraceRecord::Allocate(2);
  t->XLINE = 0x3F800000;  // the bits of 1.0f
  t->FLDR = -4;
  t->SDIR = 2;
  EXPECT_EQ(SortKeyValue(t, rows[25]), 1.0);
  EXPECT_EQ(SortKeyValue(t, rows[2]), 1065353216.0);
  EXPECT_EQ(SortKeyValue(t, rows[3]), -4.0);
  EXPECT_EQ(SortKeyValue(t, rows[23]), 2.0);
  EXPECT_FALSE(SortKeyValue(t, rows[0]).has_value());
  TraceRecord::Free(t);
}
