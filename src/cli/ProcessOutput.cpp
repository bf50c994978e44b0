#include "cli/ProcessOutput.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/SaveParams.h"
#include "formats/DetectFileType.h"
#include "formats/KxfWriter.h"
#include "formats/Seg2Writer.h"
#include "formats/SegyWriter.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {
constexpr int32_t kSeg2MaxTraces = 16383;
}

int OutputFormatFor(const std::string& formatOption, const std::string& path) {
  std::string f = formatOption;
  std::transform(f.begin(), f.end(), f.begin(), [](unsigned char c) { return std::tolower(c); });
  if (f == "segy" || f == "sgy") return kSaveSegy;
  if (f == "su") return kSaveSuFormat;
  if (f == "seg2") return kSaveSeg2;
  if (f == "kxf") return kOutputKxf;
  if (!f.empty()) return 0;
  switch (FileTypeFromExtension(PathExtension(path))) {
    case kFileSegy:
      return kSaveSegy;
    case kFileSu:
      return kSaveSuFormat;
    case kFileSeg2:
      return kSaveSeg2;
    case kFileKxf:
      return kOutputKxf;
    default:
      return 0;
  }
}

int WriteProcessedSection(const SeismicSection& section, const std::string& path) {
  SaveOptions o;
  switch (OutputFormatFor("", path)) {
    case kOutputKxf:
      return WriteKxf(section, path);
    case kSaveSegy:
      return SaveAsSegyRev1(section, path, o);
    case kSaveSuFormat:
      return SaveAsSu(section, path, o);
    case kSaveSeg2:
      if (section.Count() > kSeg2MaxTraces) {
        LogPrint(LogError, "\nERROR: TOO MANY TRACES, max is 16'383 with SEG-2 format");
        return kOutputTooManyTraces;
      }
      return SaveAsSeg2(section, path, o);
    default:
      LogPrint(LogError, "\nERROR: the output file '%s' must end in .segy/.sgy, .su, .seg2/.sg2 or .kxf",
               path.c_str());
      return kOutputUnknownFormat;
  }
}

void CliProgress::operator()(int32_t done, int32_t total) {
  if (total < m_minTraces || total <= 0) return;
  int32_t tenth = static_cast<int32_t>(static_cast<int64_t>(done) * 10 / total);
  if (tenth <= m_lastTenth) return;
  m_lastTenth = tenth;
  std::fprintf(stderr, "%s: %d%% (%d/%d traces)\n", m_what, tenth * 10, done, total);
}
