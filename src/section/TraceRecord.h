// The in-memory trace record: a 448-byte header followed by DIM float samples,
// in one allocation. The byte layout is ours and fixed: the header word tables
// address fields by type and offset, and native KXF files hold records byte for
// byte. Times are seconds; coordinates in the unit of CUNIT/MSYS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct TraceRecord {
  int32_t DIM;       // sample slots allocated: max(NS, 2)
  int32_t NS;        // number of samples
  double DT;         // sampling interval, s
  double DELAY;      // time of the first sample, s
  float AMAX;        // largest absolute sample value
  float DNORM;       // display normaliser, written by the trace view
  int64_t FLDR;      // field record number
  int32_t ESP;       // energy source point number
  int32_t CHAN;      // channel
  int32_t CABLE;     // cable or recording device
  float OFF;         // source-receiver offset
  float OFFCLS;      // absolute-offset class (sort)
  uint8_t OMIT;      // non-zero: left out when written
  uint8_t SEIS;      // 1 when TRID counts as seismic (scan)
  uint8_t flags[2];  // zero
  int32_t CDP;
  int32_t CDPT;
  int32_t ILINE;
  int32_t XLINE;
  double RLINE;
  double RSTA;
  double SLINE;
  double SSTA;
  int32_t DTID;
  int16_t TRID;
  int16_t NVS;
  int16_t NHS;
  uint8_t CUNIT;  // 1 length, 3 decimal degrees
  uint8_t TBAS;
  uint8_t MSYS;   // 1 meters, 2 feet
  uint8_t MSYS0;  // measurement system as read
  uint8_t DUSE;
  uint8_t CORR;
  double SX;
  double SY;
  float SZ;
  float SZDAT;
  float SDEP;
  float SWDEP;
  double RX;
  double RY;
  float RZ;
  float RZDAT;
  float RDEP;
  float RWDEP;
  double CDPX;
  double CDPY;
  uint8_t reserved208[8];
  int16_t BSEG;   // profile segment of a binned trace copy
  int16_t BPROJ;  // projection counter while binning
  float SUHT;
  float RUHT;
  float SSTAT;
  float RSTAT;
  float TSTAT;
  float SMUTE;
  float EMUTE;
  float WVEL;
  float SWVEL;
  double DESCAL;  // descaling factor of the samples, 1.0 unless given
  int32_t NANO;
  int16_t YEAR;
  int16_t DAY;
  uint8_t MDAY;
  uint8_t MONTH;
  uint8_t HOUR;
  uint8_t MINUTE;
  uint8_t SEC;
  uint8_t reserved277;
  uint8_t ARM;
  uint8_t BGR;
  int32_t TRF;   // 1-based number of the file the trace came from
  int32_t TRNO;  // 1-based original sequence number in the section
  float AAF;
  float AAS;
  float LCF;
  float LCS;
  float HCF;
  float HCS;
  float NOF;
  float NOS;
  float SWFS;
  float SWFE;
  float SWLEN;
  float TAPLS;
  float TAPLE;
  int16_t SWTYP;
  int16_t TAPTY;
  int32_t TRACF;
  int32_t TRACR;
  int32_t TRDMAN;
  int16_t TRDEXP;
  int16_t TRDUN;
  int16_t IGT;
  int16_t IGC;
  int16_t IGI;
  int16_t TRWF;
  int16_t TVMU;
  int16_t SMUN;
  int32_t SMMAN;
  int16_t SMEXP;
  int16_t STYPOR;
  int16_t SEDIR1;
  int16_t SEDIR2;
  int16_t SEDIR3;
  uint8_t reserved386[2];
  float LAGA;
  float LAGB;
  uint8_t reserved396[16];
  float TAMAX;    // time of the AMAX sample: index*DT + DELAY
  float AMAX0;    // AMAX as read
  float EAMAX;    // ensemble maximum (sort)
  int32_t LTAG;   // load tag of the caller
  uint8_t SDIR;   // strike direction: 0 up, 1 down, 2 P-wave
  uint8_t TSKIP;  // 1: trace to be skipped (stack leaves it out)
  uint8_t loadOptions[2];
  uint8_t reserved432[16];

  float* Samples() { return reinterpret_cast<float*>(this + 1); }
  const float* Samples() const { return reinterpret_cast<const float*>(this + 1); }

  // One zeroed allocation for a record of max(ns, 2) sample slots, DIM and NS
  // set, DESCAL 1. Returns null on failure or when ns is negative.
  static TraceRecord* Allocate(int32_t ns);
  // A copy of a record with its samples (DIM slots); null on failure.
  static TraceRecord* Clone(const TraceRecord* src);
  static void Free(TraceRecord* rec);
  // Bytes of one allocation for ns samples.
  static std::size_t AllocationSize(int32_t ns);

  // Recomputes AMAX and TAMAX from the samples (first index of each extreme
  // wins; the maximum wins ties of magnitude). NS 0 leaves both 0.
  void UpdatePeak();
};

inline constexpr std::size_t kTraceHeaderBytes = 448;
static_assert(sizeof(TraceRecord) == kTraceHeaderBytes);

// Frees a record the way it was allocated (TraceRecord::Allocate or Clone).
struct TraceRecordDeleter {
  void operator()(TraceRecord* rec) const noexcept { TraceRecord::Free(rec); }
};
// One record owned on its own, e.g. on its way into a section's list.
using TraceRecordPtr = std::unique_ptr<TraceRecord, TraceRecordDeleter>;

// Peak of a sample array: AMAX, and the index of the sample that gives it.
void FindPeak(const float* s, int32_t n, float* amax, int32_t* index);
