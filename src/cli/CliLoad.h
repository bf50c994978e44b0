// Loading files into a scanned section for kxtool's commands, the way the
// program's load does: one section, file after file, the first file that
// yields traces supplying the file headers, every trace stamped with its file
// number (TRF).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "formats/LoadParams.h"
#include "section/SeismicSection.h"

// Tolerant reading for every load of the command line (--tolerant, --dt-us), set once by main()
// before the command runs.
void SetCliTolerantReading(bool tolerant, int32_t intervalUs);

class HeaderByteMap;

// The header byte map of the command line (--map, --map-file), set once by main() before the
// command runs; every load below uses it unless its params name one.
void SetCliHeaderMap(std::shared_ptr<const HeaderByteMap> map);

// Returns the scanned section, or null with *status: the load's status
// (kStatusNoReader for a file type without a reader), or kStatusRefused when no file gave a trace
// with a positive interval and sample count. *status is 0 on success.
// params: the load's parameters (the stack takes the file numbers from the names).
// skipped, when given, receives the traces the readers passed over for params.keepFrom; a
// window past the last trace then gives an empty section (not scanned) and status 0.
std::unique_ptr<SeismicSection> LoadSectionForCli(const std::vector<std::string>& files, int* status,
                                                  LoadParams params = LoadParams(),
                                                  int64_t* skipped = nullptr);

// JSON text helpers shared by the commands.
std::string JsonString(const std::string& text);
// A finite number with up to 17 significant digits, or null.
std::string JsonNumber(double v);
