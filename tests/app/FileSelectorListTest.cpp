#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/tools/FileSelectorList.h"
#include "support/ByteWriter.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {
struct FilterCase {
  const char* name;
  const char* filter;
  bool listed;
};

std::vector<std::string> Names(const std::vector<FileSelectorEntry>& entries) {
  std::vector<std::string> out;
  for (const FileSelectorEntry& e : entries) out.push_back(e.name);
  return out;
}

// A folder with seismic files among others, two subfolders and a "$" file.
class FileSelectorFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.Ok());
    for (const auto& [name, bytes] : std::vector<std::pair<const char*, std::size_t>>{{"shot10.sgy", 3000},
                                                                                      {"shot2.sgy", 1000},
                                                                                      {"data.su", 2000},
                                                                                      {"notes.txt", 10},
                                                                                      {"$tmp.sgy", 10}})
      kxtest::WriteFileBytes(m_dir / name, std::vector<uint8_t>(bytes, 0));
    fs::create_directory(m_dir / "sub2");
    fs::create_directory(m_dir / "sub");
  }
  std::vector<std::string> Listed(const char* filter, FileSortState state) {
    std::vector<FileSelectorEntry> entries;
    EXPECT_EQ(ListFolderEntries(m_dir.Path(), filter, &entries), 0);
    SortFileEntries(&entries, state);
    return Names(entries);
  }
  kxtest::TempDir m_dir{"kx_selector"};
};
}  // namespace

TEST(FileSelectorList, FilterAndExtensionRules) {
  const FilterCase cases[] = {
      {"shot1.SGY", "*.sgy", true},
      {"x.su.bak", "*.su", false},
      {"a.sux", "*.su", false},
      {"ab", "a?", true},
      {"a", "a?", false},
      {"abcb", "a*b", true},
      {"ac", "a*c", true},
      {"ABC", "a*", true},
      {"\xC3\xBC.su", "?.su", true},
      {"anything", "*", true},
      {"a", "", false},
      {"abc", "a*?*c", true},
      {"shot.SEGY", nullptr, true},
      {"s.sg2", nullptr, true},
      {"s.Dat", nullptr, true},
      {"s.vms", nullptr, true},
      {"s.seg2x", nullptr, false},
      {"notes.txt", nullptr, false},
  };
  for (const FilterCase& c : cases) {
    if (c.filter)
      EXPECT_EQ(MatchesNameFilter(c.name, c.filter), c.listed) << c.name << " / " << c.filter;
    else
      EXPECT_EQ(FileListed(c.name, ""), c.listed) << c.name;
  }
}

TEST_F(FileSelectorFolder, FoldersFirstThenNaturalOrderInBothDirections) {
  EXPECT_EQ(Listed("", FileSortState::kNameAscending),
            (std::vector<std::string>{"..", "sub", "sub2", "data.su", "shot2.sgy", "shot10.sgy"}));
  EXPECT_EQ(Listed("", FileSortState::kNameDescending),
            (std::vector<std::string>{"sub2", "sub", "..", "shot10.sgy", "shot2.sgy", "data.su"}));
  // Folders have no size: they keep their listing order, ".." first.
  std::vector<std::string> bySize = Listed("", FileSortState::kSizeAscending);
  EXPECT_EQ(std::vector<std::string>(bySize.begin() + 3, bySize.end()),
            (std::vector<std::string>{"shot2.sgy", "data.su", "shot10.sgy"}));
  EXPECT_EQ(bySize[0], "..");
  EXPECT_EQ(Listed("*.SU", FileSortState::kNameAscending),
            (std::vector<std::string>{"..", "sub", "sub2", "data.su"}));
  // A dollar name is never listed, whatever the filter.
  EXPECT_EQ(
      Listed("*", FileSortState::kNameAscending),
      (std::vector<std::string>{"..", "sub", "sub2", "data.su", "notes.txt", "shot2.sgy", "shot10.sgy"}));
}

TEST_F(FileSelectorFolder, EntriesCarrySizeTextAndFolderFirstKeys) {
  std::vector<FileSelectorEntry> entries;
  ASSERT_EQ(ListFolderEntries(m_dir.Path(), "shot1*", &entries), 0);
  ASSERT_EQ(entries.size(), 4u);  // "..", two folders, shot10.sgy
  for (const FileSelectorEntry& e : entries) {
    EXPECT_EQ(e.key / 100000, e.folder ? 1 : 2) << e.name;
    EXPECT_EQ(e.sizeText, e.folder ? "" : "0.003 MB") << e.name;
  }
}

TEST_F(FileSelectorFolder, AFolderThatCannotBeListedKeepsTheEntriesAndSaysSo) {
  kxtest::LogCapture log;
  std::vector<FileSelectorEntry> entries{{"old", false, 1, "x", 200000}};
  EXPECT_EQ(ListFolderEntries(m_dir / "missing", "", &entries), -1);
  EXPECT_EQ(Names(entries), std::vector<std::string>{"old"});
  EXPECT_TRUE(log.Contains("ERROR: Cannot list '" + (m_dir / "missing") + "'"));
}

TEST(FileSelectorList, ColumnClicksReverseOrSwitchKeepingTheDirection) {
  using S = FileSortState;
  struct {
    S from;
    int column;
    S to;
  } cases[] = {{S::kNameAscending, kFileColumnName, S::kNameDescending},
               {S::kNameDescending, kFileColumnName, S::kNameAscending},
               {S::kNameDescending, kFileColumnSize, S::kSizeDescending},
               {S::kSizeAscending, kFileColumnName, S::kNameAscending},
               {S::kSizeAscending, kFileColumnSize, S::kSizeDescending}};
  for (const auto& c : cases) EXPECT_EQ(ClickColumn(c.from, c.column), c.to) << c.column;
  EXPECT_EQ(ColumnTitle(kFileColumnName, false), "Filename \u25BC");
  EXPECT_EQ(ColumnTitle(kFileColumnSize, true), "Size \u25B2");
}

TEST(FileSelectorList, SizeRuleNamesAndFolderSteps) {
  EXPECT_TRUE(LoadsOnSelection(500000000));
  EXPECT_FALSE(LoadsOnSelection(500000001));
  EXPECT_FALSE(LoadsOnSelection(2001, 2000));
  // Digit runs longer than the padding stay whole; case and dots do not count.
  EXPECT_EQ(NaturalNameKey("A.1"), "a 0000000000000001");
  EXPECT_EQ(NaturalNameKey("x12345678901234567"), "x12345678901234567");
  EXPECT_EQ(FolderOpenedBy("/data/line1/", ".."), "/data");
  EXPECT_EQ(FolderOpenedBy("/data/line1", ".."), "/data");
  EXPECT_EQ(FolderOpenedBy("/data", "line1"), "/data/line1");
  EXPECT_EQ(FolderOpenedBy("/", ".."), "/");
  EXPECT_EQ(FolderTitle("/data/line.1/"), "line.1");
}
