// The process-wide message log.
//
// Every message of the program goes through LogPrint with a level; it is kept when
// level <= threshold. A kept message is
//   - appended to the console line store, once ConsoleOpen has created it (the GUI's console
//     widget paints that store; kxtool and most tests never open it);
//   - written to the log file as its text plus "\n" (UTF-8, flushed at once) while a file is open
//     and the log is not paused;
//   - written to standard error as its text plus "\n" while the echo is on (kxtool).
// Messages are UTF-8 throughout (no separate narrow and wide variants).
//
// Thread-safety: any thread may log, before or after the console exists. One mutex guards the
// line store, the log file, the standard-error echo and the change hook; each message is appended
// and written whole under it, so lines of different threads never interleave. The threshold, the
// closed flag and the paused flag are atomics read without the lock.
//
// Re-entrance: a message logged by a thread that already holds the log's lock (from inside the
// change hook or an access callback below) still goes to the file and standard error, but not to
// the console line store, which that thread may be reading.
//
// Closing: ConsoleClose (at process exit) is final. It sets the threshold to 20, frees the store
// and closes the file; every later call of this header is a harmless no-op (openers fail).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class ConsoleLineStore;

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
// Longest message in bytes; longer ones are cut there, never inside a UTF-8 sequence.
inline constexpr std::size_t kLogMaxMessageBytes = 511;
// Longest system error text in LogSystemError, in bytes (after the seven leading spaces).
inline constexpr std::size_t kLogMaxSystemTextBytes = 504;

// printf-style message, UTF-8. Does nothing when level > threshold or the log is closed.
// Truncated at 511 bytes (never inside a UTF-8 sequence); an overflow is cut, never rejected.
void LogPrint(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
void LogPrintV(int level, const char* format, va_list args);

// Logs the system's text for an errno value, ignoring the threshold (not once closed).
// code > 0: the line is seven spaces and std::strerror's text (at most 504 bytes), then
// ConsoleRaise when raise is non-zero. code <= 0: one empty line ("\n" in the file); no raise.
void LogSystemError(int code, int raise);
// Three empty lines to the console, the file ("\n" each) and the echo. Nothing when the
// threshold is negative or the log is closed.
void LogBlankLines();

// Holds back what this thread logs while it lives, for a check whose messages matter only when it
// fails: held messages (LogPrint, LogSystemError, LogBlankLines) reach no output, raise nothing and
// are not counted as error reports until Release() delivers them in order; whatever is still held
// when it goes is dropped. A hold made while another one is active on the thread holds nothing.
// Messages of other threads pass as usual. Not thread-safe itself: one thread uses it.
class LogHold {
 public:
  struct Message {
    int level;         // LogError for a system error text and for blank lines
    std::string text;  // as it would have been shown
    bool shown;        // passed the threshold when it was logged
  };
  LogHold();
  ~LogHold();
  LogHold(const LogHold&) = delete;
  LogHold& operator=(const LogHold&) = delete;
  const std::vector<Message>& Messages() const { return m_messages; }
  // Delivers the held messages and stops holding.
  void Release();
  // Internal: the hold active on the calling thread (null when none).
  static LogHold* Active();
  void Keep(int level, std::string text, bool shown) {
    m_messages.push_back({level, std::move(text), shown});
  }

 private:
  bool m_active = false;
  std::vector<Message> m_messages;
};

int LogGetThreshold();
// Sets the threshold (any int; the console menu offers 16, 13, 10, 7, 4, 1). Ignored once closed.
void LogSetThreshold(int level);
bool LogIsClosed();

// ---- Console --------------------------------------------------------------------------------

// ConsoleRaise/ConsoleShow call the hook installed by the GUI (none in kxtool and tests), which
// restores, shows and raises the console window. They may be called from any thread and never
// hold the log's lock while calling it, so the hook must itself pass the request to the GUI
// thread (a queued invocation). Installing nullptr removes it.
using ConsoleRaiseHook = void (*)();
void ConsoleSetRaiseHook(ConsoleRaiseHook hook);
void ConsoleRaise();
// The main window's "Show Console" command: the same as ConsoleRaise.
void ConsoleShow();

// Creates the console line store (capacity 262,144 units) and sets the threshold to 7. Returns 0,
// or kStatusRefused when the store cannot be allocated or the log is closed. A second call returns 0 and does
// nothing.
int ConsoleOpen();
bool ConsoleIsOpen();
// Closes the log at process exit: threshold 20, store freed, file flushed and closed, hooks
// removed. Idempotent. The program's main registers it with std::atexit.
void ConsoleClose();

// What the change hook is told.
enum class ConsoleChange {
  kLinesAppended,  // a message added lines (the view moved if it follows the tail)
  kCleared,        // ConsoleClearAll emptied the store
};
// The console widget's notification that the store changed. Called on the logging thread, once
// per message, WITH the log's lock held, right after the store was changed; so once
// ConsoleSetChangeHook returns, the previous hook is never called again and its owner may go
// away. The hook must return quickly and only schedule a repaint (e.g. a queued
// QMetaObject::invokeMethod of the widget's update). Inside it ConsoleTryAccess returns false and
// messages do not reach the console. An empty function removes the hook. Ignored when called
// from inside an access callback or the hook itself.
using ConsoleChangeHook = std::function<void(ConsoleChange)>;
void ConsoleSetChangeHook(ConsoleChangeHook hook);

// Access to the line store and its view state for the console widget.
// ConsoleTryAccess runs fn(store) under the lock if the lock can be taken at once, and returns
// true; it returns false without running fn when another thread holds the lock (a writer is
// appending), when this thread already holds it, or when no console is open. The widget's paint,
// resize, scroll and wheel handlers use it and skip their work on false, so the
// GUI thread never waits for a writer (a skipped paint is redone on the next change
// notification). ConsoleAccess is the blocking variant (menu commands, tests); it also returns
// false when no console is open or this thread already holds the lock.
// fn must not log (such messages skip the console) and must not keep references to the store.
bool ConsoleTryAccess(const std::function<void(ConsoleLineStore&)>& fn);
bool ConsoleAccess(const std::function<void(ConsoleLineStore&)>& fn);
// The console menu's "Clear All": empties the store under the lock, then tells the change hook.
void ConsoleClearAll();

// Echo of every kept message to standard error (kxtool's output channel for messages).
void LogSetStderrEcho(bool on);

// ---- Log file -------------------------------------------------------------------------------

// Opens (creates or truncates) the log file only when none is open. Returns true when a file is
// open afterwards (the earlier one if there was one); false when it cannot be created or the log
// is closed. The file is UTF-8 with LF line ends, no header, no timestamps.
bool LogFileOpen(const std::string& path);
bool LogFileIsOpen();
// While paused, messages reach the console and the echo but never the file; resuming continues the
// file after the last line written before the pause.
void LogFilePause(bool paused);
bool LogFileIsPaused();
// Flushes and closes the file and clears the paused flag (tests and kxtool; the program keeps the
// file open to exit).
void LogFileClose();

// ---- Formatting wrappers (printf / scanf conventions) ---------------------------------------

// Bounded print into buf of size n: the character count, or -1 on failure or overflow (buf then
// holds a truncated, terminated text when n > 0).
int FormatBounded(char* buf, std::size_t n, const char* format, ...) __attribute__((format(printf, 3, 4)));
// Bounded print that truncates instead of failing (never inside a UTF-8 sequence); returns the
// length written (0 when n == 0 or on a format error).
int FormatTruncate(char* buf, std::size_t n, const char* format, ...) __attribute__((format(printf, 3, 4)));
// printf to an open file: the character count, or -1 on failure.
int FormatToFile(std::FILE* file, const char* format, ...) __attribute__((format(printf, 2, 3)));
// sscanf: the number of fields converted, or EOF.
int FormatScan(const char* text, const char* format, ...) __attribute__((format(scanf, 2, 3)));
// printf to a std::string (empty on a format error).
std::string StrPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Largest length <= len at which text can be cut without splitting a UTF-8 sequence; text holds at
// least len bytes, and the sequence at the cut may continue beyond them.
std::size_t Utf8CutLength(const char* text, std::size_t len);
