// The choices of the " Export SEGY/SU Trace Headers" and " Import SEGY/SU
// Trace Headers" dialogs, shared by both and kept by the workspace for the
// run, and the reading rules that the dialogs and kxtool headers share.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "section/SegyWordTable.h"

struct HeaderWordsChoices {
  std::string seismicPath;
  std::string textPath;
  char separator = ';';
  int32_t firstTrace = -1;  // 1-based; -1 when not given
  int32_t lastTrace = -1;
  SegyWordSelection words;
};

// The separator choice: texts and characters in list order.
struct SeparatorItem {
  const char* text;
  char separator;
};
inline constexpr std::array<SeparatorItem, 3> kHeaderWordsSeparators = {{
    {" semi-colon", ';'},
    {" comma", ','},
    {" TAB", '\t'},
}};

// At most this many characters of a path are taken.
inline constexpr std::size_t kHeaderWordsPathChars = 512;

// What the export dialog (or the command line) gives, as texts.
struct ExportFieldTexts {
  std::string seismicPath;
  std::string textPath;
  char separator = ';';
  std::string firstTrace;  // empty or a positive integer
  std::string lastTrace;   // empty or an integer not below the first
  SegyWordSelection words;
};

// Which fields the export read found bad.
enum ExportFieldError : int {
  kExportPathMissing = 1,
  kExportNoWord = 2,
  kExportBadFirst = 4,
  kExportBadLast = 8,
};

// Reads the texts into choices (paths cut to 512 characters). Returns 0, or
// the ExportFieldError bits; on errors it logs "bad parameters in Export
// SEGY/SU Trace Headers" and the bad trace fields are not taken.
int ReadExportFields(const ExportFieldTexts& texts, HeaderWordsChoices* choices);

// The import's check: both paths given. Returns false (logged as above) otherwise.
bool ReadImportPaths(const std::string& textPath, const std::string& seismicPath,
                     HeaderWordsChoices* choices);
