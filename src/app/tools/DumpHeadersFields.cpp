#include "app/tools/DumpHeadersFields.h"

#include "app/TextInput.h"

DumpRequest MakeDumpRequest(bool textual, bool binary, bool traces, const std::string& fromText,
                            const std::string& toText) {
  DumpRequest r;
  r.flags = (textual ? 1 : 0) | (binary ? 2 : 0) | (traces ? 0x10 : 0);
  bool anyBox = r.flags != 0;
  if (!anyBox) r.flags = 0x12;
  bool digits = false;
  int from = ParseInt(fromText, nullptr, &digits);
  r.firstTrace = digits ? from : 1;
  int to = ParseInt(toText, nullptr, &digits);
  r.lastTrace = digits && anyBox ? to : r.firstTrace;
  return r;
}
