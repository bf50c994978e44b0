#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SegyTestUtil.h"
#include "formats/ProbeFiles.h"
#include "support/ByteWriter.h"
#include "support/LogCapture.h"

using segytest::DataPath;
using segytest::WriteTemp;

namespace {
// The first bytes of a good file: the headers end inside the binary header.
std::string Truncated(const std::string& path, std::size_t bytes) {
  std::vector<uint8_t> all = kxtest::ReadFileBytes(path);
  all.resize(std::min(all.size(), bytes));
  return WriteTemp("cut_" + std::to_string(bytes) + ".sgy", all);
}
}  // namespace

TEST(ProbeFilesTest, FirstFileWithATimedTraceIsFoundAndNothingIsLoggedThen) {
  const std::string good = DataPath("segy/segyio/small.sgy");
  const std::string junk = WriteTemp("junk.sgy", {'n', 'o', ' ', 'd', 'a', 't', 'a'});
  struct Case {
    std::vector<std::string> paths;
    int first;
  };
  const Case cases[] = {
      {{good}, 0},
      {{junk, good}, 1},
      {{DataPath("seg2/seisunix/329.dat")}, 0},
      {{WriteTemp("first.su", kxtest::ReadFileBytes(DataPath("su/obspy/1.su_first_trace")))}, 0},
      {{junk, Truncated(good, 3300), DataPath("segy/segyio/f3.sgy")}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.paths.back());
    kxtest::LogCapture log(LogTrace);
    ProbeResult r = ProbeFileList(c.paths, LoadParams{});
    EXPECT_EQ(r.firstReadable, c.first);
    EXPECT_TRUE(r.reasons.empty());
    // The load that follows logs its own messages; the check adds none.
    EXPECT_EQ(log.Text(), "");
  }
}

TEST(ProbeFilesTest, FilesWithoutDataGiveTheirReasonsAndLogThemAsALoadWould) {
  const std::string good = DataPath("segy/segyio/small.sgy");
  const std::vector<std::string> refused = {
      WriteTemp("garbage.sgy", std::vector<uint8_t>(5000, 0x5A)),
      Truncated(good, 3300),
      Truncated(good, 3600 + 100),  // the first trace header cut
      (segytest::SharedDir() / "missing.sgy").string(),
      DataPath("segd/seisunix/3stomp_test.segd"),
      DataPath("su/segyio/small.su"),  // no sampling interval: only a tolerant read takes it
  };
  for (const std::string& path : refused) {
    SCOPED_TRACE(path);
    kxtest::LogCapture log(LogStep);
    ProbeResult r = ProbeFileList({path}, LoadParams{});
    EXPECT_EQ(r.firstReadable, -1);
    ASSERT_FALSE(r.reasons.empty());
    for (const std::string& reason : r.reasons) {
      EXPECT_EQ(reason.find('\n'), std::string::npos);
      EXPECT_TRUE(log.Contains(reason)) << reason;
    }
  }
  EXPECT_EQ(ProbeFileList({}, LoadParams{}).firstReadable, -1);
}
