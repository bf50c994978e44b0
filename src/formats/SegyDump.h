// Header dumps to the log: the textual header, the binary file header (host
// order copy) and a trace header (host order). Each line is one message.
#pragma once

#include <cstdint>

void DumpTextualHeader(const char* text3200, int level);
void DumpBinaryHeader(const uint8_t* bh, int level);
// traceNumber is 1-based.
void DumpTraceHeader(const uint8_t* th, int traceNumber, int level);
