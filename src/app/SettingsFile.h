// The settings file "_Kestrix.ini": the last input folder, the open dialog's
// filter, the main window's placement and the header byte map, as KEY = value lines. Reading is
// forgiving (unknown keys, bad values and over-long lines are skipped one by
// one); writing replaces the whole file in one fixed layout.
#pragma once

#include <string>
#include <string_view>

#include "formats/HeaderByteMap.h"

inline constexpr const char* kSettingsFileName = "_Kestrix.ini";
inline constexpr std::size_t kLastInputDirMaxChars = 384;

struct SettingsFileValues {
  std::string lastInputDir;  // UTF-8
  int lastFilter = 1;        // 1..5
  int wndX = 48;
  int wndY = 48;
  int wndW = 954;
  int wndH = 730;
  int rcNorPos[4] = {0, 0, 0, 0};  // left, top, right, bottom; kept, never applied
  // One APP_HEADER_MAP line a mapping (WORD=BYTE:TYPE), so that no line grows past the reader's
  // bound; a line the map refuses is skipped.
  HeaderByteMap headerMap;
};

// Applies one line of the file. Lines without '=' or ':' and keys that do not
// begin with "APP_" (any case) are ignored; each value is checked against its
// own rule and ignored when it fails.
void ApplySettingsLine(SettingsFileValues& values, std::string_view line);
// Reads the file line by line into values (defaults stay for what is missing).
// Returns false, values untouched, when the file cannot be opened.
bool ReadSettingsFile(const std::string& path, SettingsFileValues& values);
// The file's text in its fixed layout.
std::string FormatSettingsFile(const SettingsFileValues& values);
// Replaces the file with the text above, through a temporary file renamed over
// it once written and flushed to disk. Returns false when it cannot be written
// (the old file is then left as it was).
bool WriteSettingsFile(const std::string& path, const SettingsFileValues& values);

// Screen and window rectangles in pixels.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};
// Keeps a window rectangle on the virtual screen: left and top not before the
// screen's, width and height not beyond the screen's, and the window moved
// back when its far edge passes the screen's far edge.
ScreenRect ClampWindowRect(ScreenRect window, const ScreenRect& screen);
