// Makes the heap that trace records come from use transparent huge pages
// while a large file is read. Each record stays its own malloc allocation;
// only the way the memory behind them is faulted in changes: page faults are
// a large part of a load where each one is expensive (virtual machines), and
// a 2 MiB page needs one fault where 4 KiB pages need 512.
//
// While it lives, the heap grows in steps of kGrowStep and every new step is
// marked for huge pages. No-op where the C library or the kernel lack the means.
// The step is a process-wide setting of the C library, so the loading step
// (LoadFileList) owns the one object of a load; readers only mark growth
// through LoadParams::heap.
#pragma once

#include <cstdint>

class TraceHeap {
 public:
  // expectedBytes: about what the load will take; small loads change nothing.
  explicit TraceHeap(int64_t expectedBytes);
  ~TraceHeap();
  TraceHeap(const TraceHeap&) = delete;
  TraceHeap& operator=(const TraceHeap&) = delete;

  // Call after each allocation: marks heap growth since the last call.
  void AfterAllocation();

 private:
  bool m_active = false;
  uintptr_t m_marked = 0;  // end of the heap already marked
};
