// The process-wide log: threshold, console line store, log file, standard-error echo, hooks.
#include "log/Log.h"
#include "log/LogErrorCount.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <utility>

#include "log/ConsoleLineStore.h"
#include "log/Status.h"

namespace {
// Everything the lock guards. Allocated on first use and never destroyed, so that a message
// logged from a static destructor (after ConsoleClose, or in a program that never closes the log)
// never meets a destroyed mutex.
struct LogState {
  std::mutex lock;
  ConsoleLineStore* store = nullptr;  // owned; null until ConsoleOpen and after ConsoleClose
  std::FILE* file = nullptr;
  ConsoleChangeHook changeHook;
};

LogState& State() {
  static LogState* state = new LogState;
  return *state;
}

std::atomic<int> g_threshold{kLogDefaultThreshold};
std::atomic<bool> g_closed{false};
std::atomic<bool> g_paused{false};
std::atomic<bool> g_echo{false};
std::atomic<bool> g_consoleOpen{false};  // a hint to skip decoding; the store pointer decides
std::atomic<bool> g_fileOpen{false};
std::atomic<ConsoleRaiseHook> g_raiseHook{nullptr};
std::atomic<long long> g_errorReports{0};

// An error report's text starts with "ERROR" after its leading line breaks; level 1 also carries
// timings and notes that are no errors.
bool IsErrorReport(const char* text) {
  while (*text == '\n') ++text;
  return std::strncmp(text, "ERROR", 5) == 0;
}

// How many times this thread holds the log's lock (0 or 1): guards against self-deadlock when the
// change hook or an access callback logs.
thread_local int t_holding = 0;

class Hold {
 public:
  Hold() : m_guard(State().lock) { ++t_holding; }
  ~Hold() { --t_holding; }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  std::lock_guard<std::mutex> m_guard;
};

// Writes text + "\n" to the echo and the file. Caller holds the lock.
void WriteOut(std::string_view text) {
  LogState& s = State();
  bool toFile = s.file && !g_paused.load();
  bool toEcho = g_echo.load();
  if (!toFile && !toEcho) return;
  std::string line;
  line.reserve(text.size() + 1);
  line.append(text);
  line.push_back('\n');
  if (toEcho) std::fwrite(line.data(), 1, line.size(), stderr);
  if (toFile) {
    std::fwrite(line.data(), 1, line.size(), s.file);
    std::fflush(s.file);
  }
}

// One message (possibly several lines) to every destination, under the lock.
void Deliver(std::string_view text) {
  if (t_holding > 0) {
    // Logged from inside the change hook or an access callback: this thread holds the lock.
    if (!g_closed.load()) WriteOut(text);
    return;
  }
  // Decode before taking the lock (the usual case), or under it if the console just opened.
  const bool decoded = g_consoleOpen.load();
  std::u16string wide;
  if (decoded) wide = Utf8ToUtf16(text);
  Hold hold;
  if (g_closed.load()) return;
  WriteOut(text);
  LogState& s = State();
  if (s.store) {
    if (!decoded) wide = Utf8ToUtf16(text);
    s.store->AppendText(wide);
    if (s.changeHook) s.changeHook(ConsoleChange::kLinesAppended);
  }
}

// std::strerror is not thread-safe; strerror_r comes in a GNU and an XSI flavour.
[[maybe_unused]] const char* PickErrorText(int result, const char* buf) {
  return result == 0 ? buf : "Unknown error";
}
[[maybe_unused]] const char* PickErrorText(const char* result, const char*) {
  return result;
}

std::string SystemErrorText(int code) {
  char buf[kLogMaxSystemTextBytes + 8];
  buf[0] = '\0';
  const char* text = PickErrorText(strerror_r(code, buf, sizeof buf), buf);
  std::size_t len = std::strlen(text);
  if (len > kLogMaxSystemTextBytes) len = Utf8CutLength(text, kLogMaxSystemTextBytes);
  return std::string(text, len);
}

bool RunWithStore(const std::function<void(ConsoleLineStore&)>& fn, std::unique_lock<std::mutex>& held) {
  if (!held.owns_lock()) return false;
  ++t_holding;
  ConsoleLineStore* store = State().store;
  if (store) fn(*store);
  --t_holding;
  return store != nullptr;
}
}  // namespace

long long LogErrorCount() {
  return g_errorReports.load();
}

// ---- Messages --------------------------------------------------------------------------------

void LogPrintV(int level, const char* format, va_list args) {
  if (g_closed.load()) return;
  const bool shown = level <= g_threshold.load();
  // Error reports are counted even when they are not shown: kxtool's exit status relies on it.
  if (!shown && level != LogError) return;
  char buf[kLogMaxMessageBytes + 1];
  int n = std::vsnprintf(buf, sizeof buf, format, args);
  if (n < 0) return;  // an invalid format or encoding: nothing sensible to show
  std::size_t len = static_cast<std::size_t>(n);
  if (len > kLogMaxMessageBytes) len = Utf8CutLength(buf, kLogMaxMessageBytes);
  if (LogHold* hold = LogHold::Active()) {
    hold->Keep(level, std::string(buf, len), shown);
    return;
  }
  if (level == LogError && IsErrorReport(buf)) g_errorReports.fetch_add(1);
  if (!shown) return;
  Deliver(std::string_view(buf, len));
}

void LogPrint(int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  LogPrintV(level, format, args);
  va_end(args);
}

void LogSystemError(int code, int raise) {
  if (g_closed.load()) return;
  if (LogHold* hold = LogHold::Active()) {
    hold->Keep(LogError, code > 0 ? "       " + SystemErrorText(code) : "", true);
    return;
  }
  if (code <= 0) {
    Deliver("");  // one empty line; no raise
    return;
  }
  Deliver("       " + SystemErrorText(code));
  if (raise) ConsoleRaise();
}

void LogBlankLines() {
  if (g_threshold.load() < 0 || g_closed.load()) return;
  if (LogHold* hold = LogHold::Active()) {
    hold->Keep(LogError, "\n\n", true);
    return;
  }
  Deliver("\n\n");  // three empty lines in one message
}

namespace {
thread_local LogHold* t_hold = nullptr;
}

LogHold::LogHold() {
  if (t_hold) return;
  t_hold = this;
  m_active = true;
}

LogHold::~LogHold() {
  if (m_active) t_hold = nullptr;
}

LogHold* LogHold::Active() {
  return t_hold;
}

void LogHold::Release() {
  if (!m_active) return;
  t_hold = nullptr;
  m_active = false;
  for (const Message& m : m_messages) {
    if (g_closed.load()) return;
    if (m.level == LogError && IsErrorReport(m.text.c_str())) g_errorReports.fetch_add(1);
    if (m.shown) Deliver(m.text);
  }
}

int LogGetThreshold() {
  return g_threshold.load();
}

void LogSetThreshold(int level) {
  if (g_closed.load()) return;
  g_threshold.store(level);
  if (g_closed.load()) g_threshold.store(kLogClosed);  // lost a race with ConsoleClose
}

bool LogIsClosed() {
  return g_closed.load();
}

// ---- Console ---------------------------------------------------------------------------------

void ConsoleSetRaiseHook(ConsoleRaiseHook hook) {
  g_raiseHook.store(hook);
}

void ConsoleRaise() {
  if (g_closed.load()) return;
  if (ConsoleRaiseHook hook = g_raiseHook.load()) hook();
}

void ConsoleShow() {
  ConsoleRaise();
}

int ConsoleOpen() {
  if (t_holding > 0) return kStatusRefused;
  Hold hold;
  LogState& s = State();
  if (g_closed.load()) return kStatusRefused;
  if (s.store) return 0;
  s.store = new (std::nothrow) ConsoleLineStore();
  if (!s.store) return kStatusRefused;
  g_consoleOpen.store(true);
  g_threshold.store(kLogDefaultThreshold);
  return 0;
}

bool ConsoleIsOpen() {
  return g_consoleOpen.load();
}

void ConsoleClose() {
  if (t_holding > 0) return;  // from inside a hook or callback: cannot close here
  ConsoleChangeHook oldHook;
  {
    Hold hold;
    LogState& s = State();
    g_closed.store(true);
    g_threshold.store(kLogClosed);
    g_consoleOpen.store(false);
    delete s.store;
    s.store = nullptr;
    if (s.file) {
      std::fflush(s.file);
      std::fclose(s.file);
      s.file = nullptr;
    }
    g_fileOpen.store(false);
    oldHook = std::move(s.changeHook);
    s.changeHook = nullptr;
  }
  g_raiseHook.store(nullptr);
}

void ConsoleSetChangeHook(ConsoleChangeHook hook) {
  if (t_holding > 0) return;
  {
    Hold hold;
    if (g_closed.load()) return;
    std::swap(State().changeHook, hook);
  }
  // The previous hook is destroyed here, outside the lock.
}

bool ConsoleTryAccess(const std::function<void(ConsoleLineStore&)>& fn) {
  if (t_holding > 0) return false;  // std::mutex::try_lock by its owner is undefined
  std::unique_lock<std::mutex> held(State().lock, std::try_to_lock);
  return RunWithStore(fn, held);
}

bool ConsoleAccess(const std::function<void(ConsoleLineStore&)>& fn) {
  if (t_holding > 0) return false;
  std::unique_lock<std::mutex> held(State().lock);
  return RunWithStore(fn, held);
}

void ConsoleClearAll() {
  if (t_holding > 0) return;
  Hold hold;
  LogState& s = State();
  if (!s.store) return;
  s.store->ClearAll();
  if (s.changeHook) s.changeHook(ConsoleChange::kCleared);
}

void LogSetStderrEcho(bool on) {
  g_echo.store(on);
}

// ---- Log file --------------------------------------------------------------------------------

bool LogFileOpen(const std::string& path) {
  if (t_holding > 0) return false;
  Hold hold;
  LogState& s = State();
  if (g_closed.load()) return false;
  if (!s.file) s.file = std::fopen(path.c_str(), "w");
  g_fileOpen.store(s.file != nullptr);
  return s.file != nullptr;
}

bool LogFileIsOpen() {
  return g_fileOpen.load();
}
void LogFilePause(bool paused) {
  g_paused.store(paused);
}
bool LogFileIsPaused() {
  return g_paused.load();
}

void LogFileClose() {
  if (t_holding > 0) return;
  Hold hold;
  LogState& s = State();
  if (s.file) {
    std::fflush(s.file);
    std::fclose(s.file);
  }
  s.file = nullptr;
  g_fileOpen.store(false);
  g_paused.store(false);
}

// ---- Formatting wrappers ---------------------------------------------------------------------

std::size_t Utf8CutLength(const char* text, std::size_t len) {
  if (len == 0) return 0;
  // Find the start of the last sequence: at most three continuation bytes back.
  std::size_t lead = len - 1;
  int back = 0;
  while (lead > 0 && back < 3 && (static_cast<unsigned char>(text[lead]) & 0xC0) == 0x80) {
    --lead;
    ++back;
  }
  auto b = static_cast<unsigned char>(text[lead]);
  std::size_t expected = 1;
  if (b >= 0xF0 && b <= 0xF7) {
    expected = 4;
  } else if (b >= 0xE0) {
    expected = b <= 0xEF ? 3 : 1;
  } else if (b >= 0xC0) {
    expected = 2;
  }
  // A complete sequence (or bytes that are no valid sequence anyway) may stay.
  if (expected == 1 || len - lead >= expected) return len;
  return lead;
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
    len = Utf8CutLength(buf, n - 1);
    buf[len] = '\0';
  }
  return static_cast<int>(len);
}

int FormatToFile(std::FILE* file, const char* format, ...) {
  if (!file) return -1;
  va_list args;
  va_start(args, format);
  int r = std::vfprintf(file, format, args);
  va_end(args);
  return r < 0 ? -1 : r;
}

int FormatScan(const char* text, const char* format, ...) {
  if (!text) return EOF;
  va_list args;
  va_start(args, format);
  int r = std::vsscanf(text, format, args);
  va_end(args);
  return r;
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
