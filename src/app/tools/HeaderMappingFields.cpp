#include "app/tools/HeaderMappingFields.h"

#include "log/Log.h"
#include "section/SegyWordTable.h"

namespace {
bool Blank(const std::string& s) {
  return s.find_first_not_of(" \t") == std::string::npos;
}
}  // namespace

std::vector<HeaderMappingRow> HeaderMappingRowsFrom(const HeaderByteMap& map) {
  std::vector<HeaderMappingRow> rows;
  for (const HeaderMapEntry& e : map.Entries()) {
    const SegyWordRow* word = FindSegyWord(e.word);
    rows.push_back({word ? word->mnemonic : "", std::to_string(e.byte), HeaderMapTypeName(e.type)});
  }
  return rows;
}

int ReadHeaderMappingRows(std::span<const HeaderMappingRow> rows, HeaderByteMap* map, int* badRow,
                          std::string* message) {
  HeaderByteMap read;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const HeaderMappingRow& r = rows[i];
    if (Blank(r.word) && Blank(r.byte)) continue;
    std::string why;
    int rc = read.Add(r.word + "=" + r.byte + ":" + r.type, &why);
    if (rc != 0) {
      *badRow = static_cast<int>(i);
      *message = StrPrintf("row %d: ", static_cast<int>(i) + 1) + why;
      return rc;
    }
  }
  *map = std::move(read);
  return 0;
}

std::string HeaderMappingStatus(const HeaderByteMap& map) {
  if (map.Empty()) return "Loads read every word at its standard bytes.";
  return "Loads read " + map.Text() + ".";
}
