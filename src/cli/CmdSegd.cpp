// kxtool segd: the decoded general headers of SEG-D files. The decoder's own
// log lines go to standard error as every message does; the decoded values
// are the result and go to standard output, one "name = value" line each.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Options.h"
#include "formats/SegdReader.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {
void PrintHeaders(const std::string& path, int result, const SegdGeneralHeader& h) {
  std::printf("file = %s\n", path.c_str());
  std::printf("result = %d\n", result);
  if (result == kSegdHeadersLogged) std::printf("revision = %d.%d\n", h.revisionMajor, h.revisionMinor);
  const struct {
    const char* name;
    int32_t value;
  } rows[] = {
      {"file_number", h.fileNumber},
      {"format_code", h.formatCode},
      {"year", h.year},
      {"additional_blocks", h.additionalBlocks},
      {"day_of_year", h.day},
      {"hour", h.hour},
      {"minute", h.minute},
      {"second", h.second},
      {"manufacturer_code", h.manufacturerCode},
      {"manufacturer_serial", h.manufacturerSerial},
      {"base_scan_interval_16ths_ms", h.baseScanInterval},
      {"polarity", h.polarity},
      {"record_type", h.recordType},
      {"scan_types", h.scanTypes},
      {"channel_sets", h.channelSets},
      {"skew_blocks", h.skewBlocks},
      {"extended_header_blocks", h.extendedBlocks},
      {"external_header_blocks", h.externalBlocks},
      {"general_trailer_blocks", h.trailerBlocks},
      {"sequence_number", h.sequenceNumber},
      {"dominant_sampling_interval", h.dominantInterval},
      {"ext_additional_blocks", h.extAdditionalBlocks},
  };
  for (const auto& r : rows) {
    if (r.value == kBcdInvalid)
      std::printf("%s = invalid\n", r.name);
    else
      std::printf("%s = %d\n", r.name, r.value);
  }
  std::printf("base_scan_interval_ms = %.4f\n", h.baseScanInterval * 0.0625);
  if (h.recordLength < 0.0)
    std::printf("record_length_s = invalid\n");
  else
    std::printf("record_length_s = %.9f\n", h.recordLength);
}

int RunSegd(const CommandArgs& args) {
  Options opts(args.args);
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.empty()) {
    LogPrint(LogError, "\nERROR: segd needs at least one file");
    return 2;
  }
  int status = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    SeismicSection section;
    SegdGeneralHeader h;
    int rc = ReadSegdHeaders(section, files[i], &h);
    if (i > 0) std::printf("\n");
    if (rc == 0 || rc == kSegdHeadersLogged) {
      PrintHeaders(files[i], rc, h);
    } else {
      std::printf("file = %s\nresult = %d\n", files[i].c_str(), rc);
      status = 1;
    }
  }
  return status;
}
}  // namespace

KX_COMMAND("segd", "segd FILE...", "decode the general headers of SEG-D files", RunSegd);
