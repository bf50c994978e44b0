#include "app/tools/BinningFields.h"

#include <cmath>
#include <cstdlib>

#include "log/Log.h"

namespace {
// A whole finite number, blanks around it allowed.
bool ParseNumber(const std::string& text, double* value) {
  const char* s = text.c_str();
  char* end = nullptr;
  double v = std::strtod(s, &end);
  if (end == s) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0' || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

bool ReadLimit(const std::string& text, double* value) {
  if (IsBlank(text)) {
    *value = kBinningNoLimit;
    return true;
  }
  return ParseNumber(text, value);
}
}  // namespace

std::string FormatBinningValue(double value) {
  std::string s = StrPrintf("%.2lf", value);
  if (s.find('.') == std::string::npos) return s;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string FormatBinningLimit(double value) {
  return value >= kBinningNoLimit ? std::string() : FormatBinningValue(value);
}

BinningFields BinningFieldsFrom(const BinningParams& params) {
  return {FormatBinningLimit(params.maxOffset), FormatBinningLimit(params.maxDistance),
          params.binSize > 0.0 ? FormatBinningValue(params.binSize) : std::string()};
}

bool ReadBinningFields(const BinningFields& fields, BinningParams* params, BinningFields* shown) {
  BinningParams read = *params;
  BinningFields previous = BinningFieldsFrom(*params);
  BinningFields out = fields;
  bool ok = true;
  if (!ReadLimit(fields.maxOffset, &read.maxOffset)) ok = false, out.maxOffset = previous.maxOffset;
  if (!ReadLimit(fields.maxDistance, &read.maxDistance)) ok = false, out.maxDistance = previous.maxDistance;
  if (!ParseNumber(fields.binSize, &read.binSize) || !(read.binSize > 0.0))
    ok = false, out.binSize = previous.binSize;
  if (shown) *shown = out;
  if (ok) *params = read;
  return ok;
}
