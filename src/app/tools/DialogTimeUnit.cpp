#include "app/tools/DialogTimeUnit.h"

#include "log/Log.h"
#include "section/SeismicSection.h"

DialogTimeUnit DialogTimeUnitOf(const SeismicSection* section) {
  if (!section) return {};
  const SectionSummary& s = section->Summary();
  return {s.timeFactor, s.timeUnitLabel};
}

std::string DialogTimeText(double seconds, const DialogTimeUnit& unit) {
  std::string text = StrPrintf("%.4f", seconds * unit.factor);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}
