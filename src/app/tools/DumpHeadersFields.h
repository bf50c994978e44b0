// The reading rule of the " Dump Headers on console" dialog, on plain field
// values so that it is tested without widgets.
#pragma once

#include <cstdint>
#include <string>

// The dump request that the " Dump Headers on console" dialog's "Open File"
// makes of its boxes and trace range fields.
struct DumpRequest {
  int32_t flags = 0;
  int32_t firstTrace = 1;
  int32_t lastTrace = 1;
};
DumpRequest MakeDumpRequest(bool textual, bool binary, bool traces, const std::string& fromText,
                            const std::string& toText);
