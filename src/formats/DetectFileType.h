// File type detection: from the file name's extension, else from the first
// bytes of the file. Codes are the FileType values of the section.
#pragma once

#include <cstdint>
#include <string>

#include "formats/LoadParams.h"

// Returns the format code (0 when unrecognised, with a warning). As a side
// effect stores params.loadTag: the last run of digits of the base name when
// params.takeNameDigits is set, else -1.
int DetectFileType(const std::string& path, LoadParams& params);

// Format code from an extension such as ".SGY" (with the dot); 0 when unknown.
int FileTypeFromExtension(const std::string& extension);
// The extension of a path: text from the last '.' after the last '/' or '\'
// (at most 15 characters), or "" when there is none.
std::string PathExtension(const std::string& path);
// Value of the last run of decimal digits of the base name, or -1.
int32_t NameDigitsTag(const std::string& path);
// Content sniffing alone (no extension): the code, or 0.
int DetectFileTypeByContent(const std::string& path);
