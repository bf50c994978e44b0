// The delimited text of trace header words: the lines export writes and the
// fields import reads back.
//
// Export: a title line "idx" + separator + mnemonic for each selected word in
// table order, then per trace its 1-based position in the file and the value
// of each selected word as a signed decimal integer.
// Import accepts more: ';', ',', blanks or TABs between fields (a run of blanks
// is one separator), fields quoted with " or ', blank lines and '#' comments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SegyWordSelection;

// The export title line (without newline) for the selected words.
std::string HeaderWordsTitleLine(const SegyWordSelection& words, char separator);
// One export data line (without newline) of a 240-byte header in host order.
std::string HeaderWordsDataLine(int64_t position, const uint8_t* header, const SegyWordSelection& words,
                                char separator);

// The fields of one import line; empty when the line is blank or a comment.
std::vector<std::string> SplitHeaderWordsLine(const std::string& line);

// A data field: true with the value for a decimal integer in the 32-bit range.
bool ParseHeaderWordValue(const std::string& field, int64_t* value);

// The separator character of a name: "semicolon" ';', "comma" ',', "tab" TAB; 0 when unknown.
char HeaderWordsSeparator(const std::string& name);

// The lowest-cased extension test of the seismic file: 1 SEG-Y (.segy, .sgy),
// 2 SU (.su), 0 anything else. ext receives the extension found (with the dot).
int HeaderWordsFileKind(const std::string& path, std::string* ext);
