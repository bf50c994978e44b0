// Saving a binned section: always SEG-Y revision 1, whole traces, in the
// section's order.
#pragma once

#include <string>

class SeismicSection;

// The chosen file name with ".segy" appended when it has no extension.
std::string BinnedSavePath(const std::string& chosen);

// Writes the section as SEG-Y rev 1 without time or trace cropping. Returns
// the writer's status (0 success; the file is replaced only when complete).
int SaveBinnedSection(const SeismicSection& section, const std::string& path);
