#include "formats/HeaderWordsExport.h"

#include <cerrno>
#include <cstdio>

#include "formats/HeaderScan.h"
#include "formats/HeaderWordsText.h"
#include "formats/SafeWrite.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SegyWordTable.h"
#include "section/SeismicSection.h"

int ExportHeaderWords(const std::string& seismicPath, const std::string& textPath,
                      const SegyWordSelection& words, char separator, int32_t firstTrace, int32_t lastTrace) {
  std::string ext;
  int kind = HeaderWordsFileKind(seismicPath, &ext);
  if (kind == 0) {
    LogPrint(LogError, "\nERROR: Export header words not supported for file type'%s'\n", ext.c_str());
    ConsoleRaise();
    return kHeaderWordsUnsupportedFile;
  }
  // The text goes to a temporary file first: a failed export leaves nothing behind.
  SafeWrite out;
  if (out.Open(textPath, 131072) != 0) {
    LogPrint(LogError, "\nERROR: cannot open text file\n       '%s'", textPath.c_str());
    return kStatusOpenFailed;
  }
  std::FILE* fp = out.File();
  std::string title = HeaderWordsTitleLine(words, separator) + "\n";
  std::fputs(title.c_str(), fp);
  HeaderScanParams params;
  params.flags = kScanExportWords;
  params.firstTrace = firstTrace < 1 ? 1 : firstTrace;
  params.lastTrace = lastTrace < params.firstTrace ? 2147483647 : lastTrace;
  params.path = seismicPath;
  int64_t lines = 0;
  params.exportTrace = [&](const uint8_t* header, int32_t traceNumber) {
    std::string line = HeaderWordsDataLine(traceNumber, header, words, separator) + "\n";
    std::fputs(line.c_str(), fp);
    ++lines;
  };
  SeismicSection scan(2);
  int n = ReadHeadersOnly(scan, params, kind);
  if (n <= 0) {
    LogPrint(LogError, "\nERROR: no trace header read from '%s'", seismicPath.c_str());
    return n < 0 ? n : kStatusReadFailed;
  }
  if (out.Commit() != 0) return kStatusWriteFailed;
  LogPrint(LogStep, "exported %lld trace header line(s) to '%s'", static_cast<long long>(lines),
           textPath.c_str());
  return 0;
}
