// The console's context menu as data: command identifiers, labels, which level item
// is greyed and which file item is offered. The Qt widget only renders the list and passes the
// chosen identifier back to ConsoleMenuExecute, except "Log to File", which needs its save dialog.
#pragma once

#include <vector>

enum ConsoleMenuId : int {
  kConsoleMenuClearAll = 32700,
  kConsoleMenuLevelTrace = 32701,
  kConsoleMenuLevelDebug = 32702,
  kConsoleMenuLevelInfo = 32705,
  kConsoleMenuLevelStep = 32706,
  kConsoleMenuLevelWarning = 32707,
  kConsoleMenuLevelError = 32708,
  kConsoleMenuLogToFile = 32720,
  kConsoleMenuPauseLog = 32721,
  kConsoleMenuResumeLog = 32722,
};

// Texts of the console window and of the "Log to File" save dialog.
inline constexpr const char* kConsoleTitle = "Kestrix Console";
inline constexpr const char* kLogFileDialogTitle = "Open Console Log File";
inline constexpr const char* kLogFileFilter = "Log Files (*.log)";  // pattern "*.log"
inline constexpr const char* kLogFileDefaultSuffix = "log";

struct ConsoleMenuItem {
  int id;
  const char* label;
  bool enabled;
};

// The eight items in menu order: "Clear All", the six levels from Trace to Error, then one of
// "Log to File" (no file open), "Pause Log" (open, running) or "Resume Log" (open, paused). The
// level item equal to the threshold is disabled; none is when the threshold is none of the six.
std::vector<ConsoleMenuItem> ConsoleMenuItems(int threshold, bool fileOpen, bool paused);
// The level item that is disabled at this threshold, or 0 when none is.
int ConsoleMenuDisabledLevelItem(int threshold);
// The file item offered: kConsoleMenuLogToFile, kConsoleMenuPauseLog or kConsoleMenuResumeLog.
int ConsoleMenuFileItem(bool fileOpen, bool paused);
// The threshold a level item sets, or -1 when id is not a level item.
int ConsoleMenuLevel(int id);
// Carries out a command on the process-wide log: Clear All, a level, Pause Log, Resume Log.
// Returns false, doing nothing, for "Log to File" (the widget asks for a name and calls
// LogFileOpen) and for unknown identifiers.
bool ConsoleMenuExecute(int id);
