// Minimal log: threshold, standard-error echo and log file. The console line
// store joins it in ConsoleLineStore.
#include "log/Log.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {
std::mutex g_lock;
std::atomic<int> g_threshold{kLogDefaultThreshold};
std::atomic<bool> g_paused{false};
std::atomic<bool> g_echo{false};
std::FILE* g_file = nullptr;
ConsoleRaiseHook g_raiseHook = nullptr;

// Cuts a byte count back so that it does not end inside a UTF-8 sequence.
std::size_t Utf8Boundary(const char* s, std::size_t len) {
  std::size_t end = len;
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
  return end;
}

void Emit(const char* text, std::size_t len) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (g_echo) {
    std::fwrite(text, 1, len, stderr);
    std::fputc('\n', stderr);
  }
  if (g_file && !g_paused) {
    std::fwrite(text, 1, len, g_file);
    std::fputc('\n', g_file);
    std::fflush(g_file);
  }
}
}  // namespace

void LogPrintV(int level, const char* format, va_list args) {
  if (level > g_threshold.load(std::memory_order_relaxed)) return;
  char buf[512];
  int n = std::vsnprintf(buf, sizeof buf, format, args);
  if (n < 0) return;
  std::size_t len = static_cast<std::size_t>(n);
  if (len > 511) len = Utf8Boundary(buf, 511);
  buf[len] = '\0';
  Emit(buf, len);
}

void LogPrint(int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  LogPrintV(level, format, args);
  va_end(args);
}

void LogSystemError(int code, int raise) {
  if (LogIsClosed()) return;
  if (code > 0) {
    std::string line = "       ";
    line += std::strerror(code);
    Emit(line.c_str(), line.size());
    if (raise) ConsoleRaise();
  } else {
    Emit("", 0);
  }
}

void LogBlankLines() {
  if (g_threshold < 0) return;
  for (int i = 0; i < 3; ++i) Emit("", 0);
}

int LogGetThreshold() { return g_threshold; }
void LogSetThreshold(int level) {
  if (!LogIsClosed()) g_threshold = level;
}
bool LogIsClosed() { return g_threshold.load() >= kLogClosed; }

void ConsoleSetRaiseHook(ConsoleRaiseHook hook) { g_raiseHook = hook; }
void ConsoleRaise() {
  if (g_raiseHook) g_raiseHook();
}
void ConsoleShow() { ConsoleRaise(); }
int ConsoleOpen() { return 0; }
void ConsoleClose() {
  g_threshold = kLogClosed;
  LogFileClose();
}

void LogSetStderrEcho(bool on) { g_echo = on; }

bool LogFileOpen(const std::string& path) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_file) g_file = std::fopen(path.c_str(), "w");
  return g_file != nullptr;
}
bool LogFileIsOpen() { return g_file != nullptr; }
void LogFilePause(bool paused) { g_paused = paused; }
bool LogFileIsPaused() { return g_paused; }
void LogFileClose() {
  std::lock_guard<std::mutex> hold(g_lock);
  if (g_file) std::fclose(g_file);
  g_file = nullptr;
  g_paused = false;
}

int FormatBounded(char* buf, std::size_t n, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int r = std::vsnprintf(buf, n, format, args);
  va_end(args);
  if (r < 0 || static_cast<std::size_t>(r) >= n) return -1;
  return r;
}

int FormatTruncate(char* buf, std::size_t n, const char* format, ...) {
  if (n == 0) return 0;
  va_list args;
  va_start(args, format);
  int r = std::vsnprintf(buf, n, format, args);
  va_end(args);
  if (r < 0) {
    buf[0] = '\0';
    return 0;
  }
  std::size_t len = static_cast<std::size_t>(r);
  if (len >= n) {
    len = Utf8Boundary(buf, n - 1);
    buf[len] = '\0';
  }
  return static_cast<int>(len);
}

std::string StrPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n));
    std::vsnprintf(out.data(), out.size() + 1, format, copy);
  }
  va_end(copy);
  return out;
}
