// File-header steps shared by the SEG-Y reader, the header scan and the dump.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "formats/SegyBinaryHeader.h"

// With flags 0 seeks over the textual header; otherwise reads it into text
// (3200 bytes), converting EBCDIC, and dumps it with flag 1. 0, kStatusSeekFailed or kStatusReadFailed.
int ReadTextualHeader(FILE* fp, int32_t flags, uint8_t* text);
// Extended textual headers after the binary header: read into ext when keep,
// else skipped; then the stream stands at the first trace. 0 or a status.
int ReadExtendedText(FILE* fp, int64_t fileSize, const SegyFileInfo& info, bool keep,
                     std::vector<uint8_t>* ext);
