// kxtool convert: load files as one section and write it in the format that
// the output file's extension names. Each output format is one row of the
// writer table below; a format joins by adding its row.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "formats/DetectFileType.h"
#include "formats/KxfWriter.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {
// Writes the whole section to path; 0 or a negative status (the writer logs why).
using SectionWriterFn = int (*)(const SeismicSection& section, const std::string& path);

struct OutputFormat {
  const char* extension;  // lower case, with the dot
  const char* name;
  SectionWriterFn write;
};

constexpr OutputFormat kOutputFormats[] = {
    {".kxf", "KXF native trace file (every field of every trace record)", WriteKxf},
};

const OutputFormat* FindOutputFormat(const std::string& path) {
  std::string ext = PathExtension(path);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const auto& f : kOutputFormats)
    if (ext == f.extension) return &f;
  return nullptr;
}

void LogOutputFormats() {
  LogPrint(LogError, "output formats, chosen by the extension of the output file:");
  for (const auto& f : kOutputFormats) LogPrint(LogError, "  %-6s %s", f.extension, f.name);
}

int RunConvert(const CommandArgs& args) {
  Options opts(args.args);
  auto out = opts.Value("-o");
  if (!out) out = opts.Value("--output");
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.empty() || !out || out->empty()) {
    LogPrint(LogError, "\nERROR: convert needs input files and -o OUTPUT");
    return 2;
  }
  const OutputFormat* format = FindOutputFormat(*out);
  if (!format) {
    LogPrint(LogError, "\nERROR: no writer for the output file '%s'", out->c_str());
    LogOutputFormats();
    return 2;
  }
  int status = 0;
  auto section = LoadSectionForCli(files, &status);
  if (!section) return 1;
  // The writers replace OUT only once it is complete, so OUT may also be an input.
  return format->write(*section, *out) == 0 ? 0 : 1;
}
}  // namespace

KX_COMMAND("convert", "convert IN... -o OUT",
           "load files as one section and write it (format from OUT's extension: .kxf)", RunConvert);
