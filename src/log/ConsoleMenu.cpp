#include "log/ConsoleMenu.h"

#include "log/Log.h"

namespace {
struct LevelItem {
  int id;
  const char* label;
  int level;
};
constexpr LevelItem kLevelItems[] = {
    {kConsoleMenuLevelTrace, "level Trace", LogTrace},
    {kConsoleMenuLevelDebug, "level Debug", LogDebug},
    {kConsoleMenuLevelInfo, "level Info", LogInfo},
    {kConsoleMenuLevelStep, "level Step", LogStep},
    {kConsoleMenuLevelWarning, "level Warning", LogWarning},
    {kConsoleMenuLevelError, "level Error", LogError},
};
}  // namespace

int ConsoleMenuDisabledLevelItem(int threshold) {
  for (const LevelItem& item : kLevelItems)
    if (item.level == threshold) return item.id;
  return 0;
}

int ConsoleMenuFileItem(bool fileOpen, bool paused) {
  if (!fileOpen) return kConsoleMenuLogToFile;
  return paused ? kConsoleMenuResumeLog : kConsoleMenuPauseLog;
}

int ConsoleMenuLevel(int id) {
  for (const LevelItem& item : kLevelItems)
    if (item.id == id) return item.level;
  return -1;
}

std::vector<ConsoleMenuItem> ConsoleMenuItems(int threshold, bool fileOpen, bool paused) {
  std::vector<ConsoleMenuItem> items;
  items.push_back({kConsoleMenuClearAll, "Clear All", true});
  for (const LevelItem& item : kLevelItems) items.push_back({item.id, item.label, item.level != threshold});
  int fileId = ConsoleMenuFileItem(fileOpen, paused);
  const char* fileLabel = fileId == kConsoleMenuLogToFile  ? "Log to File"
                          : fileId == kConsoleMenuPauseLog ? "Pause Log"
                                                           : "Resume Log";
  items.push_back({fileId, fileLabel, true});
  return items;
}

bool ConsoleMenuExecute(int id) {
  if (id == kConsoleMenuClearAll) {
    ConsoleClearAll();
    return true;
  }
  if (int level = ConsoleMenuLevel(id); level >= 0) {
    LogSetThreshold(level);
    return true;
  }
  if (id == kConsoleMenuPauseLog || id == kConsoleMenuResumeLog) {
    LogFilePause(id == kConsoleMenuPauseLog);
    return true;
  }
  return false;
}
