#include "app/tools/ResampleFields.h"

ResampleDialogTexts ResampleTextsOf(const ResampleSettings& settings, const DialogTimeUnit& unit) {
  ResampleDialogTexts t;
  t.current = DialogTimeText(settings.currentInterval, unit);
  if (settings.newInterval != DBLE_UNDEF) t.next = DialogTimeText(settings.newInterval, unit);
  return t;
}

bool ReadResampleFields(const std::string& newText, bool lowPass, const DialogTimeUnit& unit,
                        ResampleSettings* settings) {
  settings->applyLowPass = lowPass ? 1 : 0;
  double seconds = 0.0;
  if (!ReadResampleInterval(newText, unit.factor, &seconds)) return false;
  settings->newInterval = seconds;
  return true;
}
