// Export of SEG-Y/SU trace header words to delimited text, and import of such
// text back into the trace headers of a SEG-Y or SU file, in place. Neither
// touches a loaded section: both walk the seismic file's headers directly.
// The words are those of the SEG-Y word table.
#pragma once

#include <cstdint>
#include <string>

class SegyWordSelection;

// Refusals of the header word export and import.
enum HeaderWordsRefusal : int {
  kHeaderWordsJobAborted = -1,       // import: an error stopped the job
  kHeaderWordsUnsupportedFile = -3,  // the seismic file is not .segy/.sgy/.su
};

// Writes the title line and one line per trace first..last (1-based; first
// below 1 means 1, last below first means to the end) for the words selected, in table order.
// Returns 0; kHeaderWordsUnsupportedFile; kStatusOpenFailed when the text file
// cannot be created; another negative code when no trace could be
// read (no text file is left then, and an existing one is untouched).
int ExportHeaderWords(const std::string& seismicPath, const std::string& textPath,
                      const SegyWordSelection& words, char separator, int32_t firstTrace, int32_t lastTrace);

// Rewrites the trace headers of seismicPath from the rows of textPath, all or
// nothing: every row is read and checked first (field count, numbers, values
// that fit their word, a word named once in the title row), and an error in
// any row writes nothing and is logged with its row, column and text line.
// Rows whose trace index is outside the file are warned about and skipped.
// Returns 0; kHeaderWordsJobAborted (nothing written, unless an I/O error hit
// the rewriting, which keeps the rows before it); kHeaderWordsUnsupportedFile;
// another negative code when the text file cannot be opened or the seismic
// file cannot be scanned.
int ImportHeaderWords(const std::string& textPath, const std::string& seismicPath);
