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

  // Returns 0, or -999 when the column table cannot be allocated (logged,
  // nothing drawn).
  int DrawDensitySection();

  // Writes the indexes of trace n's samples into its column. filterBuffer
  // and agcBuffer are the calling worker's own.
  void RenderDensityColumn(int n, double colorGain, int x, const float* samples,
                           std::vector<float>* agcBuffer);

  // The columns of the last DrawDensitySection.
  const std::vector<ColumnEntry>& Columns() const { return m_columns; }

 private:
  int BuildColumns();
  void PaintNoData(int column);
  void RenderColumns(int first);
  void AddClosingColumn();
  void InterpolateRows();
  void InterpolateRow(uint8_t* row, int blankColumns);
  double ColumnNormaliser(TraceRecord* trace, const float** samples, std::vector<float>* agcBuffer) const;

  BackingStore& m_store;
  const TraceRendererInput& m_in;
  const DisplayParams& m_params;
  std::vector<ColumnEntry> m_columns;
  int m_dataRows = 0;
};
