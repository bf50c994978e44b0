// The reading and filling rules of the "Header Mapping" dialog, on plain field
// values so that they are tested without widgets: rows of word, byte and type
// as the user typed them, read through the core's map parser.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "formats/HeaderByteMap.h"

struct HeaderMappingRow {
  std::string word;  // a trace header mnemonic, e.g. "CDP"
  std::string byte;  // 1-based first byte, e.g. "189"
  std::string type;  // one of HeaderMapTypeNames()
};

// The rows that show map, in its order.
std::vector<HeaderMappingRow> HeaderMappingRowsFrom(const HeaderByteMap& map);

// Reads the rows into *map (replaced only on success). Rows whose word and byte
// are both blank are skipped (one just added and left empty). On a refusal
// returns its HeaderMapRefusal, *badRow the 0-based row and *message the
// reason, naming the row ("row 2: ...").
int ReadHeaderMappingRows(std::span<const HeaderMappingRow> rows, HeaderByteMap* map, int* badRow,
                          std::string* message);

// The dialog's status line for the map in force.
std::string HeaderMappingStatus(const HeaderByteMap& map);
