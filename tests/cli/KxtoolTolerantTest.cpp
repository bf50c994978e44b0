// kxtool's tolerant reading options: accepted by the commands that load files, listed in help.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "support/ToolRun.h"

namespace {
using kxtest::ToolRun;

// Standard output and standard error together.
ToolRun Tool(const std::string& args) {
  return kxtest::RunCommand(std::string(KX_KXTOOL) + " " + args + " 2>&1");
}

bool Has(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

const std::string kSmallSu = std::string(KX_TEST_DATA_DIR) + "/su/segyio/small.su";
}  // namespace

TEST(KxtoolTolerant, OptionsOpenWhatStrictReadingRefuses) {
  struct Case {
    const char* args;
    int status;
    const char* wants;
  };
  const Case cases[] = {
      {"info --json", 1, "NO SEISMIC DATA loaded"},
      {"info --json --tolerant", 0, "\"min_dt\": 0.004"},
      {"info --tolerant --json --dt-us 2000", 0, "\"min_dt\": 0.002"},
      {"info --json --tolerant --dt-us=500", 0, "\"min_dt\": 0.0005"},
      {"traces --tolerant --from 2 --to 2 --samples 2", 0, "{\"index\": 2, \"ns\": 50, \"dt\": 0.004"},
      {"info --json --dt-us 2000", 2, "--dt-us applies to tolerant reading: add --tolerant"},
      {"info --json --tolerant --dt-us -5", 2, "--dt-us must be a positive number of microseconds"},
  };
  for (const Case& c : cases) {
    ToolRun r = Tool(std::string(c.args) + " " + kSmallSu);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
    EXPECT_TRUE(Has(r.out, c.wants)) << c.args << "\n" << r.out;
  }
}

TEST(KxtoolTolerant, HelpAndReadmeListTheOptions) {
  ToolRun r = Tool("help");
  EXPECT_TRUE(Has(r.out, "  --tolerant  ")) << r.out;
  EXPECT_TRUE(Has(r.out, "  --dt-us N  ")) << r.out;
  std::ifstream in(std::string(KX_SOURCE_DIR) + "/README.md");
  std::string readme(std::istreambuf_iterator<char>(in), {});
  EXPECT_TRUE(Has(readme, "`--tolerant`") && Has(readme, "`--dt-us N`"));
}
