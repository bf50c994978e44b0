#include <cerrno>
#include <climits>
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

// The import runs in two passes over the text: the first reads and checks
// every row and writes nothing; only when no row has an error does the second
// read the rows again and rewrite the headers. So a text with one bad line
// leaves the seismic file as it was.
namespace {
// Reads one whole line, whatever its length; false at the end of the file.
bool ReadLine(std::FILE* fp, std::string* line) {
  line->clear();
  char buf[4096];
  while (std::fgets(buf, sizeof buf, fp)) {
    line->append(buf);
    if (!line->empty() && line->back() == '\n') return true;
  }
  return !line->empty();
}

struct ImportJob {
  std::FILE* text = nullptr;
  std::FILE* seismic = nullptr;  // null in the checking pass
  const int64_t* offsets = nullptr;
  int32_t traceCount = 0;
  bool bigEndian = false;
  std::vector<int> words;  // word number of each column after the first
  int row = 0;
  int64_t line = 0;  // line number in the text file
  int64_t rewritten = 0;
};

void LogWhere(const ImportJob& job) {
  LogPrint(LogError, "       (row %d is line %lld of the text file)", job.row,
           static_cast<long long>(job.line));
}

// The title row: every column after the first names a different word.
bool TakeTitleRow(ImportJob& job, const std::vector<std::string>& fields) {
  job.words.clear();
  for (std::size_t i = 1; i < fields.size(); ++i) {
    int w = SegyWordLookup(fields[i]);
    if (w == 0) {
      LogPrint(LogError, "ERROR: no match found for '%s'", fields[i].c_str());
      return false;
    }
    for (std::size_t k = 0; k < job.words.size(); ++k) {
      if (job.words[k] == w) {
        LogPrint(LogError, "ERROR: '%s' named twice in the title row, col=%d and col=%d", fields[i].c_str(),
                 static_cast<int>(k + 2), static_cast<int>(i + 1));
        return false;
      }
    }
    job.words.push_back(w);
  }
  return true;
}

// True when value can be stored in the word without losing bits.
bool FitsWord(int word, int64_t value) {
  switch (FindSegyWord(word)->type) {
    case kSegyI16:
      return value >= INT16_MIN && value <= INT16_MAX;
    case kSegyU16:
      return value >= 0 && value <= UINT16_MAX;
    default:
      return value >= INT32_MIN && value <= INT32_MAX;
  }
}

// Parses the fields of a data row; false (each bad field logged) when one is bad.
bool ParseDataRow(const ImportJob& job, const std::vector<std::string>& fields,
                  std::vector<int64_t>* values) {
  values->assign(fields.size(), 0);
  bool ok = true;
  for (std::size_t c = 0; c < fields.size(); ++c) {
    if (fields[c].empty() && c > 0) continue;
    if (!ParseHeaderWordValue(fields[c], &(*values)[c])) {
      LogPrint(LogError, "ERROR: bad field value row=%d col=%d", job.row, static_cast<int>(c + 1));
      ok = false;
    } else if (c > 0 && !FitsWord(job.words[c - 1], (*values)[c])) {
      const SegyWordRow* w = FindSegyWord(job.words[c - 1]);
      LogPrint(LogError, "ERROR: value %lld does not fit %s (bytes %d-%d) row=%d col=%d",
               static_cast<long long>((*values)[c]), w->mnemonic, w->firstByte, w->lastByte, job.row,
               static_cast<int>(c + 1));
      ok = false;
    }
  }
  return ok;
}

// Rewrites one trace header from a checked row; false on an I/O error.
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
  ++job.rewritten;
  return true;
}

bool TakeDataRow(ImportJob& job, const std::vector<std::string>& fields) {
  std::size_t expected = job.words.size() + 1;
  if (fields.size() != expected) {
    LogPrint(LogError, "ERROR: number of fields has changed at row %d, %d instead of %d", job.row,
             static_cast<int>(fields.size()), static_cast<int>(expected));
    return false;
  }
  std::vector<int64_t> values;
  if (!ParseDataRow(job, fields, &values)) return false;
  if (values[0] < 1 || values[0] > job.traceCount) {
    // Warned once, in the checking pass.
    if (!job.seismic)
      LogPrint(LogWarning, "WARNING: row %d, trace index %lld out of range", job.row,
               static_cast<long long>(values[0]));
    return true;
  }
  return !job.seismic || RewriteHeader(job, static_cast<int32_t>(values[0]), fields, values);
}

// One pass over the rows from the start of the text; false when an error stopped it.
bool RunPass(ImportJob& job) {
  std::rewind(job.text);
  job.row = 0;
  job.line = 0;
  std::string line;
  while (ReadLine(job.text, &line)) {
    ++job.line;
    std::vector<std::string> fields = SplitHeaderWordsLine(line);
    if (fields.empty()) continue;
    ++job.row;
    bool ok = fields.size() >= 2;
    if (!ok)
      LogPrint(LogError, "ERROR: at least two columns are needed");
    else
      ok = job.row == 1 ? TakeTitleRow(job, fields) : TakeDataRow(job, fields);
    if (!ok) {
      LogWhere(job);
      return false;
    }
  }
  if (std::ferror(job.text)) {
    LogPrint(LogError, "ERROR: cannot read the text file after line %lld", static_cast<long long>(job.line));
    return false;
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
  ImportJob job;
  job.text = text;
  job.traceCount = n;
  bool checked = RunPass(job);
  bool ok = checked;
  if (checked) {
    job.seismic = params.file.Stream();
    job.offsets = scan.m_offsets;
    job.bigEndian = params.bigEndian;
    ok = RunPass(job);
    fseeko(job.seismic, 0, SEEK_END);
  }
  std::fclose(text);
  int closed = params.file.Close();
  if (!ok) {
    if (!checked) LogPrint(LogError, "ERROR: nothing was written to '%s'", seismicPath.c_str());
    LogPrint(LogError, "--- Job Aborted ---\n");
    return kHeaderWordsJobAborted;
  }
  if (closed != 0) {
    LogPrint(LogError, "\nERROR: IO error while closing '%s'", seismicPath.c_str());
    return kStatusWriteFailed;
  }
  LogPrint(LogStep, "imported %lld trace header(s) into '%s'", static_cast<long long>(job.rewritten),
           seismicPath.c_str());
  return 0;
}
