#include "app/tools/FilterFields.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "log/Status.h"

namespace {
// Length of the decimal floating-point number at the start of s (0: none).
std::size_t NumberPrefix(const std::string& s) {
  std::size_t i = 0, n = s.size();
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i;
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Printf(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

// One frequency field: -1 (field emptied) unless it reads as a number from 0
// to Nyquist; otherwise the fraction of Nyquist, limited to 0.0001..0.99.
int ReadFrequency(std::string& field, double nyquist, double* fraction) {
  double hz = 0.0;
  if (ReadNumberField(field, &hz) != FieldRead::kNumber || hz < 0.0 || hz > nyquist || !(nyquist > 0.0)) {
    field.clear();
    return kStatusRefused;
  }
  *fraction = std::clamp(hz / nyquist, 0.0001, 0.99);
  return 0;
}

bool HasSecondField(int passType) {
  return passType == kBandPass || passType == kNotch;
}

void StorePoles(IIRFilter& f, FilterPanelFields& p) {
  p.poles = std::clamp(p.poles, 1, MaxPolesForFamily(p.family));
  f.NumPole = p.poles;
  p.polesText = std::to_string(p.poles);
}

// A number clamped to lo..hi, or the fallback (counted as one error) when the
// text holds none.
int ReadClamped(const std::string& text, double fallback, double lo, double hi, double* v) {
  if (ReadNumberField(text, v) != FieldRead::kNumber) {
    *v = fallback;
    return 1;
  }
  *v = std::clamp(*v, lo, hi);
  return 0;
}

int StoreRipple(IIRFilter& f, FilterPanelFields& p) {
  int errors = ReadClamped(p.ripple, 0.02, 0.0, 1.0, &f.rippleDB);
  p.ripple = FormatRippleField(f.rippleDB);
  return errors;
}

int StoreStopBand(IIRFilter& f, FilterPanelFields& p) {
  int errors = ReadClamped(p.stopBand, 60.0, 20.0, 120.0, &f.stopBandDB);
  p.stopBand = FormatStopBandField(f.stopBandDB);
  return errors;
}
}  // namespace

FieldRead ReadNumberField(const std::string& text, double* value, std::string* cut) {
  std::string t = Trim(text);
  std::size_t len = NumberPrefix(t);
  if (len == 0) return FieldRead::kInvalid;
  std::string number = t.substr(0, len);
  *value = std::strtod(number.c_str(), nullptr);
  if (cut) *cut = number;
  return len == t.size() ? FieldRead::kNumber : FieldRead::kTrailing;
}

std::string NyquistLabel(double nyquist) {
  int decimals = nyquist >= 1000.0 ? 0 : nyquist >= 100.0 ? 1 : 2;
  char buf[64];
  std::snprintf(buf, sizeof buf, "Nyquist = %.*lf Hz", decimals, nyquist);
  return buf;
}

std::string FormatTrimmed(double value, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*lf", decimals, value);
  std::string s = buf;
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

std::string FormatFrequencyField(double hz, double nyquist) {
  if (hz == 0.0) return "";
  int decimals = nyquist >= 5000.0 ? 0 : nyquist >= 500.0 ? 1 : 2;
  return FormatTrimmed(hz, decimals);
}

std::string FormatRippleField(double rippleDB) {
  return rippleDB == 0.0 ? "" : Printf("%.3lf", rippleDB);
}
std::string FormatStopBandField(double stopBandDB) {
  return Printf("%.1lf", stopBandDB);
}
int MaxPolesForFamily(int family) {
  return family == kElliptic ? kMaxEllipticPoles : kMaxPoles;
}

void RefreshFilterFields(const IIRFilter& f, FilterPanelFields& p) {
  p.passType = f.passType;
  p.family = f.family;
  p.poles = f.NumPole;
  p.polesText = std::to_string(f.NumPole);
  p.ripple = FormatRippleField(f.rippleDB);
  p.stopBand = f.stopBandDB == 0.0 ? "" : FormatStopBandField(f.stopBandDB);
  ShowFilterType(f, p);
}

void ShowFilterType(const IIRFilter& f, FilterPanelFields& p) {
  bool two = HasSecondField(p.passType);
  p.label1 = p.passType == kBandPass ? "Low Cut frequency Hz"
             : p.passType == kNotch  ? "Central frequency Hz"
                                     : "Cutoff frequency Hz";
  p.label2 = p.passType == kBandPass ? "High Cut frequency Hz" : p.passType == kNotch ? "Bandwidth Hz" : "";
  p.secondVisible = two;
  p.rippleEnabled = p.family == kChebyshev || p.family == kElliptic;
  p.stopBandEnabled = p.family == kElliptic;
  p.polesMax = MaxPolesForFamily(p.family);
  if (p.poles > p.polesMax) {
    p.poles = p.polesMax;
    p.polesText = std::to_string(p.poles);
  }
  double nyq = f.Nyquist;
  switch (p.passType) {
    case kLowPass:
      p.freq1 = FormatFrequencyField(f.lowPassCutoff * nyq, nyq);
      break;
    case kHighPass:
      p.freq1 = FormatFrequencyField(f.highPassCutoff * nyq, nyq);
      break;
    case kBandPass:
      p.freq1 = FormatFrequencyField(f.bandPassLow * nyq, nyq);
      p.freq2 = FormatFrequencyField(f.bandPassHigh * nyq, nyq);
      break;
    case kNotch:
      p.freq1 = FormatFrequencyField(f.notchCentre * nyq, nyq);
      p.freq2 = f.notchBandwidth == 0.0 ? "" : FormatTrimmed(f.notchBandwidth * nyq, 3);
      break;
    default:
      break;
  }
}

int StoreFilterFrequencies(IIRFilter& f, FilterPanelFields& p, int passType) {
  double v1 = 0.0, v2 = 0.0;
  int errors = ReadFrequency(p.freq1, f.Nyquist, &v1) ? 1 : 0;
  if (HasSecondField(passType)) errors += ReadFrequency(p.freq2, f.Nyquist, &v2) ? 1 : 0;
  if (errors) return kStatusRefused;
  switch (passType) {
    case kLowPass:
      f.lowPassCutoff = v1;
      break;
    case kHighPass:
      f.highPassCutoff = v1;
      break;
    case kBandPass:
      if (v1 > v2) {
        std::swap(v1, v2);
        double hz1 = 0.0, hz2 = 0.0;
        ReadNumberField(p.freq1, &hz1);
        ReadNumberField(p.freq2, &hz2);
        p.freq1 = FormatTrimmed(hz2, 3);
        p.freq2 = FormatTrimmed(hz1, 3);
      }
      f.bandPassLow = v1;
      f.bandPassHigh = v2;
      break;
    case kNotch:
      f.notchCentre = v1;
      f.notchBandwidth = v2;
      break;
    default:
      return kStatusRefused;
  }
  return 0;
}

int ValidateFilterFields(IIRFilter& f, FilterPanelFields& p) {
  int errors = 0;
  if (p.passType >= kLowPass && p.passType <= kNotch)
    f.passType = p.passType;
  else
    ++errors;
  if (p.family == kButterworth || p.family == kChebyshev || p.family == kElliptic)
    f.family = p.family;
  else
    ++errors;
  StorePoles(f, p);
  errors += StoreRipple(f, p);
  errors += StoreStopBand(f, p);
  if (errors == 0) return StoreFilterFrequencies(f, p, p.passType);
  // Still read the frequency fields, so that bad ones are emptied as well.
  IIRFilter scratch = f;
  StoreFilterFrequencies(scratch, p, p.passType);
  return kStatusRefused;
}

int ChangeFilterPassType(IIRFilter& f, FilterPanelFields& p, int newPassType) {
  int status = StoreFilterFrequencies(f, p, p.passType);
  p.passType = newPassType;
  ShowFilterType(f, p);
  return status;
}

int ChangeFilterFamily(IIRFilter& f, FilterPanelFields& p, int newFamily) {
  int status = StoreFilterFrequencies(f, p, p.passType);
  p.family = newFamily;
  ShowFilterType(f, p);
  return status;
}
