#include "app/tools/FileSelectorList.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "log/Log.h"

namespace fs = std::filesystem;

namespace {
char32_t Lower(char32_t c) {
  return (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c;
}

// Code points of a UTF-8 text; a byte that starts no valid sequence stands
// for itself, so that any name can still be matched.
std::u32string CodePoints(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c >= 0xF0 && c < 0xF8 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c >= 0xF8 || i + extra >= s.size()) extra = 0;
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char n = static_cast<unsigned char>(s[i + k]);
      if ((n & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (n & 0x3F);
    }
    if (!ok) {
      cp = c;
      extra = 0;
    }
    out.push_back(cp);
    i += 1 + extra;
  }
  return out;
}

double SizeNumber(const FileSelectorEntry& e) {
  return e.sizeText.empty() ? 0.0 : std::strtod(e.sizeText.c_str(), nullptr);
}

// Negative when a comes first in ascending order, 0 when equal.
int CompareEntries(const FileSelectorEntry& a, const FileSelectorEntry& b, FileSortState state) {
  if (SortsBy(state, kFileColumnName)) return NaturalNameKey(a.name).compare(NaturalNameKey(b.name));
  double x = SizeNumber(a), y = SizeNumber(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}
}  // namespace

bool MatchesNameFilter(std::string_view name, std::string_view filter) {
  std::u32string n = CodePoints(name), f = CodePoints(filter);
  // Greedy match with one backtrack point: the last "*" seen.
  std::size_t i = 0, j = 0, star = std::u32string::npos, resume = 0;
  while (i < n.size()) {
    if (j < f.size() && (f[j] == U'?' || (f[j] != U'*' && Lower(f[j]) == Lower(n[i])))) {
      ++i;
      ++j;
    } else if (j < f.size() && f[j] == U'*') {
      star = j++;
      resume = i;
    } else if (star != std::u32string::npos) {
      j = star + 1;
      i = ++resume;
    } else {
      return false;
    }
  }
  while (j < f.size() && f[j] == U'*') ++j;
  return j == f.size();
}

bool HasSeismicExtension(std::string_view name) {
  static constexpr const char* kExtensions[] = {"*.segy", "*.sgy", "*.seg2", "*.sg2",
                                                "*.dat",  "*.su",  "*.vms"};
  for (const char* e : kExtensions)
    if (MatchesNameFilter(name, e)) return true;
  return false;
}

bool FileListed(std::string_view name, std::string_view filter) {
  return filter.empty() ? HasSeismicExtension(name) : MatchesNameFilter(name, filter);
}

int ListFolderEntries(const std::string& folder, std::string_view filter,
                      std::vector<FileSelectorEntry>* entries) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) {
    LogPrint(LogError, "ERROR: Cannot list '%s'", folder.c_str());
    LogSystemError(ec.value(), 1);
    return -1;
  }
  std::vector<FileSelectorEntry> out;
  int position = 0;
  fs::path path(folder);
  if (path.has_relative_path() && path.relative_path() != "/")
    out.push_back({"..", true, 0, "", 100000 + position++});
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::string name = it->path().filename().string();
    if (name == "." || name == ".." || name.empty() || name[0] == '$') continue;
    std::error_code e2;
    if (it->is_directory(e2)) {
      out.push_back({name, true, 0, "", 100000 + position++});
      continue;
    }
    if (!FileListed(name, filter)) continue;
    std::uintmax_t bytes = it->file_size(e2);
    if (e2) bytes = 0;
    out.push_back(
        {name, false, bytes, StrPrintf("%.3lf MB", static_cast<double>(bytes) * 1e-6), 200000 + position++});
  }
  *entries = std::move(out);
  return 0;
}

std::string NaturalNameKey(std::string_view name) {
  std::string key;
  key.reserve(name.size() + 16);
  for (std::size_t i = 0; i < name.size();) {
    char c = name[i];
    if (c >= '0' && c <= '9') {
      std::size_t end = i;
      while (end < name.size() && name[end] >= '0' && name[end] <= '9') ++end;
      if (end - i < 16) key.append(16 - (end - i), '0');
      key.append(name.substr(i, end - i));
      i = end;
      continue;
    }
    key.push_back(c == '.' ? ' ' : (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
    ++i;
  }
  return key;
}

void SortFileEntries(std::vector<FileSelectorEntry>* entries, FileSortState state) {
  auto t0 = std::chrono::steady_clock::now();
  bool desc = Descending(state);
  std::sort(entries->begin(), entries->end(), [&](const FileSelectorEntry& a, const FileSelectorEntry& b) {
    if (a.folder != b.folder) return a.folder;
    int c = CompareEntries(a, b, state);
    if (c != 0) return desc ? c > 0 : c < 0;
    return a.key < b.key;
  });
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  LogPrint(LogInfo, "%d items in %.3lfms", static_cast<int>(entries->size()), ms);
}

bool SortsBy(FileSortState state, int column) {
  bool byName = state == FileSortState::kNameAscending || state == FileSortState::kNameDescending;
  return column == kFileColumnName ? byName : !byName;
}

bool Descending(FileSortState state) {
  return state == FileSortState::kNameDescending || state == FileSortState::kSizeDescending;
}

FileSortState ClickColumn(FileSortState state, int column) {
  bool desc = Descending(state);
  if (SortsBy(state, column)) desc = !desc;
  if (column == kFileColumnName) return desc ? FileSortState::kNameDescending : FileSortState::kNameAscending;
  return desc ? FileSortState::kSizeDescending : FileSortState::kSizeAscending;
}

std::string ColumnTitle(int column, bool descending) {
  return std::string(column == kFileColumnName ? "Filename " : "Size ") + (descending ? "\u25B2" : "\u25BC");
}

std::string FolderTitle(const std::string& folder) {
  fs::path p(folder);
  if (!p.has_filename() && p.has_parent_path() && p != p.root_path()) p = p.parent_path();
  std::string name = p.filename().string();
  return name.empty() ? p.string() : name;
}

std::string FolderOpenedBy(const std::string& folder, const std::string& entry) {
  fs::path p(folder);
  if (entry != "..") return (p / entry).string();
  // "dir/" has an empty last component: drop the separator before going up.
  if (!p.has_filename() && p.has_parent_path() && p != p.root_path()) p = p.parent_path();
  fs::path parent = p.parent_path();
  return parent.empty() ? p.string() : parent.string();
}
