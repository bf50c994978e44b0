// Reads a list of seismic files into one section, each with the reader of its
// format. Only the first file that yields traces supplies the file headers.
#pragma once

#include <string>
#include <vector>

#include "formats/LoadParams.h"

class SeismicSection;

// Returns 0, or kStatusNoReader when a format code has no reader (the load stops there;
// traces appended so far stay). params.fileCount ends as the number of the
// last file tried; params.flags ends cleared once a file yielded traces.
int LoadFileList(SeismicSection& section, const std::vector<std::string>& paths, LoadParams& params);
