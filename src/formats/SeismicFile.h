// The one way readers and writers open a seismic file: a stdio stream with a
// fully buffered stream buffer of a fixed size per mode. The buffer belongs to
// the SeismicFile and is freed after the stream is closed.
//
// Modes: "rbS" read (128 KiB buffer), "wbS" write, truncating (128 KiB),
// "r+bS" read and write in place (32 KiB). No other mode is accepted.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class SeismicSection;

class SeismicFile {
 public:
  SeismicFile() = default;
  ~SeismicFile() { Close(); }
  SeismicFile(SeismicFile&& other) noexcept;
  SeismicFile& operator=(SeismicFile&& other) noexcept;
  SeismicFile(const SeismicFile&) = delete;
  SeismicFile& operator=(const SeismicFile&) = delete;

  FILE* Stream() const { return m_fp; }
  explicit operator bool() const { return m_fp != nullptr; }
  // Size of the file when it was opened (-1 when it is not a regular file).
  int64_t SizeAtOpen() const { return m_size; }
  // Closes the stream (no-op when none); returns fclose's result or 0.
  int Close();

 private:
  friend SeismicFile OpenSeismicFile(SeismicSection* section, const std::string& path, const char* mode);
  FILE* m_fp = nullptr;
  std::unique_ptr<char[]> m_buffer;
  int64_t m_size = -1;
};

// Opens path with one of the three modes. On success the section (may be
// null) gets the path as its file name. On failure logs the error, raises the
// console and returns a closed SeismicFile.
SeismicFile OpenSeismicFile(SeismicSection* section, const std::string& path, const char* mode);
