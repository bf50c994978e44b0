#include "display/BasemapGraphs.h"

#include <cmath>

#include "log/Log.h"
#include "section/SeismicSection.h"
#include "section/TraceRecord.h"

namespace {
MapPoint PointOf(const TraceRecord& t, MapSet set, int32_t index) {
  switch (set) {
    case kMapReceivers:
      return {t.RX, t.RY, index};
    case kMapSources:
      return {t.SX, t.SY, index};
    default:
      return {t.CDPX, t.CDPY, index};
  }
}

void KeepNew(std::vector<MapPoint>* points, const MapPoint& p) {
  if (!points->empty() && points->back().x == p.x && points->back().y == p.y) return;
  points->push_back(p);
}
}  // namespace

BasemapGraphs MakeBasemapGraphs(int symbolSize) {
  BasemapGraphs g;
  g[kMapCdps] = {{}, true, 0, MapSymbol::kCircle, false, true, kMapCdp, kMapCdp};
  g[kMapReceivers] = {{}, true, 0, MapSymbol::kDiamond, false, true, kMapReceiver, kMapReceiverFill};
  g[kMapSources] = {{}, true, 0, MapSymbol::kSquare, false, true, kMapSource, kMapSourceFill};
  g[kMapProfileGraph] = {{}, true, 0, MapSymbol::kSquare, true, false, kMapProfileInk, kMapProfileInk};
  SetBasemapSymbolSize(&g, symbolSize);
  return g;
}

void SetBasemapSymbolSize(BasemapGraphs* graphs, int symbolSize) {
  (*graphs)[kMapCdps].symbolSize = symbolSize;
  (*graphs)[kMapReceivers].symbolSize = symbolSize + 2;
  (*graphs)[kMapSources].symbolSize = symbolSize + 2;
  (*graphs)[kMapProfileGraph].symbolSize = symbolSize + 4;
}

std::vector<MapPoint> BuildMapPoints(std::span<TraceRecord* const> traces, MapSet set) {
  std::vector<MapPoint> points;
  if (traces.size() < 2) return points;
  points.reserve(traces.size());
  for (std::size_t i = 0; i < traces.size(); ++i)
    if (traces[i]) KeepNew(&points, PointOf(*traces[i], set, static_cast<int32_t>(i)));
  LogPrint(LogError, "Basemap::InitGraph(%d): total npts=%d  kept pts=%d", static_cast<int>(set),
           static_cast<int>(traces.size()), static_cast<int>(points.size()));
  return points;
}

std::vector<MapPoint> BuildCdpPoints(std::span<TraceRecord* const> traces,
                                     const std::vector<int32_t>& which) {
  std::vector<MapPoint> points;
  points.reserve(which.size());
  for (int32_t i : which)
    if (i >= 0 && static_cast<std::size_t>(i) < traces.size() && traces[static_cast<std::size_t>(i)])
      KeepNew(&points, PointOf(*traces[static_cast<std::size_t>(i)], kMapCdps, i));
  return points;
}

int NearestPoint(const XYGraph& graph, double x, double y) {
  int best = -1;
  double bestD = 0.0;
  for (std::size_t i = 0; i < graph.points.size(); ++i) {
    const MapPoint& p = graph.points[i];
    if (p.x == DBLE_UNDEF) continue;
    const double d = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
    if (best < 0 || d < bestD) best = static_cast<int>(i), bestD = d;
  }
  return best;
}

std::string PositionText(double x, double y) {
  return StrPrintf("x: %.2lf   y: %.2lf", x, y);
}

std::string TraceReadout(MapSet set, const TraceRecord& t, int trace) {
  const int n = trace + 1;
  switch (set) {
    case kMapSources:
      return StrPrintf("trace %d  |   shotStation: %.1lf   esp: %d   |   srcX: %.1lf   srcY: %.1lf", n,
                       t.SSTA, t.ESP, t.SX, t.SY);
    case kMapReceivers:
      return StrPrintf(
          "trace %d  |   rcvStation: %.1lf   shotStation: %.1lf   esp: %d   |   cdp: %d   tr: %d   |   "
          "rcvX: %.1lf   rcvY: %.1lf",
          n, t.RSTA, t.SSTA, t.ESP, t.CDP, t.CDPT != 0 ? t.CDPT : t.CHAN, t.RX, t.RY);
    default:
      return StrPrintf("trace %d   |   inline: %d   crossline: %d   |   cdpX: %.1lf   cdpY: %.1lf", n,
                       t.ILINE, t.XLINE, t.CDPX, t.CDPY);
  }
}

std::string RectangleText(double x0, double y0, double x1, double y1) {
  return StrPrintf("width = %.2lf   height = %.2lf", std::fabs(x1 - x0), std::fabs(y1 - y0));
}

std::string DistanceText(double x0, double y0, double x1, double y1) {
  return StrPrintf("distance = %.2lf", std::hypot(x1 - x0, y1 - y0));
}
