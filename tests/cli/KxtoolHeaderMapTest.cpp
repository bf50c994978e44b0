// kxtool --map and --map-file: words read from other bytes by every loading
// command, and bad maps refused as bad usage (exit status 2) with the reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/TempDir.h"
#include "support/ToolRun.h"

namespace {
using kxtest::ToolRun;

// Standard output and standard error together.
ToolRun Tool(const std::string& args) {
  return kxtest::RunCommand(std::string(KX_KXTOOL) + " " + args + " 2>&1");
}

// A revision-0 file that keeps in-line numbers 1..5 in bytes 189-192, which
// revision 0 leaves undefined (read as 0), and no ensemble numbers.
std::string Small() {
  return std::string(KX_TEST_DATA_DIR) + "/segy/segyio/small.sgy";
}

bool Has(const std::string& text, const std::string& needle) {
  return text.find(needle) != std::string::npos;
}

TEST(KxtoolHeaderMap, MapAndMapFileReadTheEnsembleFromTheInlineBytes) {
  kxtest::TempDir dir("kx_cli_map");
  std::string file = dir.File("map.txt");
  std::ofstream(file) << "# small.sgy keeps its ensembles in the in-line bytes\n\n  CDP = 189 : i32  # 3D\n";
  const std::string fields = " --fields CDP,ILINE --from 10 --to 10 ";
  ToolRun plain = Tool("traces" + fields + Small());
  ASSERT_EQ(plain.status, 0) << plain.out;
  EXPECT_TRUE(Has(plain.out, "\"CDP\": 0, \"ILINE\": 0")) << plain.out;
  for (const std::string& option :
       {std::string("--map CDP=189:i32"), "--map-file " + file, std::string("--map=cdp=189:I32")}) {
    ToolRun r = Tool("traces" + fields + option + " " + Small());
    ASSERT_EQ(r.status, 0) << option << r.out;
    EXPECT_TRUE(Has(r.out, "\"CDP\": 3, \"ILINE\": 0")) << option << r.out;
  }
  ToolRun info = Tool("info --map-file " + file + " " + Small());
  EXPECT_TRUE(Has(info.out, " Header map   : CDP=189:i32")) << info.out;
  EXPECT_TRUE(Has(Tool("help").out, "--map WORD=BYTE:TYPE"));
  EXPECT_TRUE(Has(Tool("help").out, "--map-file F"));
}

TEST(KxtoolHeaderMap, BadMapsAreBadUsage) {
  kxtest::TempDir dir("kx_cli_badmap");
  std::string file = dir.File("bad.txt");
  std::ofstream(file) << "CDP=189:i32\n# next one is wrong\nSX=181\n";
  struct Case {
    std::string options;
    const char* message;
  };
  const Case cases[] = {
      {"--map CDPX=239:i32",
       "ERROR: --map: \"CDPX=239:i32\": bytes 239-242 are outside the 240-byte trace header"},
      {"--map FOO=189:i32", "no trace header word named \"FOO\""},
      {"--map-file " + file, "bad.txt line 3: \"SX=181\" is not WORD=BYTE:TYPE"},
      {"--map-file " + dir.File("none.txt"), "cannot read the map file"},
  };
  for (const Case& c : cases) {
    ToolRun r = Tool("info " + c.options + " " + Small());
    EXPECT_EQ(r.status, 2) << c.options;
    EXPECT_TRUE(Has(r.out, c.message)) << c.options << "\n" << r.out;
  }
}
}  // namespace
