#include "formats/TraceHeap.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define KX_TRACE_HEAP 1
#endif

namespace {
constexpr int64_t kMinimumBytes = 64LL << 20;
constexpr int kGrowStep = 32 << 20;
constexpr int kDefaultTopPad = 128 << 10;  // the C library's own default
constexpr uintptr_t kHugePage = 2u << 20;
}  // namespace

TraceHeap::TraceHeap(int64_t expectedBytes) {
#ifdef KX_TRACE_HEAP
  if (expectedBytes < kMinimumBytes) return;
  if (mallopt(M_TOP_PAD, kGrowStep) != 1) return;
  m_active = true;
  m_marked = reinterpret_cast<uintptr_t>(sbrk(0));
#else
  (void)expectedBytes;
#endif
}

TraceHeap::~TraceHeap() {
#ifdef KX_TRACE_HEAP
  if (m_active) mallopt(M_TOP_PAD, kDefaultTopPad);
#endif
}

void TraceHeap::AfterAllocation() {
#ifdef KX_TRACE_HEAP
  if (!m_active) return;
  uintptr_t end = reinterpret_cast<uintptr_t>(sbrk(0));
  if (end <= m_marked) return;
  uintptr_t start = (m_marked + kHugePage - 1) & ~(kHugePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
  m_marked = end;
#endif
}
