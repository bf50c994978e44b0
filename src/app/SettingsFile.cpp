#include "app/SettingsFile.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "app/TextInput.h"
#include "section/Utf8Text.h"

namespace {
void ApplyValue(SettingsFileValues& v, std::string_view key, const std::string& value) {
  int n = ParseInt(value);
  if (EqualsNoCase(key, "APP_LAST_IDIR")) {
    v.lastInputDir = IsValidUtf8(value) ? value.substr(0, Utf8PrefixBytes(value, kLastInputDirMaxChars)) : "";
  } else if (EqualsNoCase(key, "APP_LAST_IFILTER")) {
    if (n >= 1 && n <= 5) v.lastFilter = n;
  } else if (EqualsNoCase(key, "APP_WND_X")) {
    if (n >= 0) v.wndX = n;
  } else if (EqualsNoCase(key, "APP_WND_Y")) {
    if (n >= 0) v.wndY = n;
  } else if (EqualsNoCase(key, "APP_WND_W")) {
    if (n > 0) v.wndW = n;
  } else if (EqualsNoCase(key, "APP_WND_H")) {
    if (n > 0) v.wndH = n;
  } else if (EqualsNoCase(key, "APP_RCNORPOS")) {
    ParseIntList(value, v.rcNorPos, 4);
  } else if (EqualsNoCase(key, "APP_HEADER_MAP")) {
    std::string why;
    v.headerMap.Add(value, &why);
  }
}
}  // namespace

void ApplySettingsLine(SettingsFileValues& values, std::string_view line) {
  std::string key, value;
  if (!SplitKeyValue(line, &key, &value)) return;
  if (key.size() < 4 || !EqualsNoCase(std::string_view(key).substr(0, 4), "APP_")) return;
  ApplyValue(values, key, value);
}

bool ReadSettingsFile(const std::string& path, SettingsFileValues& values) {
  std::FILE* fp = std::fopen(path.c_str(), "r");
  if (!fp) return false;
  std::string line;
  while (ReadTextLine(fp, &line)) ApplySettingsLine(values, line);
  std::fclose(fp);
  return true;
}

std::string FormatSettingsFile(const SettingsFileValues& v) {
  std::string text = "APP_LAST_IDIR = " + v.lastInputDir + "\n";
  text += "APP_LAST_IFILTER = " + std::to_string(v.lastFilter) + "\n\n";
  text += "APP_WND_X = " + std::to_string(v.wndX) + "\n";
  text += "APP_WND_Y = " + std::to_string(v.wndY) + "\n";
  text += "APP_WND_W = " + std::to_string(v.wndW) + "\n";
  text += "APP_WND_H = " + std::to_string(v.wndH) + "\n\n";
  text += "APP_RCNORPOS = " + std::to_string(v.rcNorPos[0]) + " " + std::to_string(v.rcNorPos[1]) + " " +
          std::to_string(v.rcNorPos[2]) + " " + std::to_string(v.rcNorPos[3]) + "\n";
  if (!v.headerMap.Empty()) text += "\n";
  for (const HeaderMapEntry& e : v.headerMap.Entries())
    text += "APP_HEADER_MAP = " + HeaderMapEntryText(e) + "\n";
  return text;
}

bool WriteSettingsFile(const std::string& path, const SettingsFileValues& values) {
  std::error_code ec;
  std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
  std::string temp = path + ".tmp";
  std::FILE* fp = std::fopen(temp.c_str(), "w");
  if (!fp) return false;
  std::string text = FormatSettingsFile(values);
  bool ok = std::fwrite(text.data(), 1, text.size(), fp) == text.size();
  ok = std::fflush(fp) == 0 && ok;
  ok = fsync(fileno(fp)) == 0 && ok;
  ok = std::fclose(fp) == 0 && ok;
  if (ok) {
    std::filesystem::rename(temp, target, ec);
    ok = !ec;
  }
  if (!ok) std::filesystem::remove(temp, ec);
  return ok;
}

ScreenRect ClampWindowRect(ScreenRect w, const ScreenRect& s) {
  if (w.left < s.left) w.left = s.left;
  if (w.top < s.top) w.top = s.top;
  if (w.width > s.width) w.width = s.width;
  if (w.height > s.height) w.height = s.height;
  // Measured against the far edge so that a screen starting left of or above
  // the origin keeps the window on it.
  if (static_cast<long long>(w.left) + w.width > static_cast<long long>(s.left) + s.width)
    w.left = s.left + s.width - w.width;
  if (static_cast<long long>(w.top) + w.height > static_cast<long long>(s.top) + s.height)
    w.top = s.top + s.height - w.height;
  return w;
}
