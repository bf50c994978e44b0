// Native KXF trace files: trace records exactly as the section holds them in
// memory, one after the other (448-byte record, then DIM 32-bit floats; a DIM
// below 2 still has 2 sample slots), in the host's (little-endian) byte order.
// There is no file header.
//
// ReadKxf appends the traces unchanged: every field, TRF, TRNO and LTAG
// included, comes back as it was written. Returns the number of traces
// appended, or kStatusOpenFailed when the file cannot be opened. A last trace cut short by
// the end of the file is dropped silently; traces read before a failure stay. A record whose
// sample count exceeds its slots, whose interval is not a positive finite number or whose delay
// is not finite is refused (logged) and ends the load there.
#pragma once

#include <string>

#include "formats/LoadParams.h"

class SeismicSection;

int ReadKxf(SeismicSection& section, const std::string& path, LoadParams& params);

// The default file headers of a KXF load: the default textual header and a
// binary header copy holding only format 5, revision 1, little-endian, type 5.
void SetKxfFileHeaders(SeismicSection& section);
