#include "app/tools/ShiftFields.h"

#include "log/Log.h"

ShiftDialogTexts ShiftTextsOf(const ShiftSettings& settings, const DialogTimeUnit& unit) {
  ShiftDialogTexts t;
  if (settings.shiftTime != 0.0) t.shift = DialogTimeText(settings.shiftTime, unit);
  t.taper = StrPrintf("%d", settings.taper);
  for (int i = 0; i < 3; ++i)
    if (kDelrtChoiceModes[i] == settings.delrtMode) t.delrtChoice = i;
  return t;
}
