// The save of the Save Dataset command once the file name is known: marks the
// traces to leave out, checks the limits of the chosen format and hands the
// section to its writer. The dialog and kxtool show the message it returns.
#pragma once

#include <string>

#include "app/SaveParams.h"

class SeismicSection;
struct IIRFilter;

struct SaveResult {
  int code = 0;         // 0 success; -1 stopped before writing; else the writer's code
  std::string message;  // message box text when the save stopped before writing
  std::string caption;  // its caption
};

// Runs the save to path in p.format; with p.applyFilter the samples pass
// through filter (nullptr for none). The traces' OMIT flags stay as the
// preparation left them. A failure leaves no file and an existing file of
// that name untouched. threads: the team that filters and encodes the traces.
SaveResult SaveDataset(SeismicSection& section, const SaveParams& p, const std::string& path,
                       const IIRFilter* filter, int threads = 1);

// True while a save is writing (the GUI disables the filter and binning dialogs).
bool SaveInProgress();
