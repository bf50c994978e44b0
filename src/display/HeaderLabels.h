// Rows of trace-header labels above the plot: the names of the chosen header
// words at the left, and under each labelled trace a tick and its value of
// every word. Labelled traces follow a graduation of the page ("auto"), or,
// with a graduation step and an integer word last, the traces whose value of
// that word is a multiple of the step, spaced so that labels never collide.
#pragma once

#include <string>
#include <vector>

#include "display/AxisLayout.h"
#include "display/BackingStore.h"
#include "display/LabelLane.h"
#include "display/RasterPainter.h"
#include "display/TraceRendererInput.h"
#include "section/TraceRecord.h"

class HeaderLabels {
 public:
  static constexpr int kMaxWords = 12;
  static constexpr int kMaxTextChars = 16;

  // The label of header word `row` (label table id) for trace `index`; at
  // most 16 characters, empty for words without a label form.
  static std::string LabelText(int row, int index, const TraceRecord* trace, double baseTimeFactor);

  // Chosen words in order (label table ids; the default is the trace index).
  // Invalid ids are dropped and at most 12 kept.
  void SetWords(const std::vector<int>& rows);
  const std::vector<int>& Words() const { return m_words; }
  // Graduation step (0 "auto"), and the "Hgrad" setting 0..4.
  void SetGraduation(int step, int hgrad);
  int Step() const { return m_step; }

  // Draws the rows; does nothing without words. baseTimeFactor formats times.
  // Every text stays inside the raster; the texts written are added to
  // *placed when given.
  void Draw(BackingStore& store, const TraceRendererInput& in, const AxisLayout::Metrics& metrics,
            TextRenderer* text, double baseTimeFactor, std::vector<PlacedText>* placed = nullptr);

  // Results of the last Draw: the widest label, the automatic label step and
  // the traces labelled.
  int LabelWidth() const { return m_labelWidth; }
  int LabelStep() const { return m_labelStep; }
  const std::vector<int>& Labelled() const { return m_labelled; }

 private:
  bool SteppedWord() const;
  int MeasureLabelWidth(RasterPainter& painter, const TraceRendererInput& in, const AxisLayout::Metrics& m,
                        double factor) const;
  void ChooseAutomatic(const TraceRendererInput& in, const AxisLayout::Metrics& m);
  void ChooseStepped(const TraceRendererInput& in, const AxisLayout::Metrics& m);
  int DrawNames(RasterPainter& painter, const TraceRendererInput& in, const AxisLayout::Metrics& m, int y0,
                std::vector<PlacedText>* placed);

  std::vector<int> m_words = {0};
  int m_step = 0;
  int m_hgrad = 2;
  int m_labelWidth = 0;
  int m_labelStep = 1;
  std::vector<int> m_labelled;
};
