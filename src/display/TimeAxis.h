// The time axis left of the plot and the time lines across it, both on the
// major graduation of the layout. Also the choice of display time unit.
#pragma once

#include <string>
#include <vector>

#include "display/AxisLayout.h"
#include "display/BackingStore.h"
#include "display/LabelLane.h"
#include "display/TraceRendererInput.h"

class TimeAxis {
 public:
  // Display units per second: the section's base factor, a thousandth of it
  // when the section spans more than 10000 base units.
  static double DisplayFactor(double baseFactor, double sectionStart, double sectionEnd);
  // "ns", "μs", "ms" or "sec" for a display factor; the label is "[%s]".
  static const char* UnitName(double displayFactor);
  static std::string UnitLabel(double displayFactor);

  // Horizontal lines in scheme entry 2 at the major ticks, from the column
  // left of the plot to its right edge.
  static void DrawTimeLines(BackingStore& store, const TraceRendererInput& in);

  // Ticks and values right-aligned against the plot, the unit at the top of
  // the margin. Text in scheme entry 1, all of it inside the raster; the
  // texts written are added to *placed when given.
  static void DrawTimeAxis(BackingStore& store, const TraceRendererInput& in,
                           const AxisLayout::Metrics& metrics, TextRenderer* text, double visibleSpan,
                           std::vector<PlacedText>* placed = nullptr);
  // The unit label's box for a text of that extent: fixed under the plot
  // top, so it stays put while the view scrolls in time.
  static PixelRect UnitLabelBox(const TraceRendererInput& in, const AxisLayout::Metrics& metrics,
                                TextExtent extent);
};
