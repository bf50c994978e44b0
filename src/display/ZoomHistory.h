// The zoom history of one trace view: the scales and position before each
// zoom, 16 deep. A zoom of the same kind as the last one recorded is not
// recorded again (except rectangle zooms), so a run of key zooms undoes in one
// step.
#pragma once

#include <array>
#include <cstdint>

#include "display/DisplayParams.h"

enum ZoomKind : int {
  kZoomFitTraces = 1,
  kZoomTraces = 2,
  kZoomFitTime = 4,
  kZoomTime = 8,
  kZoomRectangleKind = 16,
};

struct ZoomEntry {
  double pixPerTrace = 0.0;
  double pixPerSec = 0.0;
  int32_t firstTrace = 0;
  double startTime = 0.0;
  int kind = 0;
};

class ZoomHistory {
 public:
  static constexpr int kDepth = 16;

  void Record(const DisplayParams& params, int kind);
  // Restores the last entry into params; false when the history is empty.
  bool Undo(DisplayParams* params);
  void Clear() { m_size = 0; }
  int Size() const { return m_size; }
  const ZoomEntry& Top() const { return m_entries[m_size - 1]; }

 private:
  std::array<ZoomEntry, kDepth> m_entries{};
  int m_size = 0;
};
