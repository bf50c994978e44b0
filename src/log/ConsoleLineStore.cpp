// The console line store: record format, appending with oldest-line dropping, and the view state.
#include "log/ConsoleLineStore.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {
constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}
bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// Decodes one UTF-8 sequence at s[0..n). Returns the code point, or -1 for an invalid sequence;
// *used is the number of bytes consumed (the maximal valid prefix, at least 1, when invalid).
long DecodeOne(const unsigned char* s, std::size_t n, std::size_t* used) {
  unsigned char b0 = s[0];
  *used = 1;
  if (b0 < 0x80) return b0;
  std::size_t len;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  long cp;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;  // no overlong forms
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;  // no overlong forms
    if (b0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return -1;
  }
  for (std::size_t k = 1; k < len; ++k) {
    if (k >= n) return -1;
    unsigned char b = s[k];
    if (k == 1 ? (b < lo || b > hi) : !IsContinuation(b)) return -1;
    cp = (cp << 6) | (b & 0x3F);
    *used = k + 1;
  }
  return cp;
}

void AppendUtf8(std::string* out, char32_t cp) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool Fail(std::string* why, const std::string& reason) {
  if (why) *why = reason;
  return false;
}
}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    std::size_t used = 1;
    long cp = DecodeOne(s + i, n - i, &used);
    i += used;
    if (cp < 0 || cp == 0xFFFF) {
      out.push_back(kReplacement);
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char16_t>(cp));
    } else {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    char32_t cp = u;
    if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      cp = kReplacement;
    }
    AppendUtf8(&out, cp);
  }
  return out;
}

ConsoleLineStore::ConsoleLineStore(std::size_t capacity)
    : m_units(std::max(capacity, kMinCapacity), kEndMarker) {}

// ---- Appending -------------------------------------------------------------------------------

int ConsoleLineStore::AppendText(std::u16string_view text) {
  char16_t line[kMaxLineUnits];
  int lines = 0;
  std::size_t i = 0;
  for (;;) {
    // One source line: up to the next LF or the end, CR dropped, cut after kMaxLineUnits units.
    std::size_t n = 0;
    for (; i < text.size() && text[i] != u'\n'; ++i) {
      char16_t u = text[i];
      if (u == u'\r') continue;
      if (n == kMaxLineUnits) {
        // Cut: the rest of the source line is skipped. Keep a surrogate pair whole.
        if (IsHighSurrogate(line[n - 1]) && IsLowSurrogate(u)) --n;
        while (i < text.size() && text[i] != u'\n') ++i;
        break;
      }
      line[n++] = u == kEndMarker ? kReplacement : u;
    }
    AppendLine(std::u16string_view(line, n));
    ++lines;
    if (i >= text.size()) break;
    ++i;  // past the LF: the next line starts, empty if the LF was the last unit
  }
  return lines;
}

int ConsoleLineStore::AppendUtf8(std::string_view text) {
  return AppendText(Utf8ToUtf16(text));
}

void ConsoleLineStore::AppendLine(std::u16string_view line) {
  const std::size_t cap = m_units.size();
  const std::size_t n = line.size();  // at most kMaxLineUnits
  const std::size_t need = n + 2;
  std::size_t w = m_write;
  // A record never wraps: mark the rest of the array and start again at 0. Records that start in
  // the marked part are dropped first (they are the oldest ones).
  if (w + need > cap) {
    while (m_count > 0 && m_oldest >= w) DropOldest();
    std::fill(m_units.begin() + static_cast<std::ptrdiff_t>(w), m_units.end(), kEndMarker);
    w = 0;
  }
  // Every record that starts where this one goes is an oldest line: drop it.
  while (m_count > 0 && m_oldest >= w && m_oldest < w + need) DropOldest();

  m_units[w] = static_cast<char16_t>(n);
  std::copy(line.begin(), line.end(), m_units.begin() + static_cast<std::ptrdiff_t>(w + 1));
  m_units[w + n + 1] = static_cast<char16_t>(n);
  m_write = w + need;

  if (m_count == 0) {
    m_count = 1;
    m_oldest = m_newest = m_first = m_last = w;
    m_scrollPos = 1;
    m_scrolledBack = false;
    return;
  }
  ++m_count;
  m_newest = w;
  if (m_scrolledBack) return;  // only the scroll range grows; the visible lines stay
  // The view follows the tail.
  if (m_count > m_rows) {
    ++m_scrollPos;
    m_first = Next(m_first);
  }
  m_last = w;
}

void ConsoleLineStore::DropOldest() {
  if (m_count == 1) {
    m_count = 0;
    m_oldest = m_newest = m_first = m_last = 0;
    m_scrollPos = 1;
    m_scrolledBack = false;
    return;
  }
  const bool firstDropped = m_first == m_oldest;
  m_oldest = Next(m_oldest);
  --m_count;
  if (m_scrollPos >= 2) --m_scrollPos;  // the same lines stay on screen
  if (firstDropped) {
    m_first = m_oldest;
    if (m_last != m_newest) m_last = Next(m_last);
  }
}

// ---- Reading ---------------------------------------------------------------------------------

std::size_t ConsoleLineStore::Next(std::size_t index) const {
  std::size_t j = index + m_units[index] + 2;
  if (j >= m_units.size() || m_units[j] == kEndMarker) return 0;
  return j;
}

std::size_t ConsoleLineStore::Prev(std::size_t index) const {
  if (index == 0) {
    // The record before index 0 is the last one before the end marker run (if any).
    std::size_t j = m_units.size() - 1;
    while (j > 0 && m_units[j] == kEndMarker) --j;
    return j - m_units[j] - 1;
  }
  return index - m_units[index - 1] - 2;
}

std::u16string_view ConsoleLineStore::LineAt(std::size_t index) const {
  return std::u16string_view(m_units.data() + index + 1, m_units[index]);
}

std::vector<std::u16string> ConsoleLineStore::Lines() const {
  std::vector<std::u16string> out;
  out.reserve(static_cast<std::size_t>(m_count));
  std::size_t i = m_oldest;
  for (int k = 0; k < m_count; ++k) {
    out.emplace_back(LineAt(i));
    if (k + 1 < m_count) i = Next(i);
  }
  return out;
}

std::vector<std::u16string> ConsoleLineStore::VisibleLines() const {
  std::vector<std::u16string> out;
  ForEachVisibleLine([&out](int, std::u16string_view text) { out.emplace_back(text); });
  return out;
}

// ---- View ------------------------------------------------------------------------------------

ConsoleLineStore::ScrollBar ConsoleLineStore::ScrollBarState() const {
  return ScrollBar{1, std::max(m_count, m_rows), m_rows, m_scrollPos};
}

int ConsoleLineStore::VisibleLineCount() const {
  int n = 0;
  ForEachVisibleLine([&n](int, std::u16string_view) { ++n; });
  return n;
}

std::size_t ConsoleLineStore::WalkForward(std::size_t index, int steps) const {
  for (int k = 0; k < steps; ++k) index = Next(index);
  return index;
}

std::size_t ConsoleLineStore::WalkBackward(std::size_t index, int steps) const {
  for (int k = 0; k < steps; ++k) index = Prev(index);
  return index;
}

std::size_t ConsoleLineStore::IndexOfLine(int p) const {
  // Walk from whichever known line is nearest: the oldest, the first visible or the newest.
  int fromOldest = p - 1;
  int fromNewest = m_count - p;
  int fromFirst = p - m_scrollPos;
  int best = std::min(fromOldest, fromNewest);
  if (std::abs(fromFirst) < best) {
    return fromFirst >= 0 ? WalkForward(m_first, fromFirst) : WalkBackward(m_first, -fromFirst);
  }
  return fromOldest <= fromNewest ? WalkForward(m_oldest, fromOldest) : WalkBackward(m_newest, fromNewest);
}

void ConsoleLineStore::SetLastVisibleFromFirst() {
  int visible = std::min(m_rows, m_count - m_scrollPos + 1);
  m_last = WalkForward(m_first, visible - 1);
}

void ConsoleLineStore::Resize(int rows, int cols) {
  m_rows = std::max(rows, 1);
  m_cols = std::max(cols, 1);
  m_scrolledBack = false;
  if (m_count == 0) {
    m_scrollPos = 1;
    m_first = m_last = 0;
    return;
  }
  if (m_count > m_rows) {
    m_scrollPos = m_count - m_rows + 1;
    m_first = WalkBackward(m_newest, m_rows - 1);
  } else {
    m_scrollPos = 1;
    m_first = m_oldest;
  }
  m_last = m_newest;
}

bool ConsoleLineStore::ScrollTo(int p) {
  int maxPos = std::max(1, m_count - m_rows + 1);
  p = std::clamp(p, 1, maxPos);
  bool changed = false;
  if (m_count > 0) {
    if (p != m_scrollPos) {
      m_first = IndexOfLine(p);
      m_scrollPos = p;
      changed = true;
    }
    SetLastVisibleFromFirst();
  }
  m_scrolledBack = m_count >= m_rows + m_scrollPos;
  return changed;
}

bool ConsoleLineStore::Wheel(int notches, bool shift) {
  long long step = shift ? m_rows : 3;
  long long target = static_cast<long long>(m_scrollPos) - step * notches;
  target = std::clamp<long long>(target, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  return ScrollTo(static_cast<int>(target));
}

void ConsoleLineStore::ClearAll() {
  m_count = 0;
  m_oldest = m_newest = m_first = m_last = 0;
  m_write = 0;
  m_scrollPos = 1;
  m_scrolledBack = false;
}

// ---- Checks ----------------------------------------------------------------------------------

// Walks the records forwards from the oldest (each well formed; contiguous, or separated by the
// end-marker run at the wrap; the newest reached after count - 1 steps), then backwards from the
// newest, which must meet the same records in reverse. *order receives the record indexes.
bool ConsoleLineStore::ValidateRecords(std::vector<std::size_t>* order, std::string* why) const {
  const std::size_t cap = m_units.size();
  order->reserve(static_cast<std::size_t>(m_count));
  std::size_t i = m_oldest;
  std::size_t used = 0;
  for (int k = 0; k < m_count; ++k) {
    if (i >= cap) return Fail(why, "record index beyond the array");
    std::size_t n = m_units[i];
    if (n > static_cast<std::size_t>(kMaxLineUnits)) return Fail(why, "record length above 254");
    if (i + n + 2 > cap) return Fail(why, "record runs past the end of the array");
    if (m_units[i + n + 1] != n) return Fail(why, "leading and trailing lengths differ");
    for (std::size_t t = 1; t <= n; ++t)
      if (m_units[i + t] == kEndMarker) return Fail(why, "end marker inside a record's text");
    used += n + 2;
    order->push_back(i);
    if (k + 1 == m_count) break;
    std::size_t next = Next(i);
    if (next != i + n + 2) {
      if (next != 0) return Fail(why, "walk went astray");
      for (std::size_t t = i + n + 2; t < cap; ++t)
        if (m_units[t] != kEndMarker) return Fail(why, "unit before the wrap is not the end marker");
    }
    i = next;
  }
  if (i != m_newest) return Fail(why, "forward walk does not end at the newest record");
  if (m_write != m_newest + m_units[m_newest] + 2)
    return Fail(why, "write index not after the newest record");
  if (used > cap) return Fail(why, "records take more units than the array holds");
  i = m_newest;
  for (int k = m_count - 1; k >= 0; --k) {
    if (i != (*order)[static_cast<std::size_t>(k)])
      return Fail(why, "backward walk differs from forward walk");
    if (k > 0) i = Prev(i);
  }
  return true;
}

bool ConsoleLineStore::Validate(std::string* why) const {
  if (m_rows < 1 || m_cols < 1) return Fail(why, "rows or columns below 1");
  if (m_scrollPos < 1) return Fail(why, "scroll position below 1");
  if (m_write > m_units.size()) return Fail(why, "write index beyond the array");
  if (m_count == 0) {
    if (m_scrollPos != 1 || m_first != 0 || m_last != 0 || m_scrolledBack)
      return Fail(why, "empty store with a view that is not at the start");
    return true;
  }
  std::vector<std::size_t> order;
  if (!ValidateRecords(&order, why)) return false;
  // View: the scroll position is the number of the first visible line; the page holds at most
  // rows lines; while the tail is followed, the newest line is the last visible one.
  auto firstIt = std::find(order.begin(), order.end(), m_first);
  auto lastIt = std::find(order.begin(), order.end(), m_last);
  if (firstIt == order.end() || lastIt == order.end()) return Fail(why, "visible index is not a live record");
  long firstNo = (firstIt - order.begin()) + 1;
  long lastNo = (lastIt - order.begin()) + 1;
  if (firstNo != m_scrollPos) return Fail(why, "scroll position is not the first visible line");
  if (lastNo < firstNo || lastNo - firstNo + 1 > m_rows)
    return Fail(why, "visible page is not 1..rows lines");
  if (!m_scrolledBack) {
    if (m_last != m_newest) return Fail(why, "following the tail but the newest line is not visible");
    if (lastNo - firstNo + 1 != std::min(m_rows, m_count))
      return Fail(why, "following the tail with a short page");
  }
  return true;
}
