#include "formats/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "log/Log.h"
#include "log/Status.h"

namespace {
// The process umask without changing it (umask() itself can only be read by
// setting it, which would race with other threads creating files).
mode_t CurrentUmask() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  mode_t mask = 022;
  if (!f) return mask;
  char line[256];
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, "Umask:", 6) == 0) {
      mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
      break;
    }
  }
  std::fclose(f);
  return mask;
}

// Permissions for the finished file: those of the file it replaces, else the
// ones a plain fopen would have given.
mode_t TargetMode(const std::string& target) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  return static_cast<mode_t>(0666 & ~CurrentUmask());
}

void LogCreateFailure(const std::string& target, int code) {
  LogPrint(LogError, "\nERROR: Cannot create output file '%s'", target.c_str());
  LogSystemError(code, 1);
}
// The reason of an earlier failed write: the stream only keeps an error flag, so the
// data still buffered is flushed once more (a full disk or a size limit fails again
// with its own errno). EIO when that cannot tell.
int WriteErrorReason(std::FILE* file) {
  std::clearerr(file);
  errno = 0;
  if (std::fflush(file) != 0 && errno != 0) return errno;
  return EIO;
}
}  // namespace

SafeWrite::~SafeWrite() {
  Discard();
}

int SafeWrite::Open(const std::string& target, std::size_t bufferBytes, const char* mode) {
  Discard();
  m_target = target;
  std::filesystem::path p(target);
  std::filesystem::path folder = p.parent_path();
  std::string name = p.filename().string();
  if (name.empty()) {
    LogCreateFailure(target, EISDIR);
    return kStatusOpenFailed;
  }
  // A hidden name in the same folder, so that the final rename stays on one
  // file system; long names are shortened to stay within the name limit.
  if (name.size() > 200) name.resize(200);
  std::string pattern =
      (folder.empty() ? std::string() : folder.string() + "/") + "." + name + ".kxtmp.XXXXXX";
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    LogCreateFailure(target, errno);
    return kStatusOpenFailed;
  }
  m_tempPath = pattern;
  m_file = ::fdopen(fd, mode);
  if (!m_file) {
    int code = errno;
    ::close(fd);
    ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
    LogCreateFailure(target, code);
    return kStatusOpenFailed;
  }
  if (bufferBytes > 0) {
    m_buffer = static_cast<char*>(std::malloc(bufferBytes));
    if (m_buffer) std::setvbuf(m_file, m_buffer, _IOFBF, bufferBytes);
  }
  return 0;
}

int SafeWrite::Commit() {
  if (!m_file) return kStatusWriteFailed;
  // Each step runs only while the ones before it succeeded; code keeps the
  // first failure's errno.
  int code = std::ferror(m_file) ? WriteErrorReason(m_file) : 0;
  auto step = [&code](bool ok) {
    if (code == 0 && !ok) code = errno ? errno : EIO;
  };
  errno = 0;
  if (code == 0) step(std::fflush(m_file) == 0);
  if (code == 0) step(::fsync(::fileno(m_file)) == 0);
  if (code == 0) step(::fchmod(::fileno(m_file), TargetMode(m_target)) == 0);
  int closed = std::fclose(m_file);
  m_file = nullptr;
  std::free(m_buffer);
  m_buffer = nullptr;
  if (code == 0) step(closed == 0);
  if (code == 0) step(std::rename(m_tempPath.c_str(), m_target.c_str()) == 0);
  if (code != 0) {
    LogPrint(LogError, "\nERROR: IO error while writing '%s'", m_target.c_str());
    LogSystemError(code, 1);
    ::unlink(m_tempPath.c_str());
  }
  m_tempPath.clear();
  return code == 0 ? 0 : kStatusWriteFailed;
}

void SafeWrite::Discard() {
  if (m_file) std::fclose(m_file);
  m_file = nullptr;
  std::free(m_buffer);
  m_buffer = nullptr;
  if (!m_tempPath.empty()) ::unlink(m_tempPath.c_str());
  m_tempPath.clear();
}
