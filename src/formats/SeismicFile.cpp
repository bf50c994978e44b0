#include "formats/SeismicFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "log/Log.h"
#include "section/SeismicSection.h"

SeismicFile::SeismicFile(SeismicFile&& other) noexcept
    : m_fp(other.m_fp), m_buffer(std::move(other.m_buffer)), m_size(other.m_size) {
  other.m_fp = nullptr;
}

SeismicFile& SeismicFile::operator=(SeismicFile&& other) noexcept {
  if (this != &other) {
    Close();
    m_fp = other.m_fp;
    m_buffer = std::move(other.m_buffer);
    m_size = other.m_size;
    other.m_fp = nullptr;
  }
  return *this;
}

int SeismicFile::Close() {
  int rc = 0;
  if (m_fp) rc = std::fclose(m_fp);
  m_fp = nullptr;
  m_buffer.reset();  // only once the stream no longer uses it
  return rc;
}

SeismicFile OpenSeismicFile(SeismicSection* section, const std::string& path, const char* mode) {
  const char* stdMode = nullptr;
  std::size_t bufferBytes = 0;
  if (std::strcmp(mode, "rbS") == 0) {
    stdMode = "rb";
    bufferBytes = 131072;
  } else if (std::strcmp(mode, "wbS") == 0) {
    stdMode = "wb";
    bufferBytes = 131072;
  } else if (std::strcmp(mode, "r+bS") == 0) {
    stdMode = "r+b";
    bufferBytes = 32768;
  }
  SeismicFile file;
  errno = EINVAL;
  FILE* fp = stdMode ? std::fopen(path.c_str(), stdMode) : nullptr;
  if (!fp) {
    int code = errno;
    LogPrint(LogError, "\nERROR: Cannot open seismic file (mode '%s')", mode);
    LogPrint(LogError, "       '%s'", path.c_str());
    LogSystemError(code, 1);
    return file;
  }
  file.m_buffer.reset(new (std::nothrow) char[bufferBytes]);
  if (file.m_buffer) std::setvbuf(fp, file.m_buffer.get(), _IOFBF, bufferBytes);
  struct stat st;
  if (fstat(fileno(fp), &st) == 0 && S_ISREG(st.st_mode)) file.m_size = static_cast<int64_t>(st.st_size);
  file.m_fp = fp;
  if (section) section->m_fileName = path;
  return file;
}
