// What the basemap shows of the traces: the three point sets built from the
// trace records, and the readout texts of the map's status line (position,
// the trace nearest to the mouse in a set, rectangle size, distance).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "display/XYMapper.h"

struct TraceRecord;

// The graph index of each set; graph 3 is the profile.
enum MapSet : int { kMapCdps = 0, kMapReceivers = 1, kMapSources = 2, kMapProfileGraph = 3 };

using BasemapGraphs = std::array<XYGraph, 4>;

// The four graphs' looks (no points): CDPs green circles, receivers red
// diamonds, sources blue squares, the profile a line with open squares;
// symbols of symbolSize (CDPs), + 2 (receivers, sources), + 4 (profile).
BasemapGraphs MakeBasemapGraphs(int symbolSize);
void SetBasemapSymbolSize(BasemapGraphs* graphs, int symbolSize);

// One point per trace in trace order (CDPX/CDPY, RX/RY or SX/SY), skipping a
// point equal to the previously kept one; tags are trace indexes. Fewer than 2
// traces build nothing. Logs "Basemap::InitGraph(%d): total npts=%d  kept pts=%d".
std::vector<MapPoint> BuildMapPoints(std::span<TraceRecord* const> traces, MapSet set);
// The CDP points of the listed traces only (the midpoints a binning keeps),
// equal neighbours skipped likewise.
std::vector<MapPoint> BuildCdpPoints(std::span<TraceRecord* const> traces, const std::vector<int32_t>& which);

// The point nearest to (x, y) (Euclidean; the first wins a tie); -1 when the
// graph has no defined point.
int NearestPoint(const XYGraph& graph, double x, double y);

// "x: %.2lf   y: %.2lf".
std::string PositionText(double x, double y);
// The description of trace (0-based index) as the set shows it; the number
// printed is 1-based.
std::string TraceReadout(MapSet set, const TraceRecord& t, int trace);
// "width = %.2lf   height = %.2lf" of two map corners.
std::string RectangleText(double x0, double y0, double x1, double y1);
// "distance = %.2lf" between two map points.
std::string DistanceText(double x0, double y0, double x1, double y1);
