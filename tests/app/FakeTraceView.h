// A trace view for the workspace tests: records what the workspace does to
// it and reports a fixed plot area.
#pragma once

#include "app/TraceViewObserver.h"
#include "section/SeismicSection.h"

class FakeTraceView : public TraceViewObserver {
 public:
  bool HasData() const override { return m_count > 0; }
  int SelectedTrace() const override { return m_selected; }
  void SetSelectedTrace(int t) override { m_selected = t; }
  DisplayParams& Params() override { return m_params; }
  void Clear() override {
    m_count = 0;
    ++m_clears;
  }
  void RefreshDisplay() override { ++m_refreshes; }
  void ShowTraces(std::span<TraceRecord* const> traces, const SectionSummary& summary,
                  std::span<const EnsembleRecord>) override {
    m_count = static_cast<int>(traces.size());
    m_samples = summary.maxSamples;
  }
  int TraceCount() const override { return m_count; }
  int SampleCount() const override { return m_samples; }
  void PlotSize(int* w, int* h) override {
    *w = 601;
    *h = 401;
  }

  DisplayParams m_params;
  int m_count = 0;
  int m_samples = 0;
  int m_selected = -1;
  int m_clears = 0;
  int m_refreshes = 0;
};
