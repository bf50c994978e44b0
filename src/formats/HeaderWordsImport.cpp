#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "formats/HeaderScan.h"
#include "formats/HeaderWordsExport.h"
#include "formats/HeaderWordsText.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SegyWordTable.h"
#include "section/SeismicSection.h"

namespace {
constexpr std::size_t kMaxLine = 4096;  // 4095 characters and the terminator

// Reads one line of at most 4095 characters; the rest of a longer line is dropped.
bool ReadLine(std::FILE* fp, std::string* line) {
  char buf[kMaxLine];
  if (!std::fgets(buf, sizeof buf, fp)) return false;
  *line = buf;
  if (!line->empty() && line->back() != '\n' && !std::feof(fp)) {
    int c;
    while ((c = std::fgetc(fp)) != EOF && c != '\n') {
    }
  }
  return true;
}

struct ImportJob {
  std::FILE* seismic;
  const int64_t* offsets;
  int32_t traceCount;
  bool bigEndian;
  std::vector<int> words;  // word number of each column after the first
  int row = 0;
};

// The title row: every column after the first must name a word.
bool TakeTitleRow(ImportJob& job, const std::vector<std::string>& fields) {
  for (std::size_t i = 1; i < fields.size(); ++i) {
    int w = SegyWordLookup(fields[i]);
    if (w == 0) {
      LogPrint(LogError, "ERROR: no match found for '%s'", fields[i].c_str());
      return false;
    }
    job.words.push_back(w);
  }
  return true;
}

// Rewrites one trace header from a data row; false on an error that stops the job.
bool RewriteHeader(ImportJob& job, int32_t trace, const std::vector<std::string>& fields,
                   const std::vector<int64_t>& values) {
  int64_t at = job.offsets[trace - 1];
  uint8_t header[kSegyTraceHeaderBytes];
  if (fseeko(job.seismic, static_cast<off_t>(at), SEEK_SET) != 0) {
    LogPrint(LogError, "ERROR: trace %d failed to seek to %lld", trace, static_cast<long long>(at));
    return false;
  }
  if (std::fread(header, 1, sizeof header, job.seismic) != sizeof header) {
    LogPrint(LogError, "ERROR: trace %d failed to read trace header", trace);
    return false;
  }
  // Words are set in the file's own byte order; the other bytes stay as they are.
  for (std::size_t c = 1; c < fields.size(); ++c)
    if (!fields[c].empty())
      SegyWordSet(header, job.words[c - 1], static_cast<int32_t>(values[c]), job.bigEndian);
  if (fseeko(job.seismic, static_cast<off_t>(at), SEEK_SET) != 0) {
    LogPrint(LogError, "ERROR: trace %d failed to seek back to %lld", trace, static_cast<long long>(at));
    return false;
  }
  if (std::fwrite(header, 1, sizeof header, job.seismic) != sizeof header || std::fflush(job.seismic) != 0) {
    LogPrint(LogError, "ERROR: trace %d failed to rewrite header", trace);
    return false;
  }
  return true;
}

bool TakeDataRow(ImportJob& job, const std::vector<std::string>& fields) {
  std::size_t expected = job.words.size() + 1;
  if (fields.size() != expected) {
    LogPrint(LogError, "ERROR: number of fields has changed at row %d, %d instead of %d", job.row,
             static_cast<int>(fields.size()), static_cast<int>(expected));
    return false;
  }
  std::vector<int64_t> values(fields.size(), 0);
  bool bad = false;
  for (std::size_t c = 0; c < fields.size(); ++c) {
    if (fields[c].empty() && c > 0) continue;
    if (!ParseHeaderWordValue(fields[c], &values[c])) {
      LogPrint(LogError, "ERROR: bad field value row=%d col=%d", job.row, static_cast<int>(c + 1));
      bad = true;
    }
  }
  if (bad) return false;
  if (values[0] < 1 || values[0] > job.traceCount) {
    LogPrint(LogWarning, "WARNING: row %d, trace index %lld out of range", job.row,
             static_cast<long long>(values[0]));
    return true;
  }
  return RewriteHeader(job, static_cast<int32_t>(values[0]), fields, values);
}

// Reads the rows; false when an error stopped the job.
bool RunImport(ImportJob& job, std::FILE* text) {
  std::string line;
  while (ReadLine(text, &line)) {
    std::vector<std::string> fields = SplitHeaderWordsLine(line);
    if (fields.empty()) continue;
    ++job.row;
    if (fields.size() < 2) {
      LogPrint(LogError, "ERROR: at least two columns are needed");
      return false;
    }
    if (!(job.row == 1 ? TakeTitleRow(job, fields) : TakeDataRow(job, fields))) return false;
  }
  return true;
}
}  // namespace

int ImportHeaderWords(const std::string& textPath, const std::string& seismicPath) {
  std::string ext;
  int kind = HeaderWordsFileKind(seismicPath, &ext);
  if (kind == 0) {
    LogPrint(LogError, "\nERROR: Import header words not supported for file type'%s'\n", ext.c_str());
    return kHeaderWordsUnsupportedFile;
  }
  SeismicSection scan(2);
  HeaderScanParams params;
  params.flags = kScanRecordOffsets;
  params.keepOpen = true;
  params.path = seismicPath;
  int n = ReadHeadersOnly(scan, params, kind);
  if (n <= 0 || !params.file) {
    LogPrint(LogError, "\nERROR: no trace header found in '%s'", seismicPath.c_str());
    return n < 0 ? n : kStatusReadFailed;
  }
  std::FILE* text = std::fopen(textPath.c_str(), "r");
  if (!text) {
    int code = errno;
    LogPrint(LogError, "\nERROR: cannot open text file\n       '%s'", textPath.c_str());
    LogSystemError(code, 0);
    return kStatusOpenFailed;
  }
  std::setvbuf(text, nullptr, _IOFBF, 131072);
  ImportJob job{params.file.Stream(), scan.m_offsets, n, params.bigEndian, {}, 0};
  bool ok = RunImport(job, text);
  std::fclose(text);
  fseeko(job.seismic, 0, SEEK_END);
  int closed = params.file.Close();
  if (!ok) {
    LogPrint(LogError, "--- Job Aborted ---\n");
    return kHeaderWordsJobAborted;
  }
  if (closed != 0) {
    LogPrint(LogError, "\nERROR: IO error while closing '%s'", seismicPath.c_str());
    return kStatusWriteFailed;
  }
  return 0;
}
