// Whether a load would find any data, found out before the section on screen
// is given up: the check reads the headers and the first trace of a file, not
// its samples beyond, so it costs no more memory than one trace.
#pragma once

#include <string>
#include <vector>

#include "formats/LoadParams.h"

struct ProbeResult {
  // Index in the path list of the first file that gave a timed trace; -1 when none did.
  int firstReadable = -1;
  // The errors and warnings the files before it logged, one per entry, without line breaks.
  std::vector<std::string> reasons;
};

// Reads the files in order, each like the first file of a load with params (tolerance, trace
// window, load tag), keeping at most its first trace in a scratch section, until one gives a
// timed trace (positive DT and NS). On success nothing is logged: the load that follows logs
// the same again. When no file gives one, what the readers logged is passed to the log as a
// load would have, and its error and warning lines are returned as reasons.
// The SEG-Y, SU, KXF and SEG-2 readers stop after the first trace; the vibration monitor
// reader reads its (small) file whole.
ProbeResult ProbeFileList(const std::vector<std::string>& paths, const LoadParams& params);
