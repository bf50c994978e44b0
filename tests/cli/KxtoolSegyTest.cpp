// kxtool info, traces and dump on real and generated files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
struct ToolRun {
  int status;
  std::string out;
};

ToolRun Tool(const std::string& args) {
  std::string cmd = std::string(KX_KXTOOL) + " " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  std::array<char, 65536> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  int rc = pclose(p);
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

std::string Data(const std::string& rel) {
  return std::string(KX_TEST_DATA_DIR) + "/" + rel;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> v;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    v.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return v;
}

bool Has(const std::string& text, const std::string& needle) {
  return text.find(needle) != std::string::npos;
}
}  // namespace

TEST(KxtoolInfo, JsonFactsOfOneAndSeveralFiles) {
  ToolRun r = Tool("info --json " + Data("segy/segyio/small-lsb.sgy"));
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(Has(r.out, "\"traces\": 25")) << r.out;
  EXPECT_TRUE(Has(r.out, "\"file_type\": 1"));
  EXPECT_TRUE(Has(r.out, "\"revision\": \"0.0\""));
  EXPECT_TRUE(Has(r.out, "\"byte_order\": \"little\""));
  EXPECT_TRUE(Has(r.out, "\"format_code\": 1"));
  EXPECT_TRUE(Has(r.out, "\"fixed_length\": true"));
  EXPECT_TRUE(Has(r.out, "\"max_samples\": 50"));
  EXPECT_TRUE(Has(r.out, "\"min_dt\": 0.004"));
  EXPECT_TRUE(Has(r.out, "\"max_time\": 0.196"));
  EXPECT_TRUE(Has(r.out, "\"unknown\": 25"));
  EXPECT_TRUE(Has(r.out, "\"time_unit\": \"ms\""));

  ToolRun two = Tool("info --json " + Data("segy/segyio/f3.sgy") + " " + Data("segy/segyio/small.sgy"));
  ASSERT_EQ(two.status, 0);
  EXPECT_TRUE(Has(two.out, "\"traces\": 439")) << two.out;
  EXPECT_TRUE(Has(two.out, "\"revision\": \"1.0\"")) << "the first file's headers";
  EXPECT_TRUE(Has(two.out, "\"format_code\": 3"));
  EXPECT_TRUE(Has(two.out, "\"fixed_length\": false"));

  ToolRun text = Tool("info " + Data("segy/segyio/small.sgy"));
  EXPECT_EQ(text.status, 0);
  EXPECT_FALSE(text.out.empty());
  EXPECT_NE(Tool("info " + Data("segy/segyio/Format4msb.sgy")).status, 0) << "format 4 is refused";
  EXPECT_NE(Tool("info --bogus " + Data("segy/segyio/small.sgy")).status, 0);
  EXPECT_NE(Tool("info").status, 0);
}

TEST(KxtoolTraces, JsonLinesWithFieldsAndSamples) {
  ToolRun r = Tool("traces --from 1 --to 2 --fields fldr,CHAN,OFF,TRF,DELAY --samples 3 " +
                   Data("segy/segyio/small.sgy") + " " + Data("segy/segyio/small-lsb.sgy"));
  ASSERT_EQ(r.status, 0);
  auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 2u) << r.out;
  EXPECT_EQ(lines[0],
            "{\"index\": 1, \"ns\": 50, \"dt\": 0.0040000000000000001, \"delay\": 0, \"amax\": 1.21048927, "
            "\"fields\": {\"FLDR\": 0, \"CHAN\": 0, \"OFF\": 1, \"TRF\": 1, \"DELAY\": 0}, "
            "\"samples\": [1.21000004, 1.21000957, 1.21001911]}");
  ToolRun all = Tool("traces --from 25 --to 25 " + Data("segy/segyio/small.sgy") + " " +
                     Data("segy/segyio/small-lsb.sgy"));
  ASSERT_EQ(all.status, 0);
  EXPECT_TRUE(Has(all.out, "\"index\": 25, ")) << all.out;
  EXPECT_TRUE(Has(all.out, "\"TRF\": 2")) << "traces of the second file";
  EXPECT_TRUE(Has(all.out, "\"TRNO\": 26"));
  EXPECT_TRUE(Has(all.out, "\"CDPX\": 0"));
  EXPECT_TRUE(Has(all.out, "\"samples\": []"));
  EXPECT_NE(Tool("traces --fields NOPE " + Data("segy/segyio/small.sgy")).status, 0);
}

TEST(KxtoolDump, HeadersOnStandardOutput) {
  ToolRun r = Tool("dump --text --binary --traces 2-3 " + Data("segy/segyio/small.sgy"));
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(Has(r.out, "# file: small.sgy #"));
  EXPECT_TRUE(Has(r.out, "C 3 Written by libsegyio (python)"));
  EXPECT_TRUE(Has(r.out, "END EBCDIC HEADER")) << "a dumped text keeps its own end line";
  EXPECT_TRUE(Has(r.out, "               samples/trace  021-022 :  50\n"));
  EXPECT_FALSE(Has(r.out, " Trace 1   SEG-Y Header"));
  EXPECT_TRUE(Has(r.out, " Trace 2   SEG-Y Header"));
  EXPECT_TRUE(Has(r.out, " Trace 3   SEG-Y Header"));
  EXPECT_FALSE(Has(r.out, " Trace 4   SEG-Y Header"));

  ToolRun plain = Tool("dump " + Data("segy/segyio/small-lsb.sgy"));
  ASSERT_EQ(plain.status, 0);
  EXPECT_TRUE(Has(plain.out, " byte ordering  little endian"));
  EXPECT_TRUE(Has(plain.out, " Trace 1   SEG-Y Header"));
  EXPECT_FALSE(Has(plain.out, " Trace 2   SEG-Y Header"));
  EXPECT_FALSE(Has(plain.out, "SEG-Y Textual File Header"));

  ToolRun su = Tool("dump --traces 25 " + Data("su/segyio/small-lsb.su"));
  EXPECT_EQ(su.status, 0);
  EXPECT_TRUE(Has(su.out, " Trace 25   SEG-Y Header")) << su.out;
  EXPECT_NE(Tool("dump --traces x " + Data("segy/segyio/small.sgy")).status, 0);
  EXPECT_NE(Tool("dump /nonexistent/file.sgy").status, 0);
}
