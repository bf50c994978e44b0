#include "display/DensityRenderer.h"

#include <omp.h>

#include <algorithm>
#include <cmath>
#include <new>

#include "display/Agc.h"
#include "display/DensityMapping.h"
#include "log/Log.h"
#include "log/Status.h"

DensityRenderer::DensityRenderer(BackingStore& store, const TraceRendererInput& in)
    : m_store(store), m_in(in), m_params(*in.params) {}

// The no-data colour down one raster column over the data rows. Columns
// outside the raster (a plot without a left margin) are left alone.
void DensityRenderer::PaintNoData(int column) {
  if (column < 0 || column >= m_store.Stride()) return;
  for (int r = 0; r < m_dataRows; ++r) m_store.Row(m_in.plotTop + r)[column] = kDensityZeroIndex;
}

// One column per pixel column, the first trace that lands in it. Column 0
// holds the trace left of the plot, or a blank column before trace 0.
int DensityRenderer::BuildColumns(bool paint) {
  const int hw = PixelTrunc(m_params.m_pixPerTrace * 0.5 + 0.0001);
  const int first = m_params.m_firstTrace;
  const int right = m_in.plotLeft + m_in.plotWidth;
  std::size_t capacity = static_cast<std::size_t>(std::max(m_in.maxSamples, m_in.plotWidth)) + 5;
  try {
    m_columns.clear();
    m_columns.reserve(capacity);
  } catch (const std::bad_alloc&) {
    LogPrint(LogError, "\nERROR: malloc failure for %.0lf-KiB POINT[%u]\n", capacity * 8.0 / 1024.0,
             static_cast<unsigned>(capacity));
    ConsoleRaise();
    return kStatusNoMemory;
  }
  int start = first;
  if (hw > 0 && first == 0) {
    m_columns.push_back(ColumnEntry{m_in.plotLeft - hw, -1});
    if (paint) PaintNoData(m_in.plotLeft - 1);
  } else if (hw > 0 && first > 0) {
    start = first - 1;
  }
  int lastX = m_columns.empty() ? -99999 : m_columns.back().x;
  for (int n = std::max(start, 0); n < m_in.count; ++n) {
    int x = m_in.TraceCentre(n);
    if (x <= lastX) continue;
    // The capacity covers every pixel column of the plot plus the extras.
    if (m_columns.size() + 1 >= m_columns.capacity()) break;
    m_columns.push_back(ColumnEntry{x, n});
    lastX = x;
    if (x >= right) break;
  }
  return 0;
}

int DensityRenderer::CollectTraces(std::vector<int>* traces) {
  m_dataRows = m_in.DataRows();
  if (BuildColumns(false) != 0) return kStatusNoMemory;
  for (const ColumnEntry& c : m_columns)
    if (c.trace >= 0 && c.trace < m_in.count) traces->push_back(c.trace);
  return 0;
}

int DensityRenderer::DrawDensitySection() {
  m_dataRows = m_in.DataRows();
  if (BuildColumns() != 0) return kStatusNoMemory;
  int firstRendered = !m_columns.empty() && m_columns.front().trace < 0 ? 1 : 0;
  RenderColumns(firstRendered);
  if (m_params.m_pixPerTrace > 1.0) {
    AddClosingColumn();
    InterpolateRows();
  }
  return 0;
}

void DensityRenderer::RenderColumns(int first) {
  const int count = static_cast<int>(m_columns.size());
  const double gain = m_params.m_colorGain * kDensitySteps;
  const int threads = std::max(m_in.displayThreads, 1);
#pragma omp parallel num_threads(threads)
  {
    std::vector<float> filterBuffer, agcBuffer;
    RowMap rows;
#pragma omp for schedule(dynamic, 1)
    for (int c = first; c < count; ++c) {
      const ColumnEntry& col = m_columns[static_cast<std::size_t>(c)];
      TraceRecord* trace = m_in.traces[col.trace];
      if (trace == nullptr) continue;
      const float* samples = m_in.PrepareSamples(trace, &filterBuffer);
      if (samples != nullptr) RenderDensityColumn(col.trace, gain, col.x, samples, &agcBuffer, &rows);
    }
  }
}

void DensityRenderer::AddClosingColumn() {
  if (m_columns.empty()) return;
  int lastX = m_columns.back().x;
  if (lastX >= m_in.plotLeft + m_in.plotWidth - 1) return;
  int x = lastX + PixelTrunc(m_params.m_pixPerTrace * 0.5 + 0.0001);
  m_columns.push_back(ColumnEntry{x, m_in.count});
  PaintNoData(std::min(x, m_in.clientWidth));
}

// The normaliser of the gain mode; with AGC *samples moves to the gained copy
// (DNORM keeps the ungained peak). Negative: the AGC buffer failed.
double DensityRenderer::ColumnNormaliser(TraceRecord* trace, const float** samples,
                                         std::vector<float>* agcBuffer) const {
  switch (m_params.m_gainControl) {
    case kGainNone: {
      double v = m_params.m_ensembleView ? trace->EAMAX : m_in.normaliser;
      return std::max(v, 0.0);
    }
    case kGainAgc: {
      int l = AgcHalfWindow(m_params.m_agcWindow, trace->DT);
      if (!AgcApplies(l, trace->NS)) return trace->DNORM;
      try {
        agcBuffer->resize(static_cast<std::size_t>(trace->NS));
      } catch (const std::bad_alloc&) {
        LogPrint(LogError, "ERROR: malloc failure");
        return -1.0;
      }
      float peak = m_params.m_agcType == kAgcMean ? AgcMean(*samples, agcBuffer->data(), trace->NS, l)
                                                  : AgcRms(*samples, agcBuffer->data(), trace->NS, l);
      *samples = agcBuffer->data();
      return peak;
    }
    default:
      return trace->DNORM;
  }
}

// Row r shows time t = r ÷ px/s + start: sample j = int((t − DELAY) × (1 ÷ DT)
// + 0.0001), linearly interpolated towards j + 1 by the time past it.
void DensityRenderer::BuildRowMap(const TraceRecord& trace, RowMap* rows) const {
  rows->dt = trace.DT;
  rows->delay = trace.DELAY;
  rows->ns = trace.NS;
  rows->sample.resize(static_cast<std::size_t>(m_dataRows));
  rows->weight.resize(static_cast<std::size_t>(m_dataRows));
  const double invDt = 1.0 / trace.DT, dt = trace.DT, delay = trace.DELAY;
  const double pps = m_params.m_pixPerSec, start = m_params.m_startTime;
  for (int r = 0; r < m_dataRows; ++r) {
    double t = r / pps + start;
    double jd = (t - delay) * invDt + 0.0001;
    std::size_t i = static_cast<std::size_t>(r);
    if (!(jd > -1.0) || jd >= trace.NS) {
      rows->sample[i] = -1;
      continue;
    }
    int32_t j = static_cast<int32_t>(jd);
    double f = t - (j * dt + delay);
    rows->sample[i] = j;
    rows->weight[i] = j + 1 < trace.NS && f > 0.0 ? invDt * f : -1.0;
  }
}

void DensityRenderer::RenderDensityColumn(int n, double colorGain, int x, const float* samples,
                                          std::vector<float>* agcBuffer, RowMap* rows) {
  TraceRecord* trace = m_in.traces[n];
  if (!(trace->DT > 0.0)) return;
  int column = x > m_in.plotLeft + m_in.plotWidth ? m_in.clientWidth : std::max(x, m_in.plotLeft - 1);
  if (column < 0 || column >= m_store.Stride()) return;
  double v = ColumnNormaliser(trace, &samples, agcBuffer);
  if (v < 0.0) return;
  double sign = m_params.m_inversePolarity ? -1.0 : 1.0;
  if (m_in.viewRole == 2 && trace->TSKIP) colorGain *= 0.25;
  const double k = (v > 0.0 ? colorGain / v : 0.0) * sign;
  if (rows->dt != trace->DT || rows->delay != trace->DELAY || rows->ns != trace->NS ||
      rows->sample.size() != static_cast<std::size_t>(m_dataRows))
    BuildRowMap(*trace, rows);
  const std::ptrdiff_t stride = m_store.Stride();
  uint8_t* p = m_store.Row(m_in.plotTop) + column;
  const int32_t* sample = rows->sample.data();
  const double* weight = rows->weight.data();
  for (int r = 0; r < m_dataRows; ++r, p += stride) {
    int32_t j = sample[r];
    if (j < 0) {
      *p = kDensityZeroIndex;
      continue;
    }
    float value = samples[j];
    if (weight[r] >= 0.0) value = static_cast<float>((samples[j + 1] - samples[j]) * weight[r] + samples[j]);
    *p = static_cast<uint8_t>(DensityIndex(value * k));
  }
}

void DensityRenderer::InterpolateRows() {
  const int threads = std::max(m_in.displayThreads, 1);
  const bool blank = !m_columns.empty() && m_columns.front().trace < 0;
  m_halfRamp.assign(m_columns.size(), 0);
  for (std::size_t c = 0; c + 1 < m_columns.size(); ++c)
    m_halfRamp[c] = m_columns[c + 1].trace == m_in.count || (c == 0 && blank);
    // Below the data rows both ends of every ramp are background: nothing changes.
#pragma omp parallel for num_threads(threads) schedule(static)
  for (int y = m_in.plotTop; y < m_in.plotTop + m_dataRows; ++y) InterpolateRow(m_store.Row(y));
}

// Indexes between consecutive rendered columns at least 2 pixels apart, on a
// line from the left column's index to the right one's. Next to the blank and
// closing columns the slope spans half a trace.
void DensityRenderer::InterpolateRow(uint8_t* row) {
  const double ppt = m_params.m_pixPerTrace;
  const int width = m_in.clientWidth, left = m_in.plotLeft, leftRead = std::max(left - 1, 0);
  for (std::size_t c = 0; c + 1 < m_columns.size(); ++c) {
    const int xa = m_columns[c].x, xb = m_columns[c + 1].x;
    if (xb - xa < 2) continue;
    const double g = row[std::max(xa, leftRead)], l = row[std::min(xb, width)];
    const double t = (l - g) / (m_halfRamp[c] ? ppt * 0.5 : ppt);
    const int last = std::max(xa + 1, left);
    for (int k = std::min(xb - 1, width - 1); k >= last; --k) {
      // Between the two end indexes, so within 0..255.
      int q = static_cast<int>(l - (xb - k) * t + 0.5);
      row[k] = static_cast<uint8_t>(q < 0 ? 0 : (q > 255 ? 255 : q));
    }
  }
}
