#include "app/SaveStacks.h"

#include <cerrno>

#include "app/SavePrep.h"
#include "formats/DetectFileType.h"
#include "formats/SafeWrite.h"
#include "formats/Seg2Writer.h"
#include "formats/SegyWriter.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {
bool StackPresent(const SeismicSection& s) {
  if (s.StackCount() < 1) return false;
  for (const TraceRecord* r : s.Stack())
    if (!r) return false;
  return true;
}

// The format limits for the stacked traces themselves, which all share the
// first one's sample count and interval.
int CheckLimits(const SeismicSection& s, int format, int32_t count) {
  std::string message;
  int rc = 0;
  if (format == kFileSeg2) {
    rc = CheckSeg2Limits(count, &message);
  } else {
    // The stacked traces' own length, as a window over the section.
    const TraceRecord* first = s.Stack()[0];
    SaveOptions window;
    window.timeCrop = 1;
    window.t1 = first->DT * (first->NS > 0 ? first->NS - 1 : 0);
    rc = CheckSegyLimits(window, s, &message);
    // The window says nothing without an interval; the count still binds.
    if (rc == 0 && first->NS > 65535) {
      rc = kStatusRefused;
      message = "TOO MANY SAMPLES, max is 65'535 with SU/SEG-Y <= rev 1 format";
    }
  }
  if (rc == 0) return 0;
  LogPrint(LogError, "\nERROR: %s", message.c_str());
  ConsoleRaise();
  return kStackSaveLimits;
}

int SaveSeg2Stacks(const SeismicSection& s, const std::string& path, SaveOptions& o) {
  SafeWrite out;
  // Read-write: the writer goes back to fill the pointer subblock.
  if (out.Open(path, 131072, "w+b") != 0) {
    int code = errno != 0 ? errno : EIO;
    LogPrint(LogError, "\nERROR: cannot create \"%s\"", path.c_str());
    LogSystemError(code, 1);
    return kStatusOpenFailed;
  }
  int rc = WriteSEG2(s, out.File(), o);
  if (rc != 0) return rc;  // out's destructor removes the temporary file
  return out.Commit() == 0 ? 0 : kStatusWriteFailed;
}
}  // namespace

int StackSaveFormat(int fileType) {
  if (fileType == kFileSegy || fileType == kFileSu) return kFileSegy;
  if (fileType == kFileSeg2) return kFileSeg2;
  return kFileUnknown;
}

std::string StackSavePath(const std::string& chosen, int fileType) {
  int format = StackSaveFormat(fileType);
  if (format == kFileUnknown || chosen.empty() || !PathExtension(chosen).empty()) return chosen;
  return chosen + (format == kFileSeg2 ? kStackSeg2Extension : kStackSegyExtension);
}

SaveOptions StackSaveOptions(const SeismicSection& s) {
  SaveOptions o;
  o.timeCrop = 0;
  o.t0 = o.t1 = DBLE_UNDEF;
  o.traceList = 1;
  o.filter = nullptr;
  o.revision = 1;
  o.flags = 0;
  // The SEG-2 writer sizes its pointer subblock from this count.
  if (StackSaveFormat(s.FileType()) == kFileSeg2 && s.StackCount() > 0)
    o.seg2TraceCount = static_cast<uint16_t>(s.StackCount() > 16383 ? 16383 : s.StackCount());
  return o;
}

int SaveStacks(const SeismicSection& s, const std::string& path) {
  int format = StackSaveFormat(s.FileType());
  if (format == kFileUnknown) return kStackSaveNoFormat;
  if (!StackPresent(s)) {
    LogPrint(LogError, "\nERROR: no stacked traces to save");
    return kStackSaveNoStack;
  }
  if (CheckLimits(s, format, s.StackCount()) != 0) return kStackSaveLimits;
  SaveOptions o = StackSaveOptions(s);
  int rc = format == kFileSeg2 ? SaveSeg2Stacks(s, path, o) : SaveAsSegyRev1(s, path, o);
  if (rc == 0) LogPrint(LogStep, "%d stacked traces saved to '%s'", s.StackCount(), path.c_str());
  return rc;
}
