// Builders for drawing tests: small synthetic sections, a view over them with
// the font-free text renderer, and a text renderer that records what it was
// asked to draw.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/BlockTextRenderer.h"
#include "display/VTracePlotter.h"
#include "section/SeismicSection.h"
#include "support/SectionBuilder.h"

namespace kxrender {

using kxtest::SampleFn;

// traces × ns samples at dt seconds from delay, sample values from fn, peaks
// and the summary computed.
inline std::unique_ptr<SeismicSection> MakeSection(int traces, int ns, double dt, const SampleFn& fn,
                                                   double delay = 0.0) {
  return kxtest::MakeSection(traces, ns, dt, fn, delay, [](TraceRecord& t, int n) {
    t.NVS = 0;
    t.NHS = 0;
    t.CHAN = n + 1;
    t.FLDR = 1000 + n / 10;
    t.EAMAX = t.AMAX;
  });
}

// Records the strings drawn (measuring is not recorded).
class RecordingText : public BlockTextRenderer {
 public:
  int Rasterize(std::string_view text, const TextStyle& style, TextMask* mask) override {
    drawn.emplace_back(text);
    return BlockTextRenderer::Rasterize(text, style, mask);
  }
  std::vector<std::string> drawn;
};

// A view of the given client size over a section, laid out from its start.
struct TestView {
  RecordingText text;
  VTracePlotter view;
  explicit TestView(int width, int height,
                    int flags = VTracePlotter::kTimeAxis | VTracePlotter::kHeaderLabels)
      : view(1, flags) {
    view.Create(width, height, &text);
  }
  void Show(const SeismicSection& s) {
    view.AttachTraces(s.Traces(), s.Summary());
    view.Layout(false);
  }
  // Palette rebuilt, laid out, drawn.
  void Draw() { view.DisplayChanged(1); }
  uint8_t At(int x, int y) const { return view.Store().Row(y)[x]; }
  const AxisLayout::Result& G() const { return view.Geometry(); }
};

}  // namespace kxrender
