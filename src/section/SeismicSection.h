// One loaded dataset: the trace list, the file headers of the first file that
// yielded traces, and the summary kept by Scan().
//
// Owns every trace record (the trace list and the stack list), the offset
// list and the header copies. Callers see the lists read-only; the records in
// them stay mutable where processing edits samples in place. Used from one
// thread at a time; parallel loops may touch or replace different traces but
// never grow or shrink the lists. Functions return the status codes of the
// project (0 success, kStatusNoMemory allocation failure) and never throw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "section/SectionSummary.h"
#include "section/TraceRecord.h"
#include "section/TraceRecordList.h"

// File type codes, also stored in byte 398 of the binary header copy.
enum FileType : int {
  kFileUnknown = 0,
  kFileSegy = 1,
  kFileSu = 2,
  kFileSeg2 = 3,
  kFileSegd = 4,
  kFileKxf = 5,
  kFileQlmVms = 20,
};

// Byte order codes stored in byte 397 of the binary header copy.
enum ByteOrderCode : uint8_t { kLittleEndian = 1, kBigEndian = 2 };

// One ensemble of the current sort.
struct EnsembleRecord {
  int32_t first;  // position of its first trace
  int32_t count;  // number of traces
  int32_t split;  // split count
  double key;     // key value
};
static_assert(sizeof(EnsembleRecord) == 24);

// The undefined double: a value is defined when it differs from it.
inline constexpr double DBLE_UNDEF = 2.2250738585072014e-308;

inline constexpr int kBinaryHeaderBytes = 400;
inline constexpr int kTextualHeaderBytes = 3200;
// Positions in the binary header copy (0-based) that the section uses for itself.
inline constexpr int kBfhByteOrderPos = 396;    // 1 little-endian, 2 big-endian
inline constexpr int kBfhFileTypePos = 397;     // FileType
inline constexpr int kBfhFixedLengthPos = 398;  // reader flag: binary NS/DT apply to every trace

class SeismicSection {
 public:
  // heapType 1: every trace its own allocation; 2: header-scan section holding
  // only the offset list.
  explicit SeismicSection(int heapType = 1);
  ~SeismicSection();
  SeismicSection(const SeismicSection&) = delete;
  SeismicSection& operator=(const SeismicSection&) = delete;

  // The same growth as the trace list's for the offset list; new slots hold -1.
  int GrowOffsetList();

  // Appends a record made by TraceRecord::Allocate and takes ownership: stamps
  // TRF = fileNumber, TRNO = position + 1, LTAG = loadTag, AMAX0 = AMAX and
  // keeps the fixed-length flag. Returns 0, or kStatusNoMemory (the record is freed).
  int AppendTrace(TraceRecord* rec, int32_t fileNumber, int32_t loadTag);
  // Appends a record as it was written (no stamping), keeping the
  // fixed-length flag. 0, or kStatusNoMemory (the record is freed).
  int AppendAsRead(TraceRecord* rec);
  // Grows the list so that `more` appends cannot fail. 0, or kStatusNoMemory (unchanged).
  int ReserveTraces(int32_t more);
  // Puts rec (may be null) at position i and frees the record that was there.
  // Different positions may be replaced from parallel threads.
  void ReplaceTrace(int32_t i, TraceRecordPtr rec) {
    m_traces.Replace(static_cast<std::size_t>(i), std::move(rec));
  }
  // Replaces the whole list; the old records are freed.
  void ReplaceTraces(TraceRecordList traces) { m_traces = std::move(traces); }
  // Lets `permute` reorder the trace list in place (sorts); it may only
  // exchange entries.
  template <typename Permute>
  void ReorderTraces(Permute&& permute) {
    m_traces.Reorder(std::forward<Permute>(permute));
  }

  // Recomputes the summary, the header word ranges and the Section Info text.
  // Returns the number of traces with positive DT and NS.
  int Scan();

  // Index of the trace nearest to (x, y): mode 0 CDP, 1 source, 2 receiver
  // position. First wins ties; -1 when empty or mode unknown.
  int NearestTrace(double x, double y, int mode) const;

  // Fills the textual header with the default 40 lines.
  void SetDefaultTextualHeader();

  // Frees all traces and stacked traces and empties the lists.
  void ClearTraces();

  std::span<TraceRecord* const> Traces() const { return m_traces.View(); }
  TraceRecord* Trace(int i) const { return m_traces[static_cast<std::size_t>(i)]; }
  int Count() const { return m_traces.Count(); }
  // Slots the trace list holds before it must grow (4096 first, then doubling).
  std::size_t Capacity() const { return m_traces.Capacity(); }
  int FileType() const { return m_binaryHeader[kBfhFileTypePos]; }
  int ByteOrder() const { return m_binaryHeader[kBfhByteOrderPos]; }

  // The stacked traces built by the selective stack (view, take, give back).
  std::span<TraceRecord* const> Stack() const { return m_stack.View(); }
  int StackCount() const { return m_stack.Count(); }
  TraceRecordList TakeStack() { return std::move(m_stack); }
  void GiveStack(TraceRecordList stack) { m_stack = std::move(stack); }

  // The summary of the last Scan().
  const SectionSummary& Summary() const { return m_summary; }
  // A reader that knows the largest amplitude before the scan raises it here.
  void RaiseMaxAmplitude(float amplitude) {
    if (amplitude > m_summary.maxAmplitude) m_summary.maxAmplitude = amplitude;
  }
  // 1 while every trace appended so far shares the first one's NS and DT.
  int32_t FixedLength() const { return m_fixedLength; }
  // Rechecks the fixed-length flag over the whole list (after a resampling).
  void UpdateFixedLength();

  std::span<const EnsembleRecord> Ensembles() const {
    return m_ensembles
               ? std::span<const EnsembleRecord>(m_ensembles, static_cast<std::size_t>(m_ensembleCount))
               : std::span<const EnsembleRecord>();
  }

  // Offsets of the traces of a header-scan section.
  int64_t* m_offsets = nullptr;
  int32_t m_offsetCapacity = 0;
  int32_t m_heapType = 1;

  // Ensembles of the current sort.
  EnsembleRecord* m_ensembles = nullptr;
  int32_t m_ensembleCount = 0;
  int32_t m_ensembleKey = 0;

  // File headers of the first file that yielded traces.
  uint8_t m_binaryHeader[kBinaryHeaderBytes] = {};
  char m_textualHeader[kTextualHeaderBytes] = {};
  uint8_t* m_extTextHeader = nullptr;  // m_extTextCount blocks of 3200 bytes
  int32_t m_extTextCount = 0;

  std::string m_sectionInfo;
  std::string m_fileName;
  // The header byte map the SEG-Y/SU readers applied ("CDP=189:i32, ..."), empty without one;
  // Section Info shows it.
  std::string m_headerMapping;

 private:
  int GrowTraceList();

  TraceRecordList m_traces;
  TraceRecordList m_stack;
  int32_t m_fixedLength = 0;
  SectionSummary m_summary;
};

// Sum of |s| and of s*s over samples [first, first+n), in double precision.
void SampleStatistics(const float* s, int32_t n, double* sumAbs, double* sumSq);
