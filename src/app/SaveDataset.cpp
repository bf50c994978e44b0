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
}  // namespace

bool SaveInProgress() {
  return g_saving;
}

SaveResult CheckSave(SeismicSection& section, const SaveParams& p, const IIRFilter* filter, int threads,
                     SaveOptions* options) {
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
  *options = std::move(o);
  return SaveResult{};
}

SaveResult WriteSave(const SeismicSection& section, const SaveParams& p, const std::string& path,
                     SaveOptions& o) {
  SaveResult result;
  {
    SavingFlag saving;
    switch (p.format) {
      case kSaveSegy:
        result.code = SaveAsSegyRev1(section, path, o);
        break;
      case kSaveSuFormat:
        result.code = SaveAsSu(section, path, o);
        break;
      default:
        result.code = SaveAsSeg2(section, path, o);
        break;
    }
  }
  if (result.code != 0) ConsoleRaise();
  return result;
}

SaveResult SaveDataset(SeismicSection& section, const SaveParams& p, const std::string& path,
                       const IIRFilter* filter, int threads, SaveProgress progress) {
  SaveOptions o;
  SaveResult checked = CheckSave(section, p, filter, threads, &o);
  if (checked.code != 0) return checked;
  o.progress = std::move(progress);
  return WriteSave(section, p, path, o);
}

std::string WithSaveExtension(const std::string& path, int32_t format) {
  std::size_t slash = path.find_last_of("/\\");
  std::size_t name = slash == std::string::npos ? 0 : slash + 1;
  if (name >= path.size() || path.find('.', name) != std::string::npos) return path;
  switch (format) {
    case kSaveSegy:
      return path + ".segy";
    case kSaveSuFormat:
      return path + ".su";
    default:
      return path + ".seg2";
  }
}
