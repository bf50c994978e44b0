#include "cli/FilterArgument.h"

#include <cctype>
#include <sstream>
#include <vector>

#include "app/tools/FilterFields.h"
#include "cli/Options.h"
#include "log/Log.h"
#include "log/Status.h"
#include "processing/ActiveFilter.h"

namespace {
std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

int PassTypeCode(const std::string& name) {
  if (name == "lowpass") return kLowPass;
  if (name == "highpass") return kHighPass;
  if (name == "bandpass") return kBandPass;
  if (name == "notch") return kNotch;
  return 0;
}

int FamilyCode(const std::string& name) {
  if (name == "butterworth") return kButterworth;
  if (name == "chebyshev") return kChebyshev;
  if (name == "elliptic") return kElliptic;
  return 0;
}

bool Fail(const std::string& text, const char* why) {
  LogPrint(LogError, "\nERROR: --filter \"%s\": %s", text.c_str(), why);
  return false;
}
}  // namespace

bool ParseFilterArgument(const std::string& text, FilterArgument* wanted) {
  std::vector<std::string> parts;
  std::stringstream ss(text);
  std::string part;
  while (std::getline(ss, part, ':')) parts.push_back(part);
  if (parts.size() < 4) return Fail(text, "needs TYPE:FAMILY:POLES:F1[:F2][:ripple=DB][:stop=DB]");
  FilterArgument s;
  s.passType = PassTypeCode(Lower(parts[0]));
  if (!s.passType) return Fail(text, "TYPE is lowpass, highpass, bandpass or notch");
  s.family = FamilyCode(Lower(parts[1]));
  if (!s.family) return Fail(text, "FAMILY is butterworth, chebyshev or elliptic");
  long long poles = 0;
  if (!ParseInteger(parts[2], &poles) || poles < 1) return Fail(text, "POLES is a whole number from 1");
  if (poles > MaxPolesForFamily(s.family)) {
    // The panel's arrows stop at the family's maximum; so does the option.
    LogPrint(LogWarning, "WARNING: %lld poles become %d for this family", poles, MaxPolesForFamily(s.family));
    poles = MaxPolesForFamily(s.family);
  }
  s.poles = static_cast<int>(poles);
  bool two = s.passType == kBandPass || s.passType == kNotch;
  std::size_t next = 3;
  s.f1 = parts[next++];
  if (two) {
    if (next >= parts.size() || parts[next].find('=') != std::string::npos)
      return Fail(text, "band pass and notch need two frequencies");
    s.f2 = parts[next++];
  }
  for (; next < parts.size(); ++next) {
    const std::string& p = parts[next];
    std::string key = Lower(p.substr(0, p.find('=')));
    if (p.find('=') == std::string::npos) return Fail(text, "unexpected field after the frequencies");
    std::string value = p.substr(p.find('=') + 1);
    if (key == "ripple")
      s.ripple = value;
    else if (key == "stop")
      s.stop = value;
    else
      return Fail(text, "options are ripple=DB and stop=DB");
  }
  *wanted = s;
  return true;
}

int ApplyFilterArgument(const FilterArgument& wanted, IIRFilter& f) {
  FilterPanelFields p;
  RefreshFilterFields(f, p);
  p.passType = wanted.passType;
  p.family = wanted.family;
  p.poles = wanted.poles;
  p.freq1 = wanted.f1;
  p.freq2 = wanted.f2;
  // Unset ripple and stop band keep the filter's values, written as the panel shows them.
  p.ripple = wanted.ripple.empty() ? StrPrintf("%.3lf", f.rippleDB) : wanted.ripple;
  p.stopBand = wanted.stop.empty() ? FormatStopBandField(f.stopBandDB) : wanted.stop;
  std::string f1 = p.freq1, f2 = p.freq2, ripple = p.ripple, stop = p.stopBand;
  if (ValidateFilterFields(f, p) != 0) {
    LogPrint(LogError,
             "\nERROR: filter rejected (frequencies %s %s Hz must be numbers from 0 to Nyquist = %g Hz; "
             "ripple \"%s\" and stop band \"%s\" numbers)",
             f1.c_str(), f2.c_str(), f.Nyquist, ripple.c_str(), stop.c_str());
    return kStatusRefused;
  }
  DesignFilter(f);
  LogPrint(LogStep, "Filter: pass type %d, family %d, %d poles, %s %s Hz, ripple %s dB, stop band %s dB",
           f.passType, f.family, f.NumPole, p.freq1.c_str(), p.freq2.c_str(), p.ripple.c_str(),
           p.stopBand.c_str());
  return 0;
}

int SetActiveFilterFromArgument(const std::string& text) {
  FilterArgument wanted;
  if (!ParseFilterArgument(text, &wanted)) return kStatusRefused;
  return ApplyFilterArgument(wanted, ActiveFilter());
}
