#include "section/TraceFields.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {
#define KX_FIELD(name, type)                 \
  TraceField {                               \
#name, type, offsetof(TraceRecord, name) \
  }
const TraceField kFields[] = {
    KX_FIELD(DIM, kTypeI32),    KX_FIELD(NS, kTypeI32),     KX_FIELD(DT, kTypeF64),
    KX_FIELD(DELAY, kTypeF64),  KX_FIELD(AMAX, kTypeF32),   KX_FIELD(DNORM, kTypeF32),
    KX_FIELD(FLDR, kTypeI64),   KX_FIELD(ESP, kTypeI32),    KX_FIELD(CHAN, kTypeI32),
    KX_FIELD(CABLE, kTypeI32),  KX_FIELD(OFF, kTypeF32),    KX_FIELD(OFFCLS, kTypeF32),
    KX_FIELD(OMIT, kTypeU8),    KX_FIELD(SEIS, kTypeU8),    KX_FIELD(CDP, kTypeI32),
    KX_FIELD(CDPT, kTypeI32),   KX_FIELD(ILINE, kTypeI32),  KX_FIELD(XLINE, kTypeI32),
    KX_FIELD(RLINE, kTypeF64),  KX_FIELD(RSTA, kTypeF64),   KX_FIELD(SLINE, kTypeF64),
    KX_FIELD(SSTA, kTypeF64),   KX_FIELD(DTID, kTypeI32),   KX_FIELD(TRID, kTypeI16),
    KX_FIELD(NVS, kTypeI16),    KX_FIELD(NHS, kTypeI16),    KX_FIELD(CUNIT, kTypeU8),
    KX_FIELD(TBAS, kTypeU8),    KX_FIELD(MSYS, kTypeU8),    KX_FIELD(MSYS0, kTypeU8),
    KX_FIELD(DUSE, kTypeU8),    KX_FIELD(CORR, kTypeU8),    KX_FIELD(SX, kTypeF64),
    KX_FIELD(SY, kTypeF64),     KX_FIELD(SZ, kTypeF32),     KX_FIELD(SZDAT, kTypeF32),
    KX_FIELD(SDEP, kTypeF32),   KX_FIELD(SWDEP, kTypeF32),  KX_FIELD(RX, kTypeF64),
    KX_FIELD(RY, kTypeF64),     KX_FIELD(RZ, kTypeF32),     KX_FIELD(RZDAT, kTypeF32),
    KX_FIELD(RDEP, kTypeF32),   KX_FIELD(RWDEP, kTypeF32),  KX_FIELD(CDPX, kTypeF64),
    KX_FIELD(CDPY, kTypeF64),   KX_FIELD(BSEG, kTypeI16),   KX_FIELD(BPROJ, kTypeI16),
    KX_FIELD(SUHT, kTypeF32),   KX_FIELD(RUHT, kTypeF32),   KX_FIELD(SSTAT, kTypeF32),
    KX_FIELD(RSTAT, kTypeF32),  KX_FIELD(TSTAT, kTypeF32),  KX_FIELD(SMUTE, kTypeF32),
    KX_FIELD(EMUTE, kTypeF32),  KX_FIELD(WVEL, kTypeF32),   KX_FIELD(SWVEL, kTypeF32),
    KX_FIELD(DESCAL, kTypeF64), KX_FIELD(NANO, kTypeI32),   KX_FIELD(YEAR, kTypeI16),
    KX_FIELD(DAY, kTypeI16),    KX_FIELD(MDAY, kTypeU8),    KX_FIELD(MONTH, kTypeU8),
    KX_FIELD(HOUR, kTypeU8),    KX_FIELD(MINUTE, kTypeU8),  KX_FIELD(SEC, kTypeU8),
    KX_FIELD(ARM, kTypeU8),     KX_FIELD(BGR, kTypeU8),     KX_FIELD(TRF, kTypeI32),
    KX_FIELD(TRNO, kTypeI32),   KX_FIELD(AAF, kTypeF32),    KX_FIELD(AAS, kTypeF32),
    KX_FIELD(LCF, kTypeF32),    KX_FIELD(LCS, kTypeF32),    KX_FIELD(HCF, kTypeF32),
    KX_FIELD(HCS, kTypeF32),    KX_FIELD(NOF, kTypeF32),    KX_FIELD(NOS, kTypeF32),
    KX_FIELD(SWFS, kTypeF32),   KX_FIELD(SWFE, kTypeF32),   KX_FIELD(SWLEN, kTypeF32),
    KX_FIELD(TAPLS, kTypeF32),  KX_FIELD(TAPLE, kTypeF32),  KX_FIELD(SWTYP, kTypeI16),
    KX_FIELD(TAPTY, kTypeI16),  KX_FIELD(TRACF, kTypeI32),  KX_FIELD(TRACR, kTypeI32),
    KX_FIELD(TRDMAN, kTypeI32), KX_FIELD(TRDEXP, kTypeI16), KX_FIELD(TRDUN, kTypeI16),
    KX_FIELD(IGT, kTypeI16),    KX_FIELD(IGC, kTypeI16),    KX_FIELD(IGI, kTypeI16),
    KX_FIELD(TRWF, kTypeI16),   KX_FIELD(TVMU, kTypeI16),   KX_FIELD(SMUN, kTypeI16),
    KX_FIELD(SMMAN, kTypeI32),  KX_FIELD(SMEXP, kTypeI16),  KX_FIELD(STYPOR, kTypeI16),
    KX_FIELD(SEDIR1, kTypeI16), KX_FIELD(SEDIR2, kTypeI16), KX_FIELD(SEDIR3, kTypeI16),
    KX_FIELD(LAGA, kTypeF32),   KX_FIELD(LAGB, kTypeF32),   KX_FIELD(TAMAX, kTypeF32),
    KX_FIELD(AMAX0, kTypeF32),  KX_FIELD(EAMAX, kTypeF32),  KX_FIELD(LTAG, kTypeI32),
    KX_FIELD(SDIR, kTypeU8),    KX_FIELD(TSKIP, kTypeU8),
};
#undef KX_FIELD

template <typename T>
T Saturate(double v) {
  if (std::isnan(v)) return 0;
  double r = std::nearbyint(v);
  if (r <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
  if (r >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
  return static_cast<T>(r);
}

template <typename T>
T Read(const TraceRecord* rec, std::size_t offset) {
  T v;
  std::memcpy(&v, reinterpret_cast<const unsigned char*>(rec) + offset, sizeof v);
  return v;
}

template <typename T>
void Write(TraceRecord* rec, std::size_t offset, T v) {
  std::memcpy(reinterpret_cast<unsigned char*>(rec) + offset, &v, sizeof v);
}
}  // namespace

std::span<const TraceField> TraceFields() {
  return kFields;
}

const TraceField* FindTraceField(std::string_view name) {
  for (const auto& f : kFields)
    if (name == f.name) return &f;
  return nullptr;
}

double GetFieldValue(const TraceRecord* rec, ValueType type, std::size_t offset) {
  switch (type) {
    case kTypeU8:
      return Read<uint8_t>(rec, offset);
    case kTypeI16:
      return Read<int16_t>(rec, offset);
    case kTypeI32:
      return Read<int32_t>(rec, offset);
    case kTypeI64:
      return static_cast<double>(Read<int64_t>(rec, offset));
    case kTypeF32:
      return Read<float>(rec, offset);
    case kTypeF64:
      return Read<double>(rec, offset);
    case kTypeNone:
      break;
  }
  return 0.0;
}

void SetFieldValue(TraceRecord* rec, ValueType type, std::size_t offset, double value) {
  switch (type) {
    case kTypeU8:
      Write(rec, offset, Saturate<uint8_t>(value));
      break;
    case kTypeI16:
      Write(rec, offset, Saturate<int16_t>(value));
      break;
    case kTypeI32:
      Write(rec, offset, Saturate<int32_t>(value));
      break;
    case kTypeI64:
      Write(rec, offset, Saturate<int64_t>(value));
      break;
    case kTypeF32:
      Write(rec, offset, static_cast<float>(value));
      break;
    case kTypeF64:
      Write(rec, offset, value);
      break;
    case kTypeNone:
      break;
  }
}
