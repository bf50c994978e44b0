// kxtool info: the Section Info text of the loaded files, or its facts as JSON.
#include <cstdio>
#include <string>

#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "log/Log.h"
#include "section/SegyBytePositions.h"
#include "section/SeismicSection.h"

namespace {
std::string InfoJson(const SeismicSection& s) {
  const uint8_t* bh = s.m_binaryHeader;
  int16_t format = 0;
  __builtin_memcpy(&format, bh + BinaryHeaderOffset(kBhFormat), sizeof format);
  int nonSeismic = s.Count() - s.Summary().seismicCount - s.Summary().unknownCount;
  std::string j = "{";
  j += "\"traces\": " + std::to_string(s.Count());
  j += ", \"file_type\": " + std::to_string(s.FileType());
  j += ", \"file_name\": " + JsonString(s.m_fileName);
  j += ", \"revision\": " + JsonString(StrPrintf("%d.%d", bh[BinaryHeaderOffset(kBhRevisionMajor)],
                                                 bh[BinaryHeaderOffset(kBhRevisionMinor)]));
  j += ", \"byte_order\": " + JsonString(s.ByteOrder() == kLittleEndian ? "little" : "big");
  j += ", \"format_code\": " + std::to_string(format);
  j += std::string(", \"fixed_length\": ") + (s.FixedLength() ? "true" : "false");
  j += ", \"max_samples\": " + std::to_string(s.Summary().maxSamples);
  j += ", \"min_dt\": " + JsonNumber(s.Summary().minInterval);
  j += ", \"min_time\": " + JsonNumber(s.Summary().minTime);
  j += ", \"max_time\": " + JsonNumber(s.Summary().maxTime);
  j += ", \"max_amplitude\": " + JsonNumber(s.Summary().maxAmplitude);
  j += ", \"time_unit\": " + JsonString(s.Summary().timeUnitLabel);
  j += ", \"axis_time_unit\": " + JsonString(s.Summary().axisTimeUnitLabel);
  j += ", \"ext_text_headers\": " + std::to_string(s.m_extTextCount);
  j += ", \"seismic\": " + std::to_string(s.Summary().seismicCount);
  j += ", \"unknown\": " + std::to_string(s.Summary().unknownCount);
  j += ", \"non_seismic\": " + std::to_string(nonSeismic);
  return j + "}";
}

int RunInfo(const CommandArgs& args) {
  Options opts(args.args);
  bool json = opts.Flag("--json");
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.empty()) {
    LogPrint(LogError, "\nERROR: info needs at least one file");
    return 2;
  }
  int status = 0;
  auto section = LoadSectionForCli(files, &status);
  if (!section) return 1;
  if (json) {
    std::printf("%s\n", InfoJson(*section).c_str());
  } else {
    std::printf("%s\n", section->m_sectionInfo.c_str());
  }
  return 0;
}
}  // namespace

KX_COMMAND("info", "info [--json] FILE...", "load files as one section and print its summary", RunInfo);
