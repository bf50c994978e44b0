#include "formats/DumpHeaders.h"

#include <cerrno>
#include <cstring>

#include "formats/DetectFileType.h"
#include "formats/HeaderScan.h"
#include "formats/QlmVmsReader.h"
#include "formats/Seg2Reader.h"
#include "formats/SegyLayout.h"
#include "formats/SegyReaderInternal.h"
#include "formats/SeismicFile.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {
void Banner(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::size_t width = name.size() + 10 > 80 ? 80 : name.size() + 10;
  std::string hashes(width, '#');
  LogBlankLines();
  LogPrint(LogAlways, "%s", hashes.c_str());
  LogPrint(LogAlways, "# file: %s #", name.c_str());
  LogPrint(LogAlways, "%s", hashes.c_str());
}

void ScanRange(SeismicSection& section, SeismicFile& file, const SegyFileInfo& info, int32_t flags,
               int32_t first, int32_t last) {
  if (!(flags & 0x30)) return;
  HeaderScanParams scan;
  scan.flags = flags & 0x10;
  scan.firstTrace = first;
  scan.lastTrace = last;
  off_t pos = ftello(file.Stream());
  ScanTraceHeaders(section, file.Stream(), file.SizeAtOpen(), pos < 0 ? 0 : pos, info, scan);
}

void DumpSegy(SeismicSection& section, SeismicFile& file, int32_t flags, int32_t first, int32_t last) {
  FILE* fp = file.Stream();
  uint8_t text[kSegyTextBytes];
  // Reading the text (not just seeking over it) keeps the stream where the
  // binary header starts whatever the flags.
  if (ReadTextualHeader(fp, (flags & 1) | 0x1000, text) != 0) return;
  uint8_t bh[kSegyBinaryBytes];
  errno = 0;
  if (fread(bh, 1, sizeof bh, fp) != sizeof bh) {
    LogPrint(LogError, "\nERROR: Failed to read SEG-Y 400-byte Binary File Header");
    LogSystemError(errno, 1);
    return;
  }
  SegyFileInfo info;
  if (PrepareBinaryHeader(bh, flags & 2, BinaryHeaderMode::kRead, &info) != 0) return;
  if (ReadExtendedText(fp, file.SizeAtOpen(), info, false, nullptr) != 0) return;
  ApplyFixedLengthRule(bh, &info);
  ScanRange(section, file, info, flags, first, last);
}

void DumpSu(SeismicSection& section, SeismicFile& file, int32_t flags, int32_t first, int32_t last) {
  uint8_t h[kSegyTraceHeaderBytes];
  bool big = fread(h, 1, sizeof h, file.Stream()) == sizeof h && SuHeaderIsBigEndian(h);
  if (fseeko(file.Stream(), 0, SEEK_SET) != 0) return;
  uint8_t bh[kSegyBinaryBytes];
  SegyFileInfo info;
  BuildSuBinaryHeader(bh, big, &info);
  ScanRange(section, file, info, flags, first, last);
}
}  // namespace

int DumpHeadersFile(const std::string& path, int32_t flags, int32_t firstTrace, int32_t lastTrace) {
  if (!(flags & 0x33)) return 0;
  SeismicSection section(2);
  SeismicFile file = OpenSeismicFile(&section, path, "rbS");
  if (!file) return kStatusOpenFailed;
  Banner(path);
  LoadParams params;
  int code = DetectFileType(path, params);
  int rc = 0;
  if (code == kFileSegy) {
    DumpSegy(section, file, flags, firstTrace, lastTrace);
  } else if (code == kFileSu) {
    DumpSu(section, file, flags, firstTrace, lastTrace);
  } else if (code == kFileSeg2) {
    if (DumpSeg2File(section, path) == kStatusOpenFailed) rc = kStatusOpenFailed;
  } else if (code == kFileQlmVms) {
    LoadParams vms;
    vms.flags = flags;
    ReadQlmVms(section, path, vms);  // dump mode: prints the headers, loads nothing
  } else if (code == kFileUnknown) {
    LogPrint(LogError, "\nERROR: unrecognized file type '%s'\n", path.c_str());
  } else {
    LogPrint(LogError, "\nERROR: no header dump for file type %d yet, '%s'\n", code, path.c_str());
    rc = kStatusNoReader;
  }
  file.Close();
  LogBlankLines();
  ConsoleRaise();
  return rc;
}
