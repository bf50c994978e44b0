// Colour-density drawing: each sample's amplitude becomes a palette index
// (13 most negative, 134 zero and no data, 255 most positive). Two passes on
// a team of displayThreads OpenMP threads: one trace per pixel column (the
// first trace that lands in it), then, when traces are wider than a pixel,
// each row's indexes interpolated between the rendered columns.
//
// Threads: pass 1 writes disjoint raster columns and the DNORM of distinct
// traces, pass 2 disjoint rows; each worker keeps its own buffers. The
// raster is identical for any team size.
#pragma once

#include <cstdint>
#include <vector>

#include "display/BackingStore.h"
#include "display/TraceRendererInput.h"

// A rendered column: pixel column x and the trace in it (-1 the blank column
// left of trace 0, count the closing column right of the last trace).
struct ColumnEntry {
  int32_t x;
  int32_t trace;
};
static_assert(sizeof(ColumnEntry) == 8);

class DensityRenderer {
 public:
  DensityRenderer(BackingStore& store, const TraceRendererInput& in);

  // Returns 0, or kStatusNoMemory when the column table cannot be allocated (logged,
  // nothing drawn).
  int DrawDensitySection();

  // Sample position of every data row for one trace geometry (interval,
  // delay, sample count): most traces share it, so workers keep one and
  // rebuild it only when the geometry changes.
  struct RowMap {
    double dt = 0.0;
    double delay = 0.0;
    int32_t ns = -1;
    std::vector<int32_t> sample;  // j, or -1 where the row has no sample
    std::vector<double> weight;   // (1 ÷ DT) × f, or -1 where x[j] is taken as it is
  };

  // Writes the indexes of trace n's samples into its column. agcBuffer and
  // rows are the calling worker's own.
  void RenderDensityColumn(int n, double colorGain, int x, const float* samples,
                           std::vector<float>* agcBuffer, RowMap* rows);

  // The columns of the last DrawDensitySection.
  const std::vector<ColumnEntry>& Columns() const { return m_columns; }

  // The traces DrawDensitySection draws, in column order; nothing is drawn.
  int CollectTraces(std::vector<int>* traces);

 private:
  // paint: also paint the blank column before trace 0.
  int BuildColumns(bool paint = true);
  void PaintNoData(int column);
  void RenderColumns(int first);
  void AddClosingColumn();
  void InterpolateRows();
  void InterpolateRow(uint8_t* row);
  void BuildRowMap(const TraceRecord& trace, RowMap* rows) const;
  double ColumnNormaliser(TraceRecord* trace, const float** samples, std::vector<float>* agcBuffer) const;

  BackingStore& m_store;
  const TraceRendererInput& m_in;
  const DisplayParams& m_params;
  std::vector<ColumnEntry> m_columns;
  // Per pair of neighbouring columns: whether the ramp spans half a trace.
  std::vector<uint8_t> m_halfRamp;
  int m_dataRows = 0;
};
