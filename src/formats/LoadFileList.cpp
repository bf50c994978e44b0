#include "formats/LoadFileList.h"

#include <cinttypes>
#include <cmath>
#include <filesystem>

#include "formats/DetectFileType.h"
#include "formats/KxfReader.h"
#include "formats/ReaderTable.h"
#include "formats/TraceHeap.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {
int64_t FileBytes(const std::string& path) {
  std::error_code ec;
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  return !ec && size < (static_cast<std::uintmax_t>(1) << 60) ? static_cast<int64_t>(size) : 0;
}

// About what the records will take: the files' bytes (narrower samples widen
// to 4 bytes, so this errs low).
int64_t ExpectedRecordBytes(const std::vector<std::string>& paths) {
  int64_t total = 0;
  for (const std::string& path : paths) {
    total += FileBytes(path);
    if (total >= (static_cast<int64_t>(1) << 60)) break;
  }
  return total;
}

// Damaged IEEE files may hold NaN or infinite samples; they stay as read (the
// peaks and spectra skip them), and the file is named once with their count.
void ReportNonFiniteSamples(const SeismicSection& section, int first, const std::string& path) {
  int64_t count = 0;
  for (int i = first; i < section.Count(); ++i) {
    const TraceRecord* t = section.Trace(i);
    for (int32_t k = 0; k < t->NS; ++k) count += std::isfinite(t->Samples()[k]) ? 0 : 1;
  }
  if (count > 0)
    LogPrint(LogWarning, "WARNING: %" PRId64 " non-finite samples (NaN or infinity) in '%s'", count,
             path.c_str());
}

int LoadEachFile(SeismicSection& section, const std::vector<std::string>& paths, LoadParams& params) {
  params.flags = kLoadKeepHeaders;
  int32_t fileNumber = 0;
  params.progressBase = 0;
  for (const std::string& path : paths) {
    ++fileNumber;
    params.fileCount = fileNumber;
    const int64_t bytes = FileBytes(path);
    int code = DetectFileType(path, params);
    ReaderFn reader = ReaderForFileType(code);
    if (!reader) {
      LogPrint(LogError, "\nERROR: no reader for file type %d, '%s'", code, path.c_str());
      return kStatusNoReader;
    }
    int before = section.Count();
    if (reader(section, path, params) > 0) params.flags = 0;
    // Traces passed over still count: TRNO stays the trace's number in the whole load. KXF
    // records keep the numbers they were written with.
    if (params.skipped > 0 && reader != ReadKxf)
      for (int i = before; i < section.Count(); ++i)
        section.Trace(i)->TRNO = static_cast<int32_t>(params.skipped + i + 1);
    ReportNonFiniteSamples(section, before, path);
    // Readers that report nothing still move the progress a file at a time.
    ReportReadBytes(params, bytes);
    params.progressBase += bytes;
  }
  return 0;
}
}  // namespace

int LoadFileList(SeismicSection& section, const std::vector<std::string>& paths, LoadParams& params) {
  // The heap tuning is process-wide: set once here for the whole load, not by each reader.
  const int64_t bytes = ExpectedRecordBytes(paths);
  TraceHeap heap(bytes);
  params.heap = &heap;
  params.progressTotal = bytes;
  int rc = LoadEachFile(section, paths, params);
  params.heap = nullptr;
  return rc;
}
