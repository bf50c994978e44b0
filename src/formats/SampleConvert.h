// In-place conversion of SEG-Y sample words to 32-bit floats, with the peak of
// the result. The raw words sit at the start of the float array as read from
// the file; bigEndian says their byte order.
#pragma once

#include <cstdint>

// IBM System/360 single to IEEE single, exact: the fraction is truncated (never
// rounded), results below the normal range become subnormal or zero, results
// above it infinity, a zero fraction a zero of the same sign.
uint32_t IbmToIeeeBits(uint32_t ibm);
float IbmToIeee(uint32_t ibm);

// Converts n samples of the format code (1, 2, 3, 5, 8) in place in s, which
// has room for n floats. Returns false for a format it does not convert.
bool ConvertSamplesInPlace(float* s, int32_t n, int formatCode, bool bigEndian);
// IEEE doubles (format 6) from raw into s.
void ConvertDoubles(const void* raw, float* s, int32_t n, bool bigEndian);

// The peak of n samples exactly as FindPeak finds it (largest magnitude, the
// maximum winning ties, first index of that value), faster.
void SamplePeak(const float* s, int32_t n, float* amax, int32_t* index);
