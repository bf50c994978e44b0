// Writing an output file so that a failure never leaves a partial file and
// never harms an existing file of the same name: the data go to a temporary
// file in the target's folder, which is renamed over the target only after
// the whole file was written, flushed and synced.
//
// Usage: Open(), write through File(), then Commit(). Anything else (an early
// return, Discard(), destruction without Commit) removes the temporary file.
// Status codes: 0 success, kStatusOpenFailed the temporary file cannot be created, kStatusWriteFailed a
// write, flush or rename failed. Every failure is logged. One object per
// output file; not shared between threads.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class SafeWrite {
 public:
  SafeWrite() = default;
  ~SafeWrite();
  SafeWrite(const SafeWrite&) = delete;
  SafeWrite& operator=(const SafeWrite&) = delete;

  // Creates the temporary file beside target and gives its stream a fully
  // buffered buffer of bufferBytes (0 keeps the library's). mode is "wb" or
  // "w+b" (for writers that read back what they wrote). Returns 0 or kStatusOpenFailed.
  int Open(const std::string& target, std::size_t bufferBytes = 131072, const char* mode = "wb");

  // The stream to write to; null before Open and after Commit/Discard.
  std::FILE* File() const { return m_file; }

  // Flushes, syncs and closes the stream, gives the file the permissions of the
  // file it replaces (or the usual ones for a new file) and renames it over the
  // target. Returns 0, or kStatusWriteFailed with the temporary file removed and the target
  // untouched. Also fails when the stream saw a write error before.
  int Commit();

  // Closes and removes the temporary file; the target is untouched.
  void Discard();

  const std::string& TempPath() const { return m_tempPath; }
  const std::string& TargetPath() const { return m_target; }

 private:
  std::FILE* m_file = nullptr;
  char* m_buffer = nullptr;
  std::string m_target;
  std::string m_tempPath;
};
