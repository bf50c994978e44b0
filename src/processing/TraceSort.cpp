#include "processing/TraceSort.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

#include "log/Log.h"
#include "log/Status.h"
#include "section/SortKeyTable.h"

namespace {
using Clock = std::chrono::steady_clock;

template <typename T>
T KeyOf(const TraceRecord* r, int32_t offset) {
  T v;
  std::memcpy(&v, reinterpret_cast<const char*>(r) + offset, sizeof v);
  return v;
}

// Strict order with NaN above every number and equal to itself, so that a bad
// float header cannot stall the partition.
template <typename T>
bool Greater(T a, T b) {
  if constexpr (std::is_floating_point_v<T>) {
    if (std::isnan(a)) return !std::isnan(b);
    if (std::isnan(b)) return false;
  }
  return a > b;
}

template <typename T>
bool Same(T a, T b) {
  return !Greater(a, b) && !Greater(b, a);
}

// Quicksort of a slice of trace pointers by one typed key. The partition
// follows one fixed scheme, so results are reproducible though not stable;
// the smaller part recurses so the depth stays logarithmic.
template <typename T>
void QuickSort(TraceRecord** a, int64_t n, int32_t offset, bool descending) {
  auto after = [descending](T x, T y) { return descending ? Greater(y, x) : Greater(x, y); };
  while (n > 1) {
    const T v = KeyOf<T>(a[n / 2], offset);
    int64_t j = 0, i = n - 1;
    while (i >= j) {
      if (!after(v, KeyOf<T>(a[j], offset))) {
        if (after(KeyOf<T>(a[i], offset), v)) {
          --i;
          continue;
        }
        std::swap(a[j], a[i]);
        --i;
      }
      ++j;
    }
    const int64_t left = i + 1, right = n - j;
    if (left < right) {
      QuickSort<T>(a, left, offset, descending);
      a += j;
      n = right;
    } else {
      QuickSort<T>(a + j, right, offset, descending);
      n = left;
    }
  }
}

template <typename T>
int32_t CountChanges(TraceRecord* const* a, int32_t n, int32_t offset) {
  int32_t m = 0;
  for (int32_t i = 1; i < n; ++i)
    if (!Same(KeyOf<T>(a[i - 1], offset), KeyOf<T>(a[i], offset))) ++m;
  return m;
}

// Sorts every ensemble's slice, marks which ensembles split (split = m) and
// returns the ensemble count after splitting.
template <typename T>
int64_t SortAndCount(SeismicSection& s, EnsembleRecord* list, int32_t count, int32_t offset, bool descending,
                     bool split) {
  int64_t total = 0;
  s.ReorderTraces([&](std::span<TraceRecord*> traces) {
    for (int32_t e = 0; e < count; ++e) {
      TraceRecord** slice = traces.data() + list[e].first;
      QuickSort<T>(slice, list[e].count, offset, descending);
      int32_t m = split ? CountChanges<T>(slice, list[e].count, offset) : 0;
      list[e].split = (m > 0 && m < list[e].count / 2) ? m : 0;
      total += list[e].split + 1;
    }
  });
  return total;
}

// Writes the split ensembles of list into out (total records).
template <typename T>
void SplitInto(const SeismicSection& s, const EnsembleRecord* list, int32_t count, int32_t offset,
               bool wholeSection, EnsembleRecord* out) {
  int32_t k = 0;
  for (int32_t e = 0; e < count; ++e) {
    const EnsembleRecord& p = list[e];
    if (p.split == 0) {
      out[k++] = p;
      continue;
    }
    TraceRecord* const* a = s.Traces().data();
    int32_t first = p.first;
    for (int32_t i = p.first + 1; i <= p.first + p.count; ++i) {
      if (i < p.first + p.count && Same(KeyOf<T>(a[i - 1], offset), KeyOf<T>(a[i], offset))) continue;
      double key = wholeSection ? static_cast<double>(KeyOf<T>(a[first], offset)) : p.key;
      out[k++] = EnsembleRecord{first, i - first, 0, key};
      first = i;
    }
  }
}

// One key level: sort every ensemble, then split where allowed. Returns 0 or
// kStatusNoMemory (list unchanged) when the new list cannot be allocated.
template <typename T>
int SortLevel(SeismicSection& s, EnsembleRecord** list, int32_t* count, int32_t offset, bool descending,
              bool split) {
  int64_t total = SortAndCount<T>(s, *list, *count, offset, descending, split);
  if (total == *count) return 0;
  auto* out =
      static_cast<EnsembleRecord*>(std::malloc(static_cast<std::size_t>(total) * sizeof(EnsembleRecord)));
  if (!out) return kStatusNoMemory;
  SplitInto<T>(s, *list, *count, offset, *count == 1, out);
  std::free(*list);
  *list = out;
  *count = static_cast<int32_t>(total);
  return 0;
}

int DispatchLevel(SeismicSection& s, EnsembleRecord** list, int32_t* count, const SortKeyRow& row,
                  bool descending, bool split) {
  switch (row.type) {
    case kTypeU8:
      return SortLevel<uint8_t>(s, list, count, row.field, descending, split);
    case kTypeI16:
      return SortLevel<int16_t>(s, list, count, row.field, descending, split);
    case kTypeI32:
      return SortLevel<int32_t>(s, list, count, row.field, descending, split);
    case kTypeI64:
      return SortLevel<int64_t>(s, list, count, row.field, descending, split);
    case kTypeF32:
      return SortLevel<float>(s, list, count, row.field, descending, split);
    case kTypeF64:
      return SortLevel<double>(s, list, count, row.field, descending, split);
    default:
      return 0;
  }
}

bool ValidParams(const SortParams& p) {
  if (p.keyCount < 1 || p.keyCount > kMaxSortKeys) return false;
  for (int32_t k = 0; k < p.keyCount; ++k) {
    const SortKeyRow* row = FindSortKey(p.keys[k]);
    if (!row || row->type == kTypeNone || row->field < 0) return false;
    if (p.keys[k] == kSortKeyOffsetClass && !(p.classWidth > 0.0f && std::isfinite(p.classWidth)))
      return false;
  }
  return true;
}

void StoreEnsembles(SeismicSection& s, EnsembleRecord* list, int32_t count, int32_t key) {
  s.m_ensembles = list;
  s.m_ensembleCount = count;
  s.m_ensembleKey = key;
  for (int32_t e = 0; e < count; ++e) {
    float peak = 0.0f;
    for (int32_t i = list[e].first; i < list[e].first + list[e].count; ++i)
      peak = std::max(peak, std::fabs(s.Trace(i)->AMAX));
    for (int32_t i = list[e].first; i < list[e].first + list[e].count; ++i) s.Trace(i)->EAMAX = peak;
  }
}

double MsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}
}  // namespace

int SortSection(SeismicSection& s, const SortParams& params) {
  auto start = Clock::now();
  if (s.Count() < 2 || !ValidParams(params)) return kStatusRefused;
  auto* list = static_cast<EnsembleRecord*>(std::malloc(sizeof(EnsembleRecord)));
  if (!list) {
    LogPrint(LogError, "\n\nERROR: SeismicSection::Sort() initialization failed\n");
    ConsoleRaise();
    return kStatusNoMemory;
  }
  std::free(s.m_ensembles);
  s.m_ensembles = nullptr;
  s.m_ensembleCount = 0;
  list[0] = EnsembleRecord{0, s.Count(), 0, 0.0};
  int32_t count = 1, ensembleKey = 0;
  auto sortStart = Clock::now();
  for (int32_t level = 0; level < params.keyCount; ++level) {
    const SortKeyRow& row = *FindSortKey(params.keys[level]);
    if (row.id == kSortKeyOffsetClass) ComputeOffsetClasses(s, params.classWidth);
    bool split = !(level == params.keyCount - 1 && count > 1);
    if (DispatchLevel(s, &list, &count, row, params.directions[level] == kSortDescending, split) != 0) {
      LogPrint(LogError, "\n\nERROR: malloc failure while sorting traces\n");
      ConsoleRaise();
      std::free(list);
      return kStatusNoMemory;
    }
    if (count > 1 && ensembleKey == 0) ensembleKey = row.id;
  }
  if (count < 2) {
    std::free(list);
    return kStatusRefused;
  }
  StoreEnsembles(s, list, count, ensembleKey);
  LogPrint(LogStep, "Sorted %d traces in %.3lf ms   sort=%.3lf ms", s.Count(), MsSince(start),
           MsSince(sortStart));
  return 0;
}

int RevertSort(SeismicSection& section) {
  SortParams p;
  p.keys[0] = kSortKeyTraceNumber;
  p.keyCount = 1;
  return SortSection(section, p);
}

float OffsetClass(float offset, float width) {
  double w = width;
  return static_cast<float>(std::trunc((std::fabs(static_cast<double>(offset)) + w / 2.0) / w) * w);
}

void ComputeOffsetClasses(SeismicSection& s, float width) {
  float lo = 0.0f, hi = 0.0f;
  bool any = false;
  for (int32_t i = 0; i < s.Count(); ++i) {
    float off = s.Trace(i)->OFF;
    if (std::isnan(off)) continue;
    lo = any ? std::min(lo, off) : off;
    hi = any ? std::max(hi, off) : off;
    any = true;
  }
  bool spread = any && static_cast<double>(hi) - lo >= 0.001;
  if (!spread) LogPrint(LogError, "\nWARNING: NO information on source-receiver offset in trace headers\n");
  for (int32_t i = 0; i < s.Count(); ++i)
    s.Trace(i)->OFFCLS = spread ? OffsetClass(s.Trace(i)->OFF, width) : 0.0f;
}

namespace {
bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// The mnemonic between the parentheses of a label, or empty.
std::string_view LabelMnemonic(const char* label) {
  std::string_view l(label);
  std::size_t open = l.rfind('('), close = l.rfind(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) return {};
  return l.substr(open + 1, close - open - 1);
}

const char* FieldNameAt(const SortKeyRow& row) {
  for (const TraceField& f : TraceFields())
    if (static_cast<int32_t>(f.offset) == row.field) return f.name;
  return nullptr;
}
}  // namespace

int FindSortKeyByName(std::string_view name) {
  if (name.empty()) return -1;
  if (name.find_first_not_of("0123456789") == std::string_view::npos && name.size() <= 2) {
    int id = 0;
    for (char c : name) id = id * 10 + (c - '0');
    return id < kSortKeyCount ? id : -1;
  }
  for (const SortKeyRow& row : SortKeyRows()) {
    const char* field = row.field >= 0 ? FieldNameAt(row) : nullptr;
    if (field && EqualNoCase(field, name)) return row.id;
  }
  int found = -1;
  for (const SortKeyRow& row : SortKeyRows())
    if (EqualNoCase(LabelMnemonic(row.label), name)) found = row.id;
  return found;
}

bool ClassWidthVisible(const SortDialogFields& fields) {
  for (int32_t k : fields.keyChoice)
    if (k == kSortKeyOffsetClass) return true;
  return false;
}

bool ReadSortDialog(const SortDialogFields& fields, SortParams* params, std::string* widthShown) {
  bool ok = true;
  const char* begin = fields.widthText.c_str();
  char* end = nullptr;
  double w = std::strtod(begin, &end);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  if (end != begin && *end == '\0' && w > 0.0 && w <= 3.0e38) {
    params->classWidth = static_cast<float>(w);
  } else {
    if (widthShown) *widthShown = StrPrintf("%g", static_cast<double>(params->classWidth));
    if (ClassWidthVisible(fields)) ok = false;
  }
  SortParams next = *params;
  next.keyCount = 0;
  for (int c = 0; c < kMaxSortKeys; ++c) {
    int32_t id = fields.keyChoice[c];
    if (id == 0) continue;
    if (!FindSortKey(id)) return false;
    for (int32_t k = 0; k < next.keyCount; ++k)
      if (next.keys[k] == id) return false;
    next.keys[next.keyCount] = id;
    next.directions[next.keyCount] =
        fields.direction[c] == kSortDescending ? kSortDescending : kSortAscending;
    ++next.keyCount;
  }
  if (next.keyCount == 0 || !ok) return false;
  for (int32_t k = next.keyCount; k < kMaxSortKeys; ++k) next.keys[k] = 0;
  *params = next;
  return true;
}
