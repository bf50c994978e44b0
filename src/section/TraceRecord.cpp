// Trace record allocation and peak search. The offsets below pin the record
// layout that the header word tables and native files rely on.
#include "section/TraceRecord.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

static_assert(offsetof(TraceRecord, DIM) == 0);
static_assert(offsetof(TraceRecord, NS) == 4);
static_assert(offsetof(TraceRecord, DT) == 8);
static_assert(offsetof(TraceRecord, DELAY) == 16);
static_assert(offsetof(TraceRecord, AMAX) == 24);
static_assert(offsetof(TraceRecord, DNORM) == 28);
static_assert(offsetof(TraceRecord, FLDR) == 32);
static_assert(offsetof(TraceRecord, ESP) == 40);
static_assert(offsetof(TraceRecord, CHAN) == 44);
static_assert(offsetof(TraceRecord, CABLE) == 48);
static_assert(offsetof(TraceRecord, OFF) == 52);
static_assert(offsetof(TraceRecord, OFFCLS) == 56);
static_assert(offsetof(TraceRecord, OMIT) == 60);
static_assert(offsetof(TraceRecord, SEIS) == 61);
static_assert(offsetof(TraceRecord, flags) == 62);
static_assert(offsetof(TraceRecord, CDP) == 64);
static_assert(offsetof(TraceRecord, CDPT) == 68);
static_assert(offsetof(TraceRecord, ILINE) == 72);
static_assert(offsetof(TraceRecord, XLINE) == 76);
static_assert(offsetof(TraceRecord, RLINE) == 80);
static_assert(offsetof(TraceRecord, RSTA) == 88);
static_assert(offsetof(TraceRecord, SLINE) == 96);
static_assert(offsetof(TraceRecord, SSTA) == 104);
static_assert(offsetof(TraceRecord, DTID) == 112);
static_assert(offsetof(TraceRecord, TRID) == 116);
static_assert(offsetof(TraceRecord, NVS) == 118);
static_assert(offsetof(TraceRecord, NHS) == 120);
static_assert(offsetof(TraceRecord, CUNIT) == 122);
static_assert(offsetof(TraceRecord, TBAS) == 123);
static_assert(offsetof(TraceRecord, MSYS) == 124);
static_assert(offsetof(TraceRecord, MSYS0) == 125);
static_assert(offsetof(TraceRecord, DUSE) == 126);
static_assert(offsetof(TraceRecord, CORR) == 127);
static_assert(offsetof(TraceRecord, SX) == 128);
static_assert(offsetof(TraceRecord, SY) == 136);
static_assert(offsetof(TraceRecord, SZ) == 144);
static_assert(offsetof(TraceRecord, SZDAT) == 148);
static_assert(offsetof(TraceRecord, SDEP) == 152);
static_assert(offsetof(TraceRecord, SWDEP) == 156);
static_assert(offsetof(TraceRecord, RX) == 160);
static_assert(offsetof(TraceRecord, RY) == 168);
static_assert(offsetof(TraceRecord, RZ) == 176);
static_assert(offsetof(TraceRecord, RZDAT) == 180);
static_assert(offsetof(TraceRecord, RDEP) == 184);
static_assert(offsetof(TraceRecord, RWDEP) == 188);
static_assert(offsetof(TraceRecord, CDPX) == 192);
static_assert(offsetof(TraceRecord, CDPY) == 200);
static_assert(offsetof(TraceRecord, reserved208) == 208);
static_assert(offsetof(TraceRecord, BSEG) == 216);
static_assert(offsetof(TraceRecord, BPROJ) == 218);
static_assert(offsetof(TraceRecord, SUHT) == 220);
static_assert(offsetof(TraceRecord, RUHT) == 224);
static_assert(offsetof(TraceRecord, SSTAT) == 228);
static_assert(offsetof(TraceRecord, RSTAT) == 232);
static_assert(offsetof(TraceRecord, TSTAT) == 236);
static_assert(offsetof(TraceRecord, SMUTE) == 240);
static_assert(offsetof(TraceRecord, EMUTE) == 244);
static_assert(offsetof(TraceRecord, WVEL) == 248);
static_assert(offsetof(TraceRecord, SWVEL) == 252);
static_assert(offsetof(TraceRecord, DESCAL) == 256);
static_assert(offsetof(TraceRecord, NANO) == 264);
static_assert(offsetof(TraceRecord, YEAR) == 268);
static_assert(offsetof(TraceRecord, DAY) == 270);
static_assert(offsetof(TraceRecord, MDAY) == 272);
static_assert(offsetof(TraceRecord, MONTH) == 273);
static_assert(offsetof(TraceRecord, HOUR) == 274);
static_assert(offsetof(TraceRecord, MINUTE) == 275);
static_assert(offsetof(TraceRecord, SEC) == 276);
static_assert(offsetof(TraceRecord, reserved277) == 277);
static_assert(offsetof(TraceRecord, ARM) == 278);
static_assert(offsetof(TraceRecord, BGR) == 279);
static_assert(offsetof(TraceRecord, TRF) == 280);
static_assert(offsetof(TraceRecord, TRNO) == 284);
static_assert(offsetof(TraceRecord, AAF) == 288);
static_assert(offsetof(TraceRecord, AAS) == 292);
static_assert(offsetof(TraceRecord, LCF) == 296);
static_assert(offsetof(TraceRecord, LCS) == 300);
static_assert(offsetof(TraceRecord, HCF) == 304);
static_assert(offsetof(TraceRecord, HCS) == 308);
static_assert(offsetof(TraceRecord, NOF) == 312);
static_assert(offsetof(TraceRecord, NOS) == 316);
static_assert(offsetof(TraceRecord, SWFS) == 320);
static_assert(offsetof(TraceRecord, SWFE) == 324);
static_assert(offsetof(TraceRecord, SWLEN) == 328);
static_assert(offsetof(TraceRecord, TAPLS) == 332);
static_assert(offsetof(TraceRecord, TAPLE) == 336);
static_assert(offsetof(TraceRecord, SWTYP) == 340);
static_assert(offsetof(TraceRecord, TAPTY) == 342);
static_assert(offsetof(TraceRecord, TRACF) == 344);
static_assert(offsetof(TraceRecord, TRACR) == 348);
static_assert(offsetof(TraceRecord, TRDMAN) == 352);
static_assert(offsetof(TraceRecord, TRDEXP) == 356);
static_assert(offsetof(TraceRecord, TRDUN) == 358);
static_assert(offsetof(TraceRecord, IGT) == 360);
static_assert(offsetof(TraceRecord, IGC) == 362);
static_assert(offsetof(TraceRecord, IGI) == 364);
static_assert(offsetof(TraceRecord, TRWF) == 366);
static_assert(offsetof(TraceRecord, TVMU) == 368);
static_assert(offsetof(TraceRecord, SMUN) == 370);
static_assert(offsetof(TraceRecord, SMMAN) == 372);
static_assert(offsetof(TraceRecord, SMEXP) == 376);
static_assert(offsetof(TraceRecord, STYPOR) == 378);
static_assert(offsetof(TraceRecord, SEDIR1) == 380);
static_assert(offsetof(TraceRecord, SEDIR2) == 382);
static_assert(offsetof(TraceRecord, SEDIR3) == 384);
static_assert(offsetof(TraceRecord, LAGA) == 388);
static_assert(offsetof(TraceRecord, LAGB) == 392);
static_assert(offsetof(TraceRecord, reserved396) == 396);
static_assert(offsetof(TraceRecord, TAMAX) == 412);
static_assert(offsetof(TraceRecord, AMAX0) == 416);
static_assert(offsetof(TraceRecord, EAMAX) == 420);
static_assert(offsetof(TraceRecord, LTAG) == 424);
static_assert(offsetof(TraceRecord, SDIR) == 428);
static_assert(offsetof(TraceRecord, TSKIP) == 429);
static_assert(offsetof(TraceRecord, loadOptions) == 430);
static_assert(offsetof(TraceRecord, reserved432) == 432);

std::size_t TraceRecord::AllocationSize(int32_t ns) {
  std::size_t dim = static_cast<std::size_t>(ns < 2 ? 2 : ns);
  return kTraceHeaderBytes + dim * sizeof(float);
}

TraceRecord* TraceRecord::Allocate(int32_t ns) {
  if (ns < 0) return nullptr;
  std::size_t bytes = AllocationSize(ns);
  auto* rec = static_cast<TraceRecord*>(std::calloc(1, bytes));
  if (!rec) return nullptr;
  rec->DIM = ns < 2 ? 2 : ns;
  rec->NS = ns;
  rec->DESCAL = 1.0;
  return rec;
}

TraceRecord* TraceRecord::Clone(const TraceRecord* src) {
  std::size_t bytes = AllocationSize(src->DIM);
  auto* rec = static_cast<TraceRecord*>(std::malloc(bytes));
  if (rec) std::memcpy(rec, src, bytes);
  return rec;
}

void TraceRecord::Free(TraceRecord* rec) {
  std::free(rec);
}

void FindPeak(const float* s, int32_t n, float* amax, int32_t* index) {
  // Non-finite samples (NaN, infinity from a damaged file) are no peak: one of them would make
  // every scale and spectrum built on AMAX meaningless. None finite: 0 at index 0.
  int32_t first = 0;
  while (first < n && !std::isfinite(s[first])) ++first;
  if (first >= n) {
    *amax = 0.0f;
    *index = 0;
    return;
  }
  float vmax = s[first], vmin = s[first];
  int32_t imax = first, imin = first;
  for (int32_t i = first + 1; i < n; ++i) {
    if (s[i] > vmax) {
      if (std::isinf(s[i])) continue;
      vmax = s[i];
      imax = i;
    } else if (s[i] < vmin) {
      if (std::isinf(s[i])) continue;
      vmin = s[i];
      imin = i;
    }
  }
  if (std::fabs(vmax) >= std::fabs(vmin)) {
    *amax = std::fabs(vmax);
    *index = imax;
  } else {
    *amax = std::fabs(vmin);
    *index = imin;
  }
}

void TraceRecord::UpdatePeak() {
  if (NS <= 0) {
    AMAX = 0.0f;
    TAMAX = 0.0f;
    return;
  }
  int32_t index = 0;
  FindPeak(Samples(), NS, &AMAX, &index);
  TAMAX = static_cast<float>(index * DT + DELAY);
}
