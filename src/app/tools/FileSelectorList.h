// The File Selector's listing rules, on plain values so that they run and are
// tested without widgets: which entries of a folder are listed, the name
// filter with "*" and "?", the natural order (folders first, digit runs
// compared as numbers), the size texts and the size above which a selection
// does not load by itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct FileSelectorEntry {
  std::string name;
  bool folder = false;
  std::uintmax_t bytes = 0;  // files only
  std::string sizeText;      // "%.3lf MB" of bytes * 1e-6 for files, empty for folders
  // 100000 + listing position for folders, 200000 + listing position for
  // files: folders before files, and the listing order among equals.
  int32_t key = 0;
};

enum class FileSortState { kNameAscending, kNameDescending, kSizeAscending, kSizeDescending };
enum FileSelectorColumn : int { kFileColumnName = 0, kFileColumnSize = 1 };

inline constexpr std::uintmax_t kSelectionLoadLimit = 500000000;  // bytes
inline constexpr std::size_t kNameFilterMaxChars = 127;
inline constexpr std::size_t kFolderMaxChars = 512;

// "*" matches any run of characters, "?" one character (not one byte), other
// characters match themselves, letters without regard to case. The whole
// name must match.
bool MatchesNameFilter(std::string_view name, std::string_view filter);
// One of the seismic extensions the selector lists without a filter.
bool HasSeismicExtension(std::string_view name);
// Whether a file of that name is listed with that filter (empty: extensions).
bool FileListed(std::string_view name, std::string_view filter);

// Lists the folder: ".." first unless the folder is a root, then its entries
// as enumerated, "." and names beginning with "$" skipped, folders always,
// files by FileListed; not sorted. Returns 0, or -1 when the folder cannot be
// listed (logged as "ERROR: Cannot list '%s'" with the system's text, console
// raised; entries untouched).
int ListFolderEntries(const std::string& folder, std::string_view filter,
                      std::vector<FileSelectorEntry>* entries);

// The name as it is compared: every digit run padded on the left with zeros
// to 16 digits, "." as a blank, letters in lower case.
std::string NaturalNameKey(std::string_view name);
// Sorts in the given state: folders before files in either direction, then by
// natural name or by size as a number; equals keep the listing order.
void SortFileEntries(std::vector<FileSelectorEntry>* entries, FileSortState state);
// A click on a column header: the sorted column reverses its direction,
// another column becomes the sorted one keeping the direction.
FileSortState ClickColumn(FileSortState state, int column);
bool SortsBy(FileSortState state, int column);
bool Descending(FileSortState state);
// "Filename ▼" / "Filename ▲", "Size ▼" / "Size ▲": ▼ ascending, ▲ descending.
std::string ColumnTitle(int column, bool descending);

// A selection (mouse or arrow keys) loads the file only up to the limit;
// larger files need a click or Enter.
inline bool LoadsOnSelection(std::uintmax_t bytes, std::uintmax_t limit = kSelectionLoadLimit) {
  return bytes <= limit;
}
// The window title for a folder: its last name component.
std::string FolderTitle(const std::string& folder);
// The folder an entry opens: ".." the parent (a trailing separator removed
// first), any other name the subfolder.
std::string FolderOpenedBy(const std::string& folder, const std::string& entry);
