// The digitized profile's text file: a first line with the point count, then
// one "x , y" line per point. Blank lines and lines starting with '#' (after
// blanks) are skipped; lines are read up to 256 characters, the rest of a
// longer line is dropped; LF and CR LF line ends are accepted.
//
// Status codes: 0 success, kStatusOpenFailed the file cannot be opened or created, kStatusWriteFailed a
// write failed, kStatusRefused an empty profile or a file that is not a profile (logged).
// Outputs are untouched on failure. Nothing throws.
#pragma once

#include <string>
#include <vector>

#include "processing/Profile.h"

inline constexpr std::size_t kProfileLineMaxChars = 256;

// Reads at most kProfileMaxPoints points. The count line must hold a positive
// integer ("Bad or empty polyline file" otherwise, also when no point
// follows); a point line that is not two finite numbers separated by a comma
// fails the load with "Bad polyline file". The count itself is not used to
// limit the points.
int LoadProfileText(const std::string& path, std::vector<ProfilePoint>* points);

// Writes "%d\n" with the count, then "%11.3lf , %11.3lf\n" per point; the
// file is replaced only when complete. An empty profile writes nothing (kStatusRefused).
int SaveProfileText(const std::string& path, const std::vector<ProfilePoint>& points);
