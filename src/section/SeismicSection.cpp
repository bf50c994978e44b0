#include "section/SeismicSection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "log/Log.h"
#include "log/Status.h"

namespace {
constexpr uint32_t kListDoublingLimit = 1u << 30;
constexpr int32_t kInitialListSize = 4096;

// Next list size after capacity: 4096 first, then doubling, then INT_MAX.
int32_t NextListSize(int32_t capacity) {
  if (capacity <= 0) return kInitialListSize;
  if (static_cast<uint32_t>(capacity) < kListDoublingLimit) return capacity * 2;
  return 2147483647;
}
}  // namespace

SeismicSection::SeismicSection(int heapType) : m_heapType(heapType) {
  LogPrint(LogDebug, "\nconstructor SeismicSection(type=%d)", heapType);
  if (heapType == 1) LogPrint(LogDebug, "using Default Heap");
  SetDefaultTextualHeader();
}

SeismicSection::~SeismicSection() {
  LogPrint(LogDebug, "destructor SeismicSection: %d tr x %d smp", Count(), m_summary.maxSamples);
  if (m_heapType == 1) LogPrint(LogDebug, "free all traces in Default Heap");
  ClearTraces();
  std::free(m_offsets);
  std::free(m_ensembles);
  std::free(m_extTextHeader);
}

void SeismicSection::ClearTraces() {
  m_stack.Clear();
  m_traces.Clear();
}

int SeismicSection::GrowTraceList() {
  const int32_t capacity = static_cast<int32_t>(std::min<std::size_t>(m_traces.Capacity(), 2147483647));
  int32_t size = NextListSize(capacity);
  if (size <= capacity) return kStatusNoMemory;
  LogPrint(LogDebug, "GrowPointerList() new size=%u", static_cast<unsigned>(size));
  if (m_traces.Reserve(static_cast<std::size_t>(size)) != 0) {
    std::size_t bytes = static_cast<std::size_t>(size) * 8;
    LogPrint(LogError, "\n\nERROR: malloc failure for %.3lf-MiB trace pointer[%d]\n",
             static_cast<double>(bytes) / 1048576.0, size);
    return kStatusNoMemory;
  }
  return 0;
}

int SeismicSection::ReserveTraces(int32_t more) {
  while (static_cast<int64_t>(m_traces.Capacity()) - Count() < more)
    if (GrowTraceList() != 0) return kStatusNoMemory;
  return 0;
}

int SeismicSection::GrowOffsetList() {
  int32_t size = NextListSize(m_offsetCapacity);
  if (size <= m_offsetCapacity) return kStatusNoMemory;
  LogPrint(LogDebug, "GrowOffsetList() new size=%u", static_cast<unsigned>(size));
  std::size_t bytes = static_cast<std::size_t>(size) * 8;
  void* grown = std::realloc(m_offsets, bytes);
  if (!grown) {
    LogPrint(LogError, "\n\nERROR: malloc failure for %.3lf-MiB trace offset[%d]\n",
             static_cast<double>(bytes) / 1048576.0, size);
    return kStatusNoMemory;
  }
  m_offsets = static_cast<int64_t*>(grown);
  for (int32_t i = m_offsetCapacity; i < size; ++i) m_offsets[i] = -1;
  m_offsetCapacity = size;
  return 0;
}

int SeismicSection::AppendTrace(TraceRecord* rec, int32_t fileNumber, int32_t loadTag) {
  rec->TRF = fileNumber;
  rec->TRNO = Count() + 1;
  rec->LTAG = loadTag;
  rec->AMAX0 = rec->AMAX;
  return AppendAsRead(rec);
}

int SeismicSection::AppendAsRead(TraceRecord* rec) {
  TraceRecordPtr owned(rec);
  if (ReserveTraces(1) != 0) return kStatusNoMemory;
  const int32_t count = Count();
  if (count == 0) {
    m_fixedLength = 1;
  } else {
    const TraceRecord* prev = m_traces[static_cast<std::size_t>(count - 1)];
    if (prev->NS != rec->NS || prev->DT != rec->DT) m_fixedLength = 0;
  }
  return m_traces.Append(std::move(owned));
}

void SeismicSection::UpdateFixedLength() {
  const std::span<TraceRecord* const> t = Traces();
  int32_t fixed = t.empty() ? 0 : 1;
  for (std::size_t i = 1; i < t.size() && fixed; ++i)
    if (!t[i - 1] || !t[i] || t[i - 1]->NS != t[i]->NS || t[i - 1]->DT != t[i]->DT) fixed = 0;
  m_fixedLength = fixed;
}

int SeismicSection::NearestTrace(double x, double y, int mode) const {
  if (Count() <= 0 || mode < 0 || mode > 2) return -1;
  int best = -1;
  double bestD = 0.0;
  for (int32_t i = 0; i < Count(); ++i) {
    const TraceRecord* t = Trace(i);
    if (!t) continue;
    double px = mode == 0 ? t->CDPX : mode == 1 ? t->SX : t->RX;
    double py = mode == 0 ? t->CDPY : mode == 1 ? t->SY : t->RY;
    double d = (px - x) * (px - x) + (py - y) * (py - y);
    if (best < 0 || d < bestD) {
      best = i;
      bestD = d;
    }
  }
  return best;
}

void SeismicSection::SetDefaultTextualHeader() {
  std::memset(m_textualHeader, ' ', sizeof m_textualHeader);
  for (int k = 1; k <= 40; ++k) {
    char* line = m_textualHeader + (k - 1) * 80;
    char tag[8];
    std::snprintf(tag, sizeof tag, "C%02d", k);
    std::memcpy(line, tag, 3);
  }
  std::memcpy(m_textualHeader + 38 * 80 + 4, "SEG Y REV1", 10);
  std::memcpy(m_textualHeader + 39 * 80 + 4, "END TEXTUAL HEADER", 18);
}

void SampleStatistics(const float* s, int32_t n, double* sumAbs, double* sumSq) {
  double a = 0.0, q = 0.0;
  for (int32_t i = 0; i < n; ++i) {
    double v = s[i];
    a += std::fabs(v);
    q += v * v;
  }
  *sumAbs = a;
  *sumSq = q;
}
