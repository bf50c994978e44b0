#include "app/tools/ParametersFields.h"

#include <algorithm>

#include "app/TextInput.h"
#include "log/Log.h"

namespace {
// Replaces *setting by the field's value when it parses and lies in lo..hi.
void TakeInRange(const std::string& field, int lo, int hi, int* setting) {
  bool digits = false;
  int v = ParseInt(field, nullptr, &digits);
  if (digits && v >= lo && v <= hi) *setting = v;
}
}  // namespace

ParameterFields ParameterFieldsFrom(const AppSettings& s) {
  ParameterFields f;
  f.timeScrollSlow = std::to_string(s.timeScrollSlow);
  f.timeScrollFast = std::to_string(s.timeScrollFast);
  f.traceScrollSlow = std::to_string(s.traceScrollSlow);  // fixed at 1
  f.traceScrollFast = std::to_string(s.traceScrollFast);
  f.focusPolicy = s.dialogFocusPolicy == 1 || s.dialogFocusPolicy == 2 ? s.dialogFocusPolicy : 3;
  f.twoPixels = s.wiggleMinIntertrace == 2;
  f.evenSpacingBelow = s.evenSpacingBelow;
  f.crossCursorThickness = s.crossCursorThickness;
  f.numThreads = s.numThreads;
  return f;
}

void ApplyParameterFields(const ParameterFields& f, AppSettings* s) {
  TakeInRange(f.timeScrollSlow, 1, 99, &s->timeScrollSlow);
  TakeInRange(f.timeScrollFast, 1, 999, &s->timeScrollFast);
  TakeInRange(f.traceScrollFast, 1, 999, &s->traceScrollFast);
  if (f.focusPolicy >= 1 && f.focusPolicy <= 3) s->dialogFocusPolicy = f.focusPolicy;
  s->wiggleMinIntertrace = f.twoPixels ? 2 : 3;
  s->evenSpacingBelow = std::clamp(f.evenSpacingBelow, 2, 9);
  s->crossCursorThickness = std::clamp(f.crossCursorThickness, 1, 3);
  s->numThreads = std::clamp(f.numThreads, 1, MaxThreadsSetting(*s));
}

std::string CoresText(const ProcessorCounts& c) {
  return StrPrintf("Cores :     physical %d    logical %d", c.physical, c.logical);
}

int MaxThreadsSetting(const AppSettings& s) {
  return std::max(s.processors.logical, 1);
}
