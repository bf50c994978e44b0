// One loaded dataset: the trace list, the file headers of the first file that
// yielded traces, and the summary kept by Scan().
//
// Owns every trace record, the lists and the header copies. Used from one
// thread at a time; parallel loops may touch different traces but never grow
// or shrink the lists. Functions return the status codes of the project
// (0 success, kStatusNoMemory allocation failure) and never throw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "section/TraceRecord.h"

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

// Minimum and maximum ([0], [1]) of the main header words.
struct HeaderRanges {
  int64_t FLDR[2];
  int32_t CHAN[2], NVS[2], NHS[2], CDP[2], CDPT[2], ILINE[2], XLINE[2], ESP[2];
  double SSTA[2], RSTA[2];
  float OFF[2];
  double SX[2], SY[2], RX[2], RY[2], CDPX[2], CDPY[2];
  float SZ[2], RZ[2];
};

// The undefined double: a value is defined when it differs from it.
inline constexpr double DBLE_UNDEF = 2.2250738585072014e-308;

inline constexpr int kBinaryHeaderBytes = 400;
inline constexpr int kTextualHeaderBytes = 3200;
// Positions in the binary header copy (0-based) that the section uses for itself.
inline constexpr int kBfhByteOrderPos = 396;   // 1 little-endian, 2 big-endian
inline constexpr int kBfhFileTypePos = 397;    // FileType
inline constexpr int kBfhFixedLengthPos = 398; // reader flag: binary NS/DT apply to every trace

class SeismicSection {
 public:
  // heapType 1: every trace its own allocation; 2: header-scan section holding
  // only the offset list.
  explicit SeismicSection(int heapType = 1);
  ~SeismicSection();
  SeismicSection(const SeismicSection&) = delete;
  SeismicSection& operator=(const SeismicSection&) = delete;

  // Doubles the trace list (4096 first); 0, or kStatusNoMemory with the list unchanged.
  int GrowPointerList();
  // The same growth for the offset list; new slots hold -1.
  int GrowOffsetList();

  // Appends a record made by TraceRecord::Allocate and takes ownership: stamps
  // TRF = fileNumber, TRNO = position + 1, LTAG = loadTag, AMAX0 = AMAX and
  // keeps the fixed-length flag. Returns 0, or kStatusNoMemory (the record is freed).
  int AppendTrace(TraceRecord* rec, int32_t fileNumber, int32_t loadTag);

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

  TraceRecord* Trace(int i) const { return m_traces[i]; }
  int Count() const { return m_count; }
  int FileType() const { return m_binaryHeader[kBfhFileTypePos]; }
  int ByteOrder() const { return m_binaryHeader[kBfhByteOrderPos]; }

  // Lists.
  TraceRecord** m_traces = nullptr;
  int64_t* m_offsets = nullptr;
  int32_t m_capacity = 0;
  int32_t m_count = 0;
  int32_t m_offsetCapacity = 0;
  int32_t m_heapType = 1;
  int32_t m_initialListSize = 4096;

  // Ensembles of the current sort.
  EnsembleRecord* m_ensembles = nullptr;
  int32_t m_ensembleCount = 0;
  int32_t m_ensembleKey = 0;

  // Stacked traces built by the selective stack.
  TraceRecord** m_stack = nullptr;
  int32_t m_stackCount = 0;
  int32_t m_stackCapacity = 0;

  void* m_aux = nullptr;

  // Summary.
  int32_t m_fixedLength = 0;
  int32_t m_maxSamples = 0;
  double m_minInterval = 0.0;
  double m_minTime = 0.0;
  double m_maxTime = 0.0;
  float m_maxAmplitude = 0.0f;
  int32_t m_timeUnitMode = 2;
  int32_t m_timeUnitCode = 1;  // 1 ms, 2 µs, 4 ns
  double m_timeFactor = 1000.0;
  std::string m_timeUnitLabel = "ms";
  double m_axisTimeFactor = 1000.0;
  std::string m_axisTimeUnitLabel = "ms";
  double m_distanceFactor = 1000.0;
  std::string m_distanceUnitLabel = "m";
  // Trace counts of the last scan.
  int32_t m_seismicCount = 0;
  int32_t m_unknownCount = 0;

  // File headers of the first file that yielded traces.
  uint8_t m_binaryHeader[kBinaryHeaderBytes] = {};
  char m_textualHeader[kTextualHeaderBytes] = {};
  uint8_t* m_extTextHeader = nullptr;  // m_extTextCount blocks of 3200 bytes
  int32_t m_extTextCount = 0;

  HeaderRanges m_ranges = {};
  std::string m_sectionInfo;
  int32_t m_basemapFlag = 1;
  std::string m_fileName;
};

// Sum of |s| and of s*s over samples [first, first+n), in double precision.
void SampleStatistics(const float* s, int32_t n, double* sumAbs, double* sumSq);
