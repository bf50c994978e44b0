// The process-wide message log.
//
// Every message of the program goes through LogPrint with a level; it is kept
// when level <= threshold. Kept messages are appended to the console line
// store (once the console is open), written to the log file (when one is open
// and not paused) and, when echo is on, to standard error (kxtool).
//
// Thread-safety: any thread may log. One mutex guards the line store and the
// file. The threshold and paused flags are plain atomics read without the lock.
#pragma once

#include <cstdarg>
#include <string>

enum LogLevel : int {
  LogAlways = 0,   // header dumps and output shown at every threshold
  LogError = 1,    // text begins "\nERROR: "
  LogWarning = 4,  // text begins "WARNING: "
  LogStep = 7,     // user-level steps
  LogInfo = 10,    // timings and sizes
  LogDebug = 13,   // object life cycle and allocation
  LogTrace = 16,   // the most detailed output
};

// Threshold value that marks the log as closed; every call after ConsoleClose is a no-op.
inline constexpr int kLogClosed = 20;
inline constexpr int kLogDefaultThreshold = LogStep;

// printf-style message, UTF-8. Truncated at 511 bytes (never inside a UTF-8 sequence).
void LogPrint(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
void LogPrintV(int level, const char* format, va_list args);

// Logs the system's text for an errno value, ignoring the threshold (see Log.cpp).
void LogSystemError(int code, int raise);
// Three empty lines to the console and the file.
void LogBlankLines();

int LogGetThreshold();
void LogSetThreshold(int level);
bool LogIsClosed();

// Console hooks. ConsoleRaise/ConsoleShow call the function installed by the GUI
// (none in kxtool and tests).
using ConsoleRaiseHook = void (*)();
void ConsoleSetRaiseHook(ConsoleRaiseHook hook);
void ConsoleRaise();
void ConsoleShow();
// Opens the console line store (the GUI window paints it). Returns 0, or -1
// when the store cannot be allocated. A second call does nothing and returns 0.
int ConsoleOpen();
// Closes the log at process exit: threshold 20, store freed, file closed.
void ConsoleClose();

// Echo of every kept message to standard error (kxtool's output channel for messages).
void LogSetStderrEcho(bool on);

// Log file: opened (created or truncated) only when none is open. Returns true when open.
bool LogFileOpen(const std::string& path);
bool LogFileIsOpen();
void LogFilePause(bool paused);
bool LogFileIsPaused();
// Closes the file (tests and kxtool; the program keeps it to exit).
void LogFileClose();

// Formatting wrappers following printf/scanf conventions.
// Bounded print into buf of size n: character count, or -1 on failure or overflow.
int FormatBounded(char* buf, std::size_t n, const char* format, ...) __attribute__((format(printf, 3, 4)));
// Bounded print that truncates instead of failing; returns the length written.
int FormatTruncate(char* buf, std::size_t n, const char* format, ...) __attribute__((format(printf, 3, 4)));
// printf to a std::string.
std::string StrPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
