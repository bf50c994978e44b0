// The traces of one redraw in their order: wiggle mode draws time lines under
// unfilled wiggles and over filled ones; colour mode draws the density image,
// the highlighted trace's wiggle and then time lines. The raster must have
// been cleared and its palette built.
#pragma once

#include <vector>

#include "display/BackingStore.h"
#include "display/TraceRendererInput.h"

class TraceRenderer {
 public:
  // Returns 0, or kStatusNoMemory when a drawing buffer could not be allocated (logged,
  // the console raised; the rest of that mode's drawing is skipped).
  static int DrawTraces(BackingStore& store, const TraceRendererInput& in);
  // The traces (indexes into in.traces) DrawTraces would draw, so that their
  // filtered copies can be made beforehand; the raster is not touched.
  static std::vector<int> TracesDrawn(BackingStore& store, const TraceRendererInput& in);
};
