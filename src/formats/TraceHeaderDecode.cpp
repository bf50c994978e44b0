#include "formats/TraceHeaderDecode.h"

#include <cmath>
#include <cstdlib>

#include "section/ByteOrder.h"
#include "section/SegyBytePositions.h"

namespace {
// Reads at a trace header position; extension 1 counts its positions the same way.
template <bool Big>
struct Words {
  const uint8_t* h;
  int16_t I16(int pos) const { return LoadWord<int16_t>(h + TraceHeaderOffset(pos), Big); }
  uint16_t U16(int pos) const { return LoadWord<uint16_t>(h + TraceHeaderOffset(pos), Big); }
  int32_t I32(int pos) const { return LoadWord<int32_t>(h + TraceHeaderOffset(pos), Big); }
  uint32_t U32(int pos) const { return LoadWord<uint32_t>(h + TraceHeaderOffset(pos), Big); }
  uint64_t U64(int pos) const { return LoadWord<uint64_t>(h + TraceHeaderOffset(pos), Big); }
  double F64(int pos) const {
    return std::bit_cast<double>(LoadWord<uint64_t>(h + TraceHeaderOffset(pos), Big));
  }
  uint8_t Low(int pos) const { return static_cast<uint8_t>(U16(pos) & 0xFF); }
};

bool IsDmsScalar(int16_t s) {
  return s == -1000 || s == -100 || s == -10 || s == -1 || s == 1;
}

// Coordinates by their units; returns the resulting CUNIT.
template <bool Big>
uint8_t DecodeCoordinates(const Words<Big>& w, uint8_t units, TraceRecord* r) {
  const int pos[6] = {kTrSx, kTrSy, kTrGx, kTrGy, kTrCdpx, kTrCdpy};
  double* dst[6] = {&r->SX, &r->SY, &r->RX, &r->RY, &r->CDPX, &r->CDPY};
  int16_t scalco = w.I16(kTrScalco);
  if (units == 4) {
    bool dms = IsDmsScalar(scalco);
    double f = ScalarFactor(scalco);
    for (int i = 0; i < 6; ++i) *dst[i] = dms ? DmsToDegrees(w.I32(pos[i]), scalco) : w.I32(pos[i]) * f;
    return dms ? 3 : 1;
  }
  double f = ScalarFactor(scalco);
  for (int i = 0; i < 6; ++i) *dst[i] = w.I32(pos[i]) * f;
  if (units == 3) {
    for (int i = 0; i < 6; i += 2) {
      if (std::fabs(*dst[i]) > 361.0 || std::fabs(*dst[i + 1]) > 91.0) return 1;
    }
    return 3;
  }
  if (units == 2) {
    for (int i = 0; i < 6; i += 2) {
      if (std::fabs(*dst[i]) > 1299600.0 || std::fabs(*dst[i + 1]) > 649800.0) return 1;
    }
    for (double* d : dst) *d /= 3600.0;
    return 3;
  }
  return 1;
}

template <bool Big>
void DecodeTimes(const Words<Big>& w, TraceRecord* r) {
  double t = ScalarFactor(w.I16(kTrTimscal)) * 0.001;
  r->SUHT = static_cast<float>(w.I16(kTrSut) * t);
  r->RUHT = static_cast<float>(w.I16(kTrGut) * t);
  r->SSTAT = static_cast<float>(w.I16(kTrSstat) * t);
  r->RSTAT = static_cast<float>(w.I16(kTrGstat) * t);
  r->TSTAT = static_cast<float>(w.I16(kTrTstat) * t);
  r->LAGA = static_cast<float>(w.I16(kTrLaga) * t);
  r->LAGB = static_cast<float>(w.I16(kTrLagb) * t);
  r->DELAY = w.I16(kTrDelrt) * t;
  r->SMUTE = static_cast<float>(w.I16(kTrMuts) * t);
  r->EMUTE = static_cast<float>(w.I16(kTrMute) * t);
}

template <bool Big>
void DecodeElevations(const Words<Big>& w, TraceRecord* r) {
  double e = ScalarFactor(w.I16(kTrScalel));
  r->RZ = static_cast<float>(w.I32(kTrGelev) * e);
  r->SZ = static_cast<float>(w.I32(kTrSelev) * e);
  r->SDEP = static_cast<float>(w.I32(kTrSdepth) * e);
  r->RZDAT = static_cast<float>(w.I32(kTrGdel) * e);
  r->SZDAT = static_cast<float>(w.I32(kTrSdel) * e);
  r->SWDEP = static_cast<float>(w.I32(kTrSwdep) * e);
  r->RWDEP = static_cast<float>(w.I32(kTrGwdep) * e);
}

template <bool Big>
void DecodeInstrument(const Words<Big>& w, TraceRecord* r) {
  r->IGT = w.I16(kTrGain);
  r->IGC = w.I16(kTrIgc);
  r->IGI = w.I16(kTrIgi);
  r->CORR = w.Low(kTrCorr);
  r->SWFS = w.I16(kTrSfs);
  r->SWFE = w.I16(kTrSfe);
  r->SWLEN = static_cast<float>(w.I16(kTrSlen) * 0.001);
  r->SWTYP = w.I16(kTrStyp);
  r->TAPLS = static_cast<float>(w.I16(kTrStas) * 0.001);
  r->TAPLE = static_cast<float>(w.I16(kTrStae) * 0.001);
  r->TAPTY = w.I16(kTrTatyp);
  r->AAF = w.I16(kTrAfilf);
  r->AAS = w.I16(kTrAfils);
  r->NOF = w.I16(kTrNofilf);
  r->NOS = w.I16(kTrNofils);
  r->LCF = w.I16(kTrLcf);
  r->HCF = w.I16(kTrHcf);
  r->LCS = w.I16(kTrLcs);
  r->HCS = w.I16(kTrHcs);
}

template <bool Big>
void DecodeDate(const Words<Big>& w, TraceRecord* r) {
  int year = w.I16(kTrYear);
  if (year >= 1 && year <= 50)
    year += 2000;
  else if (year >= 51 && year <= 99)
    year += 1900;
  r->YEAR = static_cast<int16_t>(year);
  r->DAY = w.I16(kTrDay);
  int month = 0, mday = 0;
  if (year > 1900 && MonthDayFromDayOfYear(year, r->DAY, &month, &mday)) {
    r->MONTH = static_cast<uint8_t>(month);
    r->MDAY = static_cast<uint8_t>(mday);
  }
  r->HOUR = w.Low(kTrHour);
  r->MINUTE = w.Low(kTrMinute);
  r->SEC = w.Low(kTrSec);
  r->TBAS = w.Low(kTrTimbas);
  r->TRWF = w.I16(kTrTrwf);
}

template <bool Big>
void DecodeRev1(const Words<Big>& w, TraceRecord* r) {
  r->ILINE = w.I32(kTrIline);
  r->XLINE = w.I32(kTrXline);
  r->SSTA = w.I32(kTrSp) * ScalarFactor(w.I16(kTrSpscal));
  r->TVMU = w.I16(kTrTvmu);
  r->TRDMAN = w.I32(kTrTrdman);
  r->TRDEXP = w.I16(kTrTrdexp);
  r->TRDUN = w.I16(kTrTrdun);
  r->DTID = w.I16(kTrDti);
  r->STYPOR = w.I16(kTrStypor);
  r->SEDIR1 = w.I16(kTrSedir1);
  r->SEDIR2 = w.I16(kTrSedir2);
  r->SEDIR3 = w.I16(kTrSedir3);
  r->SMMAN = w.I32(kTrSmman);
  r->SMEXP = w.I16(kTrSmexp);
  r->SMUN = w.I16(kTrSmun);
}

template <bool Big>
void DecodeExtension(const Words<Big>& x, uint8_t units, TraceRecord* r) {
  auto setInt = [](auto* field, uint64_t v) {
    if (v != 0) *field = static_cast<std::remove_reference_t<decltype(*field)>>(v);
  };
  auto setFloat = [](auto* field, double v) {
    if (v != 0.0) *field = static_cast<std::remove_reference_t<decltype(*field)>>(v);
  };
  setInt(&r->TRACF, x.U64(kTx1Tracl));
  setInt(&r->TRACR, x.U64(kTx1Tracr));
  setInt(&r->FLDR, x.U64(kTx1Fldr));
  setInt(&r->CDP, x.U64(kTx1Cdp));
  setFloat(&r->RZ, x.F64(kTx1Gelev));
  setFloat(&r->RDEP, x.F64(kTx1Gdepth));
  setFloat(&r->SZ, x.F64(kTx1Selev));
  setFloat(&r->SDEP, x.F64(kTx1Sdepth));
  setFloat(&r->RZDAT, x.F64(kTx1Gdel));
  setFloat(&r->SZDAT, x.F64(kTx1Sdel));
  setFloat(&r->SWDEP, x.F64(kTx1Swdep));
  setFloat(&r->RWDEP, x.F64(kTx1Gwdep));
  setFloat(&r->OFF, x.F64(kTx1Offset));
  r->NANO = x.I32(kTx1Nanoseconds);
  r->CABLE = x.I32(kTx1Cable);
  if (units == 4) return;
  // Arc seconds in the extension follow the standard header into degrees.
  double f = units == 2 ? 1.0 / 3600.0 : 1.0;
  const int pos[6] = {kTx1Sx, kTx1Sy, kTx1Gx, kTx1Gy, kTx1Cdpx, kTx1Cdpy};
  double* dst[6] = {&r->SX, &r->SY, &r->RX, &r->RY, &r->CDPX, &r->CDPY};
  for (int i = 0; i < 6; ++i) {
    double v = x.F64(pos[i]);
    if (v != 0.0) *dst[i] = units == 2 ? v * f : v;
  }
  if (units == 2) r->CUNIT = 3;
}

template <bool Big>
void Decode(const uint8_t* th, const uint8_t* ext1, const TraceDecodeContext& ctx, TraceRecord* r) {
  Words<Big> w{th};
  r->TRACF = w.I32(kTrTracl);
  r->TRACR = w.I32(kTrTracr);
  r->FLDR = w.I32(kTrFldr);
  r->CHAN = w.I32(kTrTracf);
  r->ESP = w.I32(kTrEp);
  r->CDP = w.I32(kTrCdp);
  r->CDPT = w.I32(kTrCdpt);
  r->TRID = w.I16(kTrTrid);
  int16_t nvs = w.I16(kTrNvs), nhs = w.I16(kTrNhs);
  r->NVS = nvs <= 0 ? 1 : nvs;
  r->NHS = nhs <= 0 ? 1 : nhs;
  r->DUSE = w.Low(kTrDuse);
  r->OFF = static_cast<float>(w.I32(kTrOffset));
  DecodeElevations(w, r);
  uint8_t units = w.Low(kTrCounit);
  if (units == 0 || units > 4) units = 1;
  r->CUNIT = DecodeCoordinates(w, units, r);
  r->WVEL = w.I16(kTrWevel);
  r->SWVEL = w.I16(kTrSwevel);
  DecodeTimes(w, r);
  DecodeInstrument(w, r);
  DecodeDate(w, r);
  DecodeRev1(w, r);
  r->RLINE = ctx.lineNumber;
  r->SLINE = ctx.lineNumber;
  r->DESCAL = 1.0;
  r->BGR = ctx.bgr;
  r->ARM = ctx.arm;
  r->MSYS = ctx.msys;
  r->MSYS0 = ctx.msys;
  if (ext1) DecodeExtension(Words<Big>{ext1}, units, r);
}
}  // namespace

double ScalarFactor(int16_t scalar) {
  if (scalar == 0) return 1.0;
  if (scalar < 0) return 1.0 / -static_cast<double>(scalar);
  return scalar;
}

double DmsToDegrees(int32_t v, int16_t scalco) {
  int64_t m = std::llabs(static_cast<int64_t>(v)) * (1000 / std::abs(static_cast<int>(scalco)));
  int64_t degrees = m / 10000000;
  int64_t minutes = (m / 1000 % 10000) / 100;
  double seconds = static_cast<double>(m / 1000 % 100) + static_cast<double>(m % 1000) / 1000.0;
  double value = static_cast<double>(degrees) + static_cast<double>(minutes) / 60.0 + seconds / 3600.0;
  return v < 0 ? -value : value;
}

bool MonthDayFromDayOfYear(int year, int dayOfYear, int* month, int* mday) {
  if (dayOfYear <= 0 || dayOfYear > 366) return false;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int d = dayOfYear;
  for (int m = 0; m < 12; ++m) {
    int len = kDays[m] + (m == 1 && leap ? 1 : 0);
    if (d <= len) {
      *month = m + 1;
      *mday = d;
      return true;
    }
    d -= len;
  }
  return false;  // day 366 of a common year
}

void DecodeTraceHeader(const uint8_t* th, const uint8_t* ext1, const TraceDecodeContext& ctx,
                       TraceRecord* rec) {
  if (ctx.bigEndian) {
    Decode<true>(th, ext1, ctx, rec);
  } else {
    Decode<false>(th, ext1, ctx, rec);
  }
}
