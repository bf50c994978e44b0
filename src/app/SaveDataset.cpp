#include "app/SaveDataset.h"

#include <atomic>
#include <chrono>

#include "app/SavePrep.h"
#include "formats/Seg2Writer.h"
#include "formats/SegyWriter.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {
std::atomic<bool> g_saving{false};

struct SavingFlag {
  SavingFlag() { g_saving = true; }
  ~SavingFlag() { g_saving = false; }
};

SaveResult Stop(const std::string& message) {
  return SaveResult{-1, message, " Save Dataset Error"};
}

int Write(SeismicSection& section, const SaveParams& p, SaveOptions& o, const std::string& path) {
  SavingFlag saving;
  switch (p.format) {
    case kSaveSegy:
      return SaveAsSegyRev1(section, path, o);
    case kSaveSuFormat:
      return SaveAsSu(section, path, o);
    default:
      return SaveAsSeg2(section, path, o);
  }
}
}  // namespace

bool SaveInProgress() {
  return g_saving;
}

SaveResult SaveDataset(SeismicSection& section, const SaveParams& p, const std::string& path,
                       const IIRFilter* filter, int threads) {
  auto start = std::chrono::steady_clock::now();
  SaveOptions o = BuildSaveOptions(p, section, filter);
  o.threads = threads;
  int32_t kept = PrepareSaveSet(section, p);
  if (kept == 0) return Stop("Empty saveset after applying defined crop");
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  LogPrint(LogError, "Save dataset prepare in %.4lfms", ms);
  std::string message;
  if (p.format == kSaveSeg2) {
    if (CheckSeg2Limits(kept, &message) != 0) return Stop(message);
    o.seg2TraceCount = static_cast<uint16_t>(kept);
  } else if (CheckSegyLimits(o, section, &message) != 0) {
    return Stop(message);
  }
  SaveResult result;
  result.code = Write(section, p, o, path);
  if (result.code != 0) ConsoleRaise();
  return result;
}
