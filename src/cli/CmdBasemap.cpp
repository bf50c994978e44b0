// kxtool basemap: the map of the sources, receivers and CDPs of the input
// files (and a digitized profile) drawn as the Basemap window draws it, saved
// as a PNG.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/HeadlessGui.h"
#include "cli/Options.h"
#include "display/BasemapGraphs.h"
#include "display/DisplayParams.h"
#include "display/PngSnapshot.h"
#include "formats/ProfileText.h"
#include "log/Log.h"
#include "qttext/QtTextRenderer.h"
#include "section/SeismicSection.h"

namespace {
bool ParseMapSize(const std::string& text, int* w, int* h) {
  int a = 0, b = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &a, &b, &tail) != 2 || a < 200 || b < 150 || a > 16384 ||
      b > 16384) {
    LogPrint(LogError, "\nERROR: --size needs WxH, at least 200x150 and at most 16384x16384, not \"%s\"",
             text.c_str());
    return false;
  }
  *w = a, *h = b;
  return true;
}

int DrawMap(const SeismicSection& section, const std::vector<ProfilePoint>& profile, int w, int h,
            const std::string& out) {
  BasemapGraphs graphs = MakeBasemapGraphs(5);
  for (int set : {kMapCdps, kMapReceivers, kMapSources})
    graphs[static_cast<std::size_t>(set)].points = BuildMapPoints(section.Traces(), static_cast<MapSet>(set));
  for (const ProfilePoint& p : profile) graphs[kMapProfileGraph].points.push_back({p.x, p.y, -1});
  const std::vector<const XYGraph*> all{&graphs[0], &graphs[1], &graphs[2], &graphs[3]};
  MapRange extent;
  if (!GraphsExtent(all, &extent)) {
    LogPrint(LogError, "\nERROR: the traces have no positions to map");
    return 1;
  }
  extent = WithMargin(extent, kMapExtentMargin);  // as the window's full extent
  BackingStore store;
  if (store.CreateBackingStore(96, DisplayParams{}) != 0 || store.ResizeBackingStore(w, h, 3) != 0) return 1;
  BuildMapPalette(store.GetPalette());
  XYMapper mapper;
  mapper.SetClientSize(w, h);
  if (mapper.FitMap(extent) != 0) return 1;
  QtTextRenderer text;
  const std::string status = StrPrintf("%d traces   |   %zu sources   %zu receivers   %zu CDPs",
                                       section.Count(), graphs[kMapSources].points.size(),
                                       graphs[kMapReceivers].points.size(), graphs[kMapCdps].points.size());
  if (mapper.Draw(store, {all, status, &text}) != 0) return 1;
  return SavePngSnapshot(store, out) == 0 ? 0 : 1;
}

int RunBasemap(const CommandArgs& args) {
  Options opts(args.args);
  auto out = opts.Value("-o");
  if (!out) out = opts.Value("--output");
  auto profilePath = opts.Value("--profile");
  int w = 1280, h = 800;
  if (auto size = opts.Value("--size"); size && !ParseMapSize(*size, &w, &h)) return 2;
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.empty() || !out || out->empty()) {
    LogPrint(LogError, "\nERROR: basemap needs input files and -o MAP.png");
    return 2;
  }
  std::vector<ProfilePoint> profile;
  if (profilePath && LoadProfileText(*profilePath, &profile) != 0) return 1;
  std::unique_ptr<QGuiApplication> app = StartHeadlessGui();
  int status = 0;
  std::unique_ptr<SeismicSection> section = LoadSectionForCli(files, &status);
  if (!section) return 1;
  if (section->Count() < 2) {
    LogPrint(LogError, "\nERROR: a map needs at least 2 traces");
    return 1;
  }
  return DrawMap(*section, profile, w, h, *out);
}
}  // namespace

KX_COMMAND("basemap", "basemap IN... -o MAP.png [--profile P.txt] [--size WxH]",
           "draws the sources, receivers and CDPs (and a digitized profile) as the Basemap window does "
           "(default 1280x800)",
           RunBasemap);
