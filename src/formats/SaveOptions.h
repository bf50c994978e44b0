// What a writer is asked to write, filled by its caller (Save Dataset, the
// stack save, binning) and partly written back by the SEG-Y trace writer.
// Shared by the SEG-Y, SU and SEG-2 writers.
#pragma once

#include <cstdint>
#include <functional>

struct IIRFilter;

// flags bits
inline constexpr int32_t kSaveStationNumbering = 0x1;  // EP/SP/XLINE from the station numbers
inline constexpr int32_t kSaveHostOrder = 0x10000;     // no byte swapping (SU)
inline constexpr int32_t kSaveSu = 0x20000;            // set with kSaveHostOrder for SU
inline constexpr int32_t kSaveNoExtText = 0x100000;    // never write extended textual headers

// Progress of a write: positions of the chosen list handled so far, and the
// list's length (traces left out count as handled). Called on the writing
// thread, from 0 up to total; must not touch the section.
using SaveProgress = std::function<void(int64_t done, int64_t total)>;

struct SaveOptions {
  uint16_t seg2TraceCount = 0;  // SEG-2 only: sizes the trace pointer subblock
  int32_t timeCrop = 0;         // non-zero: crop every trace to [t0, t1]
  double t0 = 0.0;              // crop window, seconds, on the traces' DELAY axis
  double t1 = 0.0;
  int32_t traceList = 0;              // 0: the section's trace list; non-zero: its stack list
  const IIRFilter* filter = nullptr;  // not null: the samples pass through it (read only)
  int threads = 1;                    // team size for filtering and encoding the traces
  uint8_t revision = 1;               // 1 SEG-Y rev 1; 0 SU; above 1 refused
  int32_t flags = 0;
  SaveProgress progress;  // optional
  // Written back by the trace writer.
  uint16_t fixedLength = 0;       // 1 when every written trace has the same count
  uint16_t samplesPerTrace = 0;   // count of the first written trace
  uint16_t sampleIntervalUs = 0;  // DT word of the first written trace
};

struct TraceRecord;

// First and last sample index a writer takes from a trace. Without cropping
// (or with t1 <= t0, or a trace without a positive interval) the whole trace;
// with cropping the window [t0, t1], t1 rounded up to the next sample when it
// falls between samples. The trace is to be skipped when first >= last.
void CropWindow(const TraceRecord& rec, const SaveOptions& options, int32_t* first, int32_t* last);
