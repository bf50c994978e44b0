#include "section/SeismicSection.h"

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "log/Log.h"
#include "log/Status.h"

namespace {
constexpr uint32_t kListDoublingLimit = 1u << 30;

// Next list size after capacity: 4096 first, then doubling, then INT_MAX.
int32_t NextListSize(int32_t capacity, int32_t initial) {
  if (capacity <= 0) return initial;
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
  LogPrint(LogDebug, "destructor SeismicSection: %d tr x %d smp", m_count, m_maxSamples);
  if (m_heapType == 1) LogPrint(LogDebug, "free all traces in Default Heap");
  ClearTraces();
  std::free(m_traces);
  std::free(m_stack);
  std::free(m_offsets);
  std::free(m_ensembles);
  std::free(m_aux);
  std::free(m_extTextHeader);
}

void SeismicSection::ClearTraces() {
  for (int32_t i = 0; i < m_stackCount; ++i) TraceRecord::Free(m_stack[i]);
  m_stackCount = 0;
  for (int32_t i = m_count - 1; i >= 0; --i) {
    TraceRecord::Free(m_traces[i]);
    m_traces[i] = nullptr;
  }
  m_count = 0;
}

int SeismicSection::GrowPointerList() {
  int32_t size = NextListSize(m_capacity, m_initialListSize);
  if (size <= m_capacity) return kStatusNoMemory;
  LogPrint(LogDebug, "GrowPointerList() new size=%u", static_cast<unsigned>(size));
  std::size_t bytes = static_cast<std::size_t>(size) * 8;
  void* grown = std::realloc(m_traces, bytes);
  if (!grown) {
    LogPrint(LogError, "\n\nERROR: malloc failure for %.3lf-MiB trace pointer[%d]\n",
             static_cast<double>(bytes) / 1048576.0, size);
    return kStatusNoMemory;
  }
  m_traces = static_cast<TraceRecord**>(grown);
  for (int32_t i = m_capacity; i < size; ++i) m_traces[i] = nullptr;
  m_capacity = size;
  return 0;
}

int SeismicSection::GrowOffsetList() {
  int32_t size = NextListSize(m_offsetCapacity, m_initialListSize);
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
  if (!m_traces || m_count >= m_capacity) {
    if (GrowPointerList() != 0) {
      TraceRecord::Free(rec);
      return kStatusNoMemory;
    }
  }
  rec->TRF = fileNumber;
  rec->TRNO = m_count + 1;
  rec->LTAG = loadTag;
  rec->AMAX0 = rec->AMAX;
  if (m_count == 0) {
    m_fixedLength = 1;
  } else {
    const TraceRecord* prev = m_traces[m_count - 1];
    if (prev->NS != rec->NS || prev->DT != rec->DT) m_fixedLength = 0;
  }
  m_traces[m_count++] = rec;
  return 0;
}

int SeismicSection::NearestTrace(double x, double y, int mode) const {
  if (m_count <= 0 || mode < 0 || mode > 2) return -1;
  int best = -1;
  double bestD = 0.0;
  for (int32_t i = 0; i < m_count; ++i) {
    const TraceRecord* t = m_traces[i];
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
