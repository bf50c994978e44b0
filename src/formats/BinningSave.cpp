#include "formats/BinningSave.h"

#include "formats/DetectFileType.h"
#include "formats/SaveOptions.h"
#include "formats/SegyWriter.h"

std::string BinnedSavePath(const std::string& chosen) {
  return PathExtension(chosen).empty() ? chosen + ".segy" : chosen;
}

int SaveBinnedSection(const SeismicSection& section, const std::string& path) {
  SaveOptions options;  // revision 1, no crop, the section's own list
  return SaveAsSegyRev1(section, path, options);
}
