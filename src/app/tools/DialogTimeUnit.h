// The time unit of a tool dialog's time fields: the section's time display
// unit (ms, µs, ns), or seconds ("sec") without a section.
#pragma once

#include <string>

class SeismicSection;

struct DialogTimeUnit {
  double factor = 1.0;  // display units per second
  std::string name = "sec";
};
DialogTimeUnit DialogTimeUnitOf(const SeismicSection* section);

// seconds in the unit with at most 4 decimals, trailing zeros dropped.
std::string DialogTimeText(double seconds, const DialogTimeUnit& unit);
