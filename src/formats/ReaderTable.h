// The reader of each format code. Formats whose reader has not landed yet have
// none, and a load of such a file ends with kStatusNoReader.
#pragma once

#include "formats/LoadParams.h"

// The reader for a format code (0 and 1 both give the SEG-Y reader), or null.
ReaderFn ReaderForFileType(int code);
