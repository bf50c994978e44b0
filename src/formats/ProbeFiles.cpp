#include "formats/ProbeFiles.h"

#include "formats/DetectFileType.h"
#include "formats/ReaderTable.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {
// The first timed trace of one file, read into a scratch section.
bool FileGivesData(const std::string& path, const LoadParams& params) {
  LoadParams p;
  p.flags = kLoadKeepHeaders;
  p.fileCount = 1;
  p.takeNameDigits = params.takeNameDigits;
  p.tolerant = params.tolerant;
  p.tolerantIntervalUs = params.tolerantIntervalUs;
  p.keepFrom = 0;
  p.keepTo = 0;
  // The SEG-2 reader takes its trace range from the header-scan fields instead.
  p.firstTrace = 0;
  p.lastTrace = 1;
  ReaderFn reader = ReaderForFileType(DetectFileType(path, p));
  if (!reader) return false;
  SeismicSection scratch(1);
  if (reader(scratch, path, p) <= 0) return false;
  return scratch.Scan() > 0;
}

// A logged line as a reason: its text without the leading and trailing line breaks.
std::string Trimmed(const std::string& text) {
  std::size_t a = text.find_first_not_of("\r\n ");
  if (a == std::string::npos) return {};
  std::size_t b = text.find_last_not_of("\r\n ");
  std::string line = text.substr(a, b - a + 1);
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  return line;
}
}  // namespace

ProbeResult ProbeFileList(const std::vector<std::string>& paths, const LoadParams& params) {
  ProbeResult result;
  LogHold hold;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (FileGivesData(paths[i], params)) {
      result.firstReadable = static_cast<int>(i);
      return result;  // the hold drops what the files before logged: the load says it again
    }
  }
  hold.Release();
  for (const LogHold::Message& m : hold.Messages()) {
    std::string line = Trimmed(m.text);
    if (line.find("ERROR") != std::string::npos || line.find("WARNING") != std::string::npos)
      result.reasons.push_back(line);
  }
  return result;
}
