// Detection reads at most two 240-byte trace headers and one 400-byte binary
// header with plain positioned reads: no stream buffer is worth it here.
#include "formats/DetectFileType.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstring>

#include "formats/SegyBinaryHeader.h"
#include "formats/SegyLayout.h"
#include "formats/TolerantReading.h"
#include "log/Log.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"

namespace {
class RawFile {
 public:
  explicit RawFile(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~RawFile() {
    if (m_fd >= 0) ::close(m_fd);
  }
  RawFile(const RawFile&) = delete;
  RawFile& operator=(const RawFile&) = delete;
  bool IsOpen() const { return m_fd >= 0; }
  int64_t Size() const {
    struct stat st;
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
  }
  int Fd() const { return m_fd; }
  bool ReadAt(void* dst, std::size_t n, int64_t offset) const {
    if (offset < 0) return false;
    ssize_t got = ::pread(m_fd, dst, n, static_cast<off_t>(offset));
    return got == static_cast<ssize_t>(n);
  }

 private:
  int m_fd;
};

std::size_t BaseNameStart(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

bool LooksLikeSu(const RawFile& f) {
  uint8_t h[kSegyTraceHeaderBytes];
  if (!f.ReadAt(h, sizeof h, 0)) return false;
  uint16_t ns = LoadLE<uint16_t>(h + TraceHeaderOffset(kTrNs));
  int16_t dt = LoadLE<int16_t>(h + TraceHeaderOffset(kTrDt));
  if (ns == 0 || dt <= 0) return false;
  uint8_t next[kSegyTraceHeaderBytes];
  if (!f.ReadAt(next, sizeof next, kSegyTraceHeaderBytes + static_cast<int64_t>(ns) * 4)) return false;
  return LoadLE<uint16_t>(next + TraceHeaderOffset(kTrNs)) == ns &&
         LoadLE<int16_t>(next + TraceHeaderOffset(kTrDt)) == dt;
}

bool LooksLikeSegy(const RawFile& f) {
  uint8_t bh[kSegyBinaryBytes];
  if (!f.ReadAt(bh, sizeof bh, kSegyTextBytes)) return false;
  SegyFileInfo info;
  if (PrepareBinaryHeader(bh, 0, BinaryHeaderMode::kDetect, &info) != 0) return false;
  uint16_t ns = BinaryWord<uint16_t>(bh, kBhSamples);
  int16_t dt = BinaryWord<int16_t>(bh, kBhInterval);
  if (info.bytesPerSample <= 0) return false;
  uint8_t h[kSegyTraceHeaderBytes];
  if (!f.ReadAt(h, sizeof h, kSegyFirstTraceDefault)) return false;
  if (LoadWord<uint16_t>(h + TraceHeaderOffset(kTrNs), info.bigEndian) != ns ||
      LoadWord<int16_t>(h + TraceHeaderOffset(kTrDt), info.bigEndian) != dt) {
    return false;
  }
  int64_t next =
      kSegyFirstTraceDefault + kSegyTraceHeaderBytes + static_cast<int64_t>(ns) * info.bytesPerSample;
  if (!f.ReadAt(h, sizeof h, next)) return false;
  return LoadWord<uint16_t>(h + TraceHeaderOffset(kTrNs), info.bigEndian) == ns &&
         LoadWord<int16_t>(h + TraceHeaderOffset(kTrDt), info.bigEndian) == dt;
}
}  // namespace

std::string PathExtension(const std::string& path) {
  std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < BaseNameStart(path)) return {};
  return path.substr(dot, 15);
}

int FileTypeFromExtension(const std::string& extension) {
  std::string e;
  for (char c : extension) e += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (e == ".segy" || e == ".sgy") return kFileSegy;
  if (e == ".seg2" || e == ".sg2" || e == ".dat") return kFileSeg2;
  if (e == ".su") return kFileSu;
  if (e == ".vms") return kFileQlmVms;
  // Content sniffing never finds these two; their extensions are how a user picks them.
  if (e == ".kxf") return kFileKxf;
  if (e == ".segd") return kFileSegd;
  return kFileUnknown;
}

int32_t NameDigitsTag(const std::string& path) {
  std::size_t start = BaseNameStart(path);
  std::size_t end = path.size();
  std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && dot >= start) end = dot;
  std::size_t i = end;
  while (i > start && !std::isdigit(static_cast<unsigned char>(path[i - 1]))) --i;
  if (i == start) return -1;
  std::size_t last = i;
  while (i > start && std::isdigit(static_cast<unsigned char>(path[i - 1]))) --i;
  // Leading digits beyond what an int32 holds are dropped.
  if (last - i > 9) i = last - 9;
  int32_t v = 0;
  for (std::size_t k = i; k < last; ++k) v = v * 10 + (path[k] - '0');
  return v;
}

int DetectFileTypeByContent(const std::string& path) {
  RawFile f(path);
  if (!f.IsOpen()) return kFileUnknown;
  uint8_t sig[2];
  if (f.ReadAt(sig, 2, 0) && ((sig[0] == 0x55 && sig[1] == 0x3A) || (sig[0] == 0x3A && sig[1] == 0x55))) {
    return kFileSeg2;
  }
  if (LooksLikeSu(f)) return kFileSu;
  if (LooksLikeSegy(f)) return kFileSegy;
  return kFileUnknown;
}

int DetectFileType(const std::string& path, LoadParams& params) {
  params.loadTag = params.takeNameDigits ? NameDigitsTag(path) : -1;
  int code = FileTypeFromExtension(PathExtension(path));
  if (code != kFileUnknown) return code;
  code = DetectFileTypeByContent(path);
  if (code == kFileUnknown && params.tolerant) {
    RawFile f(path);
    if (int order = f.IsOpen() ? SuByteOrderByContent(f.Fd(), f.Size()) : 0) {
      LogPrint(LogWarning,
               "WARNING: tolerant reading: '%s' read as SU (%s-endian): its trace headers repeat one sample "
               "count and interval, and the file holds a whole number of such traces",
               path.c_str(), order == kBigEndian ? "big" : "little");
      return kFileSu;
    }
  }
  if (code == kFileUnknown)
    LogPrint(LogError, "WARNING: unrecognized file type '%s', using a default one", path.c_str());
  return code;
}
