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

namespace kxrender {

using SampleFn = std::function<float(int trace, int sample)>;

// traces × ns samples at dt seconds from delay, sample values from fn, peaks
// and the summary computed.
inline std::unique_ptr<SeismicSection> MakeSection(int traces, int ns, double dt, const SampleFn& fn,
                                                   double delay = 0.0) {
  auto s = std::make_unique<SeismicSection>();
  for (int n = 0; n < traces; ++n) {
    TraceRecord* t = TraceRecord::Allocate(ns);
    t->DT = dt;
    t->DELAY = delay;
    t->TRID = 1;
    t->CHAN = n + 1;
    t->FLDR = 1000 + n / 10;
    for (int i = 0; i < ns; ++i) t->Samples()[i] = fn(n, i);
    t->UpdatePeak();
    t->EAMAX = t->AMAX;
    if (s->AppendTrace(t, 1, 0) != 0) return nullptr;
  }
  s->Scan();
  return s;
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
    view.AttachSection(s);
    view.Layout(false);
  }
  // Palette rebuilt, laid out, drawn.
  void Draw() { view.DisplayChanged(1); }
  uint8_t At(int x, int y) const { return view.Store().Row(y)[x]; }
  const AxisLayout::Result& G() const { return view.Geometry(); }
};

}  // namespace kxrender
