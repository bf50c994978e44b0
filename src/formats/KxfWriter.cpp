#include "formats/KxfWriter.h"

#include <bit>
#include <cerrno>

#include "formats/SafeWrite.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

static_assert(std::endian::native == std::endian::little, "KXF files hold little-endian records");

int WriteKxf(const SeismicSection& section, const std::string& path) {
  LogPrint(LogStep, "\n\nSaving KXF file '%s'\n", path.c_str());
  SafeWrite out;
  if (int rc = out.Open(path); rc != 0) return rc;
  int written = 0;
  for (const TraceRecord* rec : section.Traces()) {
    if (!rec) continue;
    const std::size_t slots = static_cast<std::size_t>(rec->DIM < 2 ? 2 : rec->DIM);
    errno = 0;
    if (std::fwrite(rec, kTraceHeaderBytes, 1, out.File()) != 1 ||
        std::fwrite(rec->Samples(), sizeof(float), slots, out.File()) != slots) {
      int code = errno;
      LogPrint(LogError, "\nERROR: IO error while writing KXF file after %d traces written", written);
      LogSystemError(code, 1);
      return kStatusWriteFailed;  // out's destructor removes the partial file
    }
    ++written;
  }
  if (int rc = out.Commit(); rc != 0) return rc;
  LogPrint(LogStep, "%d traces written to KXF file", written);
  return 0;
}
