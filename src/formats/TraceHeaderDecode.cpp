#include "formats/TraceHeaderDecode.h"

#include <cmath>
#include <cstdlib>

#include "section/ByteOrder.h"

namespace {
template <bool Big>
struct Words {
  const uint8_t* h;
  int16_t I16(int pos) const { return LoadWord<int16_t>(h + pos - 1, Big); }
  uint16_t U16(int pos) const { return LoadWord<uint16_t>(h + pos - 1, Big); }
  int32_t I32(int pos) const { return LoadWord<int32_t>(h + pos - 1, Big); }
  uint32_t U32(int pos) const { return LoadWord<uint32_t>(h + pos - 1, Big); }
  uint64_t U64(int pos) const { return LoadWord<uint64_t>(h + pos - 1, Big); }
  double F64(int pos) const { return std::bit_cast<double>(LoadWord<uint64_t>(h + pos - 1, Big)); }
  uint8_t Low(int pos) const { return static_cast<uint8_t>(U16(pos) & 0xFF); }
};

bool IsDmsScalar(int16_t s) {
  return s == -1000 || s == -100 || s == -10 || s == -1 || s == 1;
}

// Coordinates by their units; returns the resulting CUNIT.
template <bool Big>
uint8_t DecodeCoordinates(const Words<Big>& w, uint8_t units, TraceRecord* r) {
  const int pos[6] = {73, 77, 81, 85, 181, 185};
  double* dst[6] = {&r->SX, &r->SY, &r->RX, &r->RY, &r->CDPX, &r->CDPY};
  int16_t scalco = w.I16(71);
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
  double t = ScalarFactor(w.I16(215)) * 0.001;
  r->SUHT = static_cast<float>(w.I16(95) * t);
  r->RUHT = static_cast<float>(w.I16(97) * t);
  r->SSTAT = static_cast<float>(w.I16(99) * t);
  r->RSTAT = static_cast<float>(w.I16(101) * t);
  r->TSTAT = static_cast<float>(w.I16(103) * t);
  r->LAGA = static_cast<float>(w.I16(105) * t);
  r->LAGB = static_cast<float>(w.I16(107) * t);
  r->DELAY = w.I16(109) * t;
  r->SMUTE = static_cast<float>(w.I16(111) * t);
  r->EMUTE = static_cast<float>(w.I16(113) * t);
}

template <bool Big>
void DecodeElevations(const Words<Big>& w, TraceRecord* r) {
  double e = ScalarFactor(w.I16(69));
  r->RZ = static_cast<float>(w.I32(41) * e);
  r->SZ = static_cast<float>(w.I32(45) * e);
  r->SDEP = static_cast<float>(w.I32(49) * e);
  r->RZDAT = static_cast<float>(w.I32(53) * e);
  r->SZDAT = static_cast<float>(w.I32(57) * e);
  r->SWDEP = static_cast<float>(w.I32(61) * e);
  r->RWDEP = static_cast<float>(w.I32(65) * e);
}

template <bool Big>
void DecodeInstrument(const Words<Big>& w, TraceRecord* r) {
  r->IGT = w.I16(119);
  r->IGC = w.I16(121);
  r->IGI = w.I16(123);
  r->CORR = w.Low(125);
  r->SWFS = w.I16(127);
  r->SWFE = w.I16(129);
  r->SWLEN = static_cast<float>(w.I16(131) * 0.001);
  r->SWTYP = w.I16(133);
  r->TAPLS = static_cast<float>(w.I16(135) * 0.001);
  r->TAPLE = static_cast<float>(w.I16(137) * 0.001);
  r->TAPTY = w.I16(139);
  r->AAF = w.I16(141);
  r->AAS = w.I16(143);
  r->NOF = w.I16(145);
  r->NOS = w.I16(147);
  r->LCF = w.I16(149);
  r->HCF = w.I16(151);
  r->LCS = w.I16(153);
  r->HCS = w.I16(155);
}

template <bool Big>
void DecodeDate(const Words<Big>& w, TraceRecord* r) {
  int year = w.I16(157);
  if (year >= 1 && year <= 50)
    year += 2000;
  else if (year >= 51 && year <= 99)
    year += 1900;
  r->YEAR = static_cast<int16_t>(year);
  r->DAY = w.I16(159);
  int month = 0, mday = 0;
  if (year > 1900 && MonthDayFromDayOfYear(year, r->DAY, &month, &mday)) {
    r->MONTH = static_cast<uint8_t>(month);
    r->MDAY = static_cast<uint8_t>(mday);
  }
  r->HOUR = w.Low(161);
  r->MINUTE = w.Low(163);
  r->SEC = w.Low(165);
  r->TBAS = w.Low(167);
  r->TRWF = w.I16(169);
}

template <bool Big>
void DecodeRev1(const Words<Big>& w, TraceRecord* r) {
  r->ILINE = w.I32(189);
  r->XLINE = w.I32(193);
  r->SSTA = w.I32(197) * ScalarFactor(w.I16(201));
  r->TVMU = w.I16(203);
  r->TRDMAN = w.I32(205);
  r->TRDEXP = w.I16(209);
  r->TRDUN = w.I16(211);
  r->DTID = w.I16(213);
  r->STYPOR = w.I16(217);
  r->SEDIR1 = w.I16(219);
  r->SEDIR2 = w.I16(221);
  r->SEDIR3 = w.I16(223);
  r->SMMAN = w.I32(225);
  r->SMEXP = w.I16(229);
  r->SMUN = w.I16(231);
}

template <bool Big>
void DecodeExtension(const Words<Big>& x, uint8_t units, TraceRecord* r) {
  auto setInt = [](auto* field, uint64_t v) {
    if (v != 0) *field = static_cast<std::remove_reference_t<decltype(*field)>>(v);
  };
  auto setFloat = [](auto* field, double v) {
    if (v != 0.0) *field = static_cast<std::remove_reference_t<decltype(*field)>>(v);
  };
  setInt(&r->TRACF, x.U64(1));
  setInt(&r->TRACR, x.U64(9));
  setInt(&r->FLDR, x.U64(17));
  setInt(&r->CDP, x.U64(25));
  setFloat(&r->RZ, x.F64(33));
  setFloat(&r->RDEP, x.F64(41));
  setFloat(&r->SZ, x.F64(49));
  setFloat(&r->SDEP, x.F64(57));
  setFloat(&r->RZDAT, x.F64(65));
  setFloat(&r->SZDAT, x.F64(73));
  setFloat(&r->SWDEP, x.F64(81));
  setFloat(&r->RWDEP, x.F64(89));
  setFloat(&r->OFF, x.F64(129));
  r->NANO = x.I32(141);
  r->CABLE = x.I32(153);
  if (units == 4) return;
  // Arc seconds in the extension follow the standard header into degrees.
  double f = units == 2 ? 1.0 / 3600.0 : 1.0;
  const int pos[6] = {97, 105, 113, 121, 161, 169};
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
  r->TRACF = w.I32(1);
  r->TRACR = w.I32(5);
  r->FLDR = w.I32(9);
  r->CHAN = w.I32(13);
  r->ESP = w.I32(17);
  r->CDP = w.I32(21);
  r->CDPT = w.I32(25);
  r->TRID = w.I16(29);
  int16_t nvs = w.I16(31), nhs = w.I16(33);
  r->NVS = nvs <= 0 ? 1 : nvs;
  r->NHS = nhs <= 0 ? 1 : nhs;
  r->DUSE = w.Low(35);
  r->OFF = static_cast<float>(w.I32(37));
  DecodeElevations(w, r);
  uint8_t units = w.Low(89);
  if (units == 0 || units > 4) units = 1;
  r->CUNIT = DecodeCoordinates(w, units, r);
  r->WVEL = w.I16(91);
  r->SWVEL = w.I16(93);
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
