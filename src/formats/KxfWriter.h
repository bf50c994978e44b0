// Writes a section as a native KXF trace file (see KxfReader.h for the
// layout): every trace of the trace list in order, its record and its DIM
// samples byte for byte, so that reading the file back gives the same section.
// Nothing is left out (OMIT is a field like any other here).
//
// Returns 0, kStatusOpenFailed when the output cannot be created, kStatusWriteFailed after a write
// failure. The file is written beside the target and renamed over it only
// when complete: a failed write leaves no partial file and an existing file
// of that name untouched.
#pragma once

#include <string>

class SeismicSection;

int WriteKxf(const SeismicSection& section, const std::string& path);
