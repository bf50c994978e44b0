// The save of the Save Dataset command in two steps, so that every refusal
// comes before a file name is asked for: CheckSave marks the traces to leave
// out and checks the limits of the chosen format; WriteSave hands the section
// to its writer. SaveDataset runs both (kxtool). The dialog and kxtool show
// the message a refusal returns.
#pragma once

#include <string>

#include "app/SaveParams.h"
#include "formats/SaveOptions.h"

class SeismicSection;
struct IIRFilter;

struct SaveResult {
  int code = 0;         // 0 success; -1 stopped before writing; else the writer's code
  std::string message;  // message box text when the save stopped before writing
  std::string caption;  // its caption
};

// Sets the traces' OMIT flags from p, then refuses an empty save set and what
// the format cannot hold. On success (code 0) options holds the writer
// options: time window, filter (when p.applyFilter; nullptr for none), team
// size threads and, for SEG-2, the kept trace count. The OMIT flags stay as
// the preparation left them.
SaveResult CheckSave(SeismicSection& section, const SaveParams& p, const IIRFilter* filter, int threads,
                     SaveOptions* options);

// Writes the checked save to path in p.format (options from CheckSave; its
// progress callback, when set, hears the writer). A failure raises the
// console, leaves no file and an existing file of that name untouched.
SaveResult WriteSave(const SeismicSection& section, const SaveParams& p, const std::string& path,
                     SaveOptions& options);

// CheckSave then WriteSave.
SaveResult SaveDataset(SeismicSection& section, const SaveParams& p, const std::string& path,
                       const IIRFilter* filter, int threads = 1, SaveProgress progress = {});

// A chosen name whose last path component has no dot gets the format's
// default extension (".segy", ".su", ".seg2").
std::string WithSaveExtension(const std::string& path, int32_t format);

// True while a save is writing (the GUI disables the filter and binning dialogs).
bool SaveInProgress();
