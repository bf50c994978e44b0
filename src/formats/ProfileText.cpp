#include "formats/ProfileText.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "formats/SafeWrite.h"
#include "log/Log.h"
#include "log/Status.h"

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// One line without its end, cut at kProfileLineMaxChars bytes; false at the
// end of the file when nothing was read.
bool ReadLine(std::FILE* fp, std::string* line) {
  line->clear();
  int c = 0;
  bool any = false;
  while ((c = std::fgetc(fp)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line->size() < kProfileLineMaxChars) line->push_back(static_cast<char>(c));
  }
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return any;
}

bool Skipped(const std::string& line) {
  std::size_t i = line.find_first_not_of(" \t\r\f\v");
  return i == std::string::npos || line[i] == '#';
}

// The next line that is neither blank nor a comment.
bool NextDataLine(std::FILE* fp, std::string* line) {
  while (ReadLine(fp, line))
    if (!Skipped(*line)) return true;
  return false;
}

// Steps over a UTF-8 byte order mark at the start of the file.
void SkipByteOrderMark(std::FILE* fp) {
  unsigned char head[3] = {};
  if (std::fread(head, 1, 3, fp) == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) return;
  std::rewind(fp);
}

bool ParseCount(const std::string& line) {
  int count = 0;
  return FormatScan(line.c_str(), "%d", &count) == 1 && count > 0;
}

int BadOrEmpty() {
  LogPrint(LogError, "Bad or empty polyline file");
  return kStatusRefused;
}
}  // namespace

int LoadProfileText(const std::string& path, std::vector<ProfilePoint>* points) {
  std::unique_ptr<std::FILE, FileCloser> fp(std::fopen(path.c_str(), "rb"));
  if (!fp) {
    int err = errno;
    LogPrint(LogError, "\nERROR: cannot open the polyline file '%s'", path.c_str());
    LogSystemError(err, 1);
    return kStatusOpenFailed;
  }
  SkipByteOrderMark(fp.get());
  std::string line;
  if (!NextDataLine(fp.get(), &line) || !ParseCount(line)) return BadOrEmpty();
  std::vector<ProfilePoint> read;
  while (read.size() < static_cast<std::size_t>(kProfileMaxPoints) && NextDataLine(fp.get(), &line)) {
    ProfilePoint p;
    if (FormatScan(line.c_str(), "%lf , %lf", &p.x, &p.y) != 2 || !std::isfinite(p.x) ||
        !std::isfinite(p.y)) {
      LogPrint(LogError, "Bad polyline file");
      return kStatusRefused;
    }
    read.push_back(p);
  }
  if (read.empty()) return BadOrEmpty();
  *points = std::move(read);
  return 0;
}

int SaveProfileText(const std::string& path, const std::vector<ProfilePoint>& points) {
  if (points.empty()) return kStatusRefused;
  SafeWrite out;
  int r = out.Open(path, 0);
  if (r != 0) return r;
  bool ok = FormatToFile(out.File(), "%d\n", static_cast<int>(points.size())) > 0;
  for (const ProfilePoint& p : points)
    ok = ok && FormatToFile(out.File(), "%11.3lf , %11.3lf\n", p.x, p.y) > 0;
  if (!ok) {
    LogPrint(LogError, "\nERROR: writing the polyline file '%s' failed", path.c_str());
    return kStatusWriteFailed;
  }
  return out.Commit();
}
