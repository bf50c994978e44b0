// The console's line store and view state, free of any window system.
//
// The store is a circular array of 16-bit units of fixed capacity (262,144 units, allocated once).
// Each line is one record: its length n, then n UTF-16 code units, then n again, so a record takes
// n + 2 units and can be walked forwards (next record at index + n + 2) and backwards (the unit
// before a record is the previous record's trailing length). A record never wraps: when it would
// not fit before the end of the array, the units up to the end are set to the marker 0xFFFF and the
// record starts at index 0. A forward walk that reaches the end of the array or a 0xFFFF unit goes
// on at index 0. Lengths are at most 254, so the marker can never be taken for a length.
//
// Appending drops the oldest lines whose records the new one overwrites. The view state (visible
// rows and columns, the 1-based scroll position of the first visible line, the store indexes of the
// first and last visible line, the scrolled-back flag) follows these rules: while the user
// has not scrolled back the view follows the tail; while scrolled back, new lines only grow the
// scroll range and each dropped line lowers the scroll position by one so the same lines stay on
// screen. A console widget only paints this model: it reads the visible lines and forwards resize,
// scroll-bar and wheel input to the methods below.
//
// Text is UTF-16 code units (wide characters). Narrow text is UTF-8 and is decoded to
// UTF-16 (Utf8ToUtf16) instead of being widened byte by byte. The 254-unit cut of a line never
// splits a surrogate pair (the line then keeps 253 units).
//
// Thread-safety: none of its own. The process-wide instance behind the log (Log.h) is guarded by
// the log's one mutex; the widget reaches it through ConsoleTryAccess / ConsoleAccess.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Decodes UTF-8 to UTF-16 code units. Invalid input (stray bytes, overlong forms, encoded
// surrogates, truncated sequences) becomes U+FFFD, one per maximal invalid subpart as Unicode
// recommends; U+FFFF also becomes U+FFFD, so the end marker never appears in the store's text.
std::u16string Utf8ToUtf16(std::string_view text);
// Encodes UTF-16 code units to UTF-8 (an unpaired surrogate becomes U+FFFD). For tests and tools.
std::string Utf16ToUtf8(std::u16string_view text);

class ConsoleLineStore {
 public:
  static constexpr std::size_t kCapacity = 262144;   // units (512 KiB)
  static constexpr std::size_t kMinCapacity = 1024;  // smallest capacity accepted (tests use small ones)
  static constexpr int kMaxLineUnits = 254;          // longer lines are cut
  static constexpr char16_t kEndMarker = 0xFFFF;
  // The console opens at about 80 columns by 44 rows until the widget reports its real size.
  static constexpr int kDefaultRows = 44;
  static constexpr int kDefaultCols = 80;

  // The scroll bar: range min..max, thumb covering `page` lines, thumb at `pos`.
  // A QScrollBar shows it as setRange(min, max - page + 1) (never below min), setPageStep(page),
  // setValue(pos).
  struct ScrollBar {
    int min;
    int max;
    int page;
    int pos;
  };

  // Allocates the array once. capacity is clamped to at least kMinCapacity; the log uses kCapacity.
  explicit ConsoleLineStore(std::size_t capacity = kCapacity);

  // ---- Appending -----------------------------------------------------------------------------
  // Splits text into lines at LF, drops every CR, cuts each line after 254 units (the rest of that
  // source line up to the next LF is skipped) and appends the lines in order. A text ending in LF
  // yields its last line and then an empty line; an empty text yields one empty line.
  // Returns the number of lines appended.
  int AppendText(std::u16string_view text);
  // The same for UTF-8 text.
  int AppendUtf8(std::string_view text);

  // ---- Reading -------------------------------------------------------------------------------
  int LineCount() const { return m_count; }
  std::size_t Capacity() const { return m_units.size(); }
  // Store indexes of the oldest and newest records (0 when the store is empty).
  std::size_t OldestIndex() const { return m_oldest; }
  std::size_t NewestIndex() const { return m_newest; }
  // Index just after the newest record: where the next record goes (before any wrap).
  std::size_t WriteIndex() const { return m_write; }
  // The record walk. Next/Prev must be given the index of a live record (Next not the newest,
  // Prev not the oldest).
  std::size_t Next(std::size_t index) const;
  std::size_t Prev(std::size_t index) const;
  // The text of the record at a store index.
  std::u16string_view LineAt(std::size_t index) const;
  // The raw array, for tests and checks.
  const std::vector<char16_t>& Units() const { return m_units; }
  // Every line, oldest first. O(count); for tests and tools.
  std::vector<std::u16string> Lines() const;

  // ---- View ----------------------------------------------------------------------------------
  int Rows() const { return m_rows; }
  int Cols() const { return m_cols; }
  // 1-based number of the first visible line (1 when the store is empty).
  int ScrollPosition() const { return m_scrollPos; }
  // Store indexes of the first and last visible line (0 when the store is empty).
  std::size_t FirstVisibleIndex() const { return m_first; }
  std::size_t LastVisibleIndex() const { return m_last; }
  // Set when the newest line is not on screen; new lines then leave the view where it is.
  bool ScrolledBack() const { return m_scrolledBack; }
  ScrollBar ScrollBarState() const;
  // Number of lines from the first to the last visible one (0 when the store is empty).
  int VisibleLineCount() const;

  // Calls f(row, text) for each visible line, row 0 at the top, oldest to newest.
  template <class F>
  void ForEachVisibleLine(F&& f) const {
    if (m_count == 0) return;
    std::size_t i = m_first;
    for (int row = 0;; ++row) {
      f(row, LineAt(i));
      if (i == m_last || i == m_newest) break;
      i = Next(i);
    }
  }
  std::vector<std::u16string> VisibleLines() const;

  // New client size in rows and columns (each at least 1). Always returns the view to the tail:
  // the newest `rows` lines, or all lines from the oldest when they fit.
  void Resize(int rows, int cols);
  // Scrolls so that line p (1-based) is the first visible one; p is clamped to
  // 1..max(1, count - rows + 1). Recomputes the scrolled-back flag. Returns true when the first
  // visible line changed (the widget repaints).
  bool ScrollTo(int p);
  bool LineUp() { return ScrollTo(m_scrollPos - 1); }
  bool LineDown() { return ScrollTo(m_scrollPos + 1); }
  // A page is rows - 1 lines (at least 1), as the scroll bar pages.
  bool PageUp() { return ScrollTo(m_scrollPos - PageStep()); }
  bool PageDown() { return ScrollTo(m_scrollPos + PageStep()); }
  // Mouse wheel: notches > 0 is the wheel turned forward, towards older lines. 3 lines per notch,
  // or a whole page (rows lines) per notch while Shift is held.
  bool Wheel(int notches, bool shift);
  // Empties the store; the view goes back to the first row.
  void ClearAll();

  // Walks the whole store forwards and backwards and checks every invariant of the record format
  // and of the view state. Returns true when consistent, else false with the reason in *why.
  bool Validate(std::string* why = nullptr) const;

 private:
  int PageStep() const { return m_rows > 1 ? m_rows - 1 : 1; }
  void AppendLine(std::u16string_view line);
  void DropOldest();
  // Store index of the line with 1-based number p (1..count), walking from the nearest known line.
  std::size_t IndexOfLine(int p) const;
  std::size_t WalkForward(std::size_t index, int steps) const;
  std::size_t WalkBackward(std::size_t index, int steps) const;
  void SetLastVisibleFromFirst();
  bool ValidateRecords(std::vector<std::size_t>* order, std::string* why) const;

  std::vector<char16_t> m_units;
  std::size_t m_oldest = 0;
  std::size_t m_newest = 0;
  std::size_t m_write = 0;
  int m_count = 0;
  int m_rows = kDefaultRows;
  int m_cols = kDefaultCols;
  int m_scrollPos = 1;
  std::size_t m_first = 0;
  std::size_t m_last = 0;
  bool m_scrolledBack = false;
};
