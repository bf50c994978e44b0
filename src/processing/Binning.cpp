#include "processing/Binning.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "log/Log.h"
#include "log/Status.h"

namespace {
constexpr double kMinMidpointExtent = 0.001;
constexpr int kSortKeyCdp = 5;  // the sort key id of CDP, the ensemble key
// Bin numbers are stored in the 32-bit CDP word.
constexpr double kMaxBins = 2147483000.0;

void FillMidpoint(TraceRecord* t) {
  double dx = t->RX - t->SX;
  double dy = t->RY - t->SY;
  t->OFF = static_cast<float>(std::sqrt(dy * dy + dx * dx));
  t->CDPX = t->SX + dx * 0.5;
  t->CDPY = t->SY + dy * 0.5;
}
}  // namespace

int ComputeMidpointsAndOffsets(SeismicSection& section, int numThreads, MidpointSummary* summary) {
  const int32_t n = section.Count();
  const double inf = std::numeric_limits<double>::infinity();
  double offMin = inf, offMax = -inf, xMin = inf, xMax = -inf, yMin = inf, yMax = -inf;
  int32_t visited = 0;
  // min/max reductions are exact, so the result does not depend on the team.
#pragma omp parallel for schedule(static) num_threads(numThreads < 1 ? 1 : numThreads) \
    reduction(min : offMin, xMin, yMin) reduction(max : offMax, xMax, yMax) reduction(+ : visited)
  for (int32_t i = 0; i < n; ++i) {
    TraceRecord* t = section.Trace(i);
    if (!t) continue;
    FillMidpoint(t);
    offMin = std::min(offMin, static_cast<double>(t->OFF));
    offMax = std::max(offMax, static_cast<double>(t->OFF));
    xMin = std::min(xMin, t->CDPX);
    xMax = std::max(xMax, t->CDPX);
    yMin = std::min(yMin, t->CDPY);
    yMax = std::max(yMax, t->CDPY);
    ++visited;
  }
  if (visited == 0) offMin = offMax = xMin = xMax = yMin = yMax = 0.0;
  LogPrint(LogError, "offset min=%.3f    max=%.3f", offMin, offMax);
  LogPrint(LogError, "cdpX   min=%.3f    max=%.3f", xMin, xMax);
  LogPrint(LogError, "cdpY   min=%.3f    max=%.3f", yMin, yMax);
  if (summary) {
    *summary = {visited, static_cast<float>(offMin), static_cast<float>(offMax), xMin, xMax, yMin, yMax};
  }
  // Written as a negation so that NaN coordinates count as unusable.
  bool usable = visited > 0 && (xMax - xMin >= kMinMidpointExtent || yMax - yMin >= kMinMidpointExtent);
  return usable ? 0 : kStatusRefused;
}

std::vector<int32_t> RetainedMidpoints(const SeismicSection& section, double maxOffset) {
  std::vector<int32_t> kept;
  for (int32_t i = 0; i < section.Count(); ++i) {
    const TraceRecord* t = section.Trace(i);
    if (t && t->OFF > 0.0f && t->OFF <= maxOffset) kept.push_back(i);
  }
  return kept;
}

std::string RetainedMidpointsText(int32_t kept, int32_t total) {
  return StrPrintf("%d / %d MPs retained", kept, total);
}

namespace {
// One segment of non-zero length, with its direction cosines and its
// bounding box widened by the distance limit.
struct Segment {
  double x0, y0, u, c, s;
  double xLo, xHi, yLo, yHi;
};

Segment MakeSegment(const ProfilePoint& p, const ProfilePoint& q, double widen) {
  double dx = q.x - p.x, dy = q.y - p.y;
  double u = std::sqrt(dx * dx + dy * dy);
  return {p.x,
          p.y,
          u,
          dx / u,
          dy / u,
          std::min(p.x, q.x) - widen,
          std::max(p.x, q.x) + widen,
          std::min(p.y, q.y) - widen,
          std::max(p.y, q.y) + widen};
}

bool InsideBox(const Segment& g, double x, double y) {
  return x > g.xLo && x < g.xHi && y > g.yLo && y < g.yHi;
}

bool TakesPart(const TraceRecord* t, double maxOffset) {
  // |OFF|: an earlier segment of this run may have signed it already.
  return t && t->OFF != 0.0f && std::fabs(t->OFF) <= maxOffset;
}

void ProjectOnSegment(SeismicSection& section, const BinningParams& params, const Segment& g, int32_t k,
                      double startLength, std::vector<ProjectedPoint>* points, ProjectionSummary* sum) {
  for (int32_t i = 0; i < section.Count(); ++i) {
    TraceRecord* tr = section.Trace(i);
    if (!TakesPart(tr, params.maxOffset) || !InsideBox(g, tr->CDPX, tr->CDPY)) continue;
    double dx = tr->CDPX - g.x0, dy = tr->CDPY - g.y0;
    double d = dy * g.c - dx * g.s;
    double t = dx * g.c + dy * g.s;
    sum->maxDistance = std::max(sum->maxDistance, std::fabs(d));
    if (!(std::fabs(d) <= params.maxDistance && t > 0.0 && t <= g.u)) continue;
    if (tr->BPROJ > 0) ++sum->multiple;
    if (tr->BPROJ < std::numeric_limits<int16_t>::max()) ++tr->BPROJ;
    if (tr->BPROJ > 2) LogPrint(LogStep, "trace %d projected %d times", i + 1, tr->BPROJ);
    // The sign is set from the geometry of this projection, never toggled, so
    // that a trace projected twice keeps the sign each segment gives it.
    double sourceAlong = (tr->SX - g.x0) * g.c + (tr->SY - g.y0) * g.s;
    float off = std::fabs(tr->OFF);
    if (t < sourceAlong) off = -off;
    tr->OFF = off;
    points->push_back({startLength + t, d, i, k, off});
    ++sum->points;
  }
}
}  // namespace

int ProjectMidpoints(SeismicSection& section, const BinningParams& params, const Profile& profile,
                     std::vector<ProjectedPoint>* points, ProjectionSummary* summary) {
  ProjectionSummary sum;
  for (int32_t i = 0; i < section.Count(); ++i)
    if (section.Trace(i)) section.Trace(i)->BPROJ = 0;
  try {
    for (int k = 0; k < profile.SegmentCount(); ++k) {
      Segment g = MakeSegment(profile.Point(k), profile.Point(k + 1), params.maxDistance);
      if (!(g.u > 0.0)) continue;
      ProjectOnSegment(section, params, g, k, profile.LengthAt(k), points, &sum);
    }
  } catch (const std::bad_alloc&) {
    LogPrint(LogError, "\nERROR: projected point list: malloc failure at %zu points", points->size());
    if (summary) *summary = sum;
    return kStatusNoMemory;
  }
  if (summary) *summary = sum;
  return 0;
}

namespace {
// First bin index j >= 0 with g0 + j*B <= along < g0 + (j+1)*B. The bin
// starts are g0 + j*B rather than a running sum, so long profiles do not
// accumulate rounding.
int64_t BinIndex(double along, double g0, double binSize) {
  double q = std::floor((along - g0) / binSize);
  int64_t j = q > 0.0 ? static_cast<int64_t>(q) : 0;
  while (g0 + static_cast<double>(j + 1) * binSize <= along) ++j;
  while (j > 0 && g0 + static_cast<double>(j) * binSize > along) --j;
  return j;
}

ProfilePoint BinCentre(const Profile& profile, double start, double binSize) {
  ProfilePoint a = profile.PositionAt(start);
  ProfilePoint b = profile.PositionAt(start + binSize);
  return {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5};
}
}  // namespace

int AssignBins(SeismicSection& binned, const Profile& profile, double binSize) {
  if (!(binSize > 0.0) || !std::isfinite(binSize)) return kStatusRefused;
  if (binned.Count() == 0) return 0;
  const double g0 = binned.Trace(0)->CDPX;
  int64_t bin = -1;
  int32_t rank = 0;
  ProfilePoint centre;
  for (int32_t i = 0; i < binned.Count(); ++i) {
    TraceRecord* t = binned.Trace(i);
    int64_t j = BinIndex(t->CDPX, g0, binSize);
    // The list is sorted by distance; a smaller index cannot occur, and a
    // trace that still gave one would stay in the current bin.
    if (j > bin) {
      bin = j;
      rank = 0;
      centre = BinCentre(profile, g0 + static_cast<double>(j) * binSize, binSize);
    }
    t->CDP = static_cast<int32_t>(std::min<int64_t>(bin + 1, std::numeric_limits<int32_t>::max()));
    t->CDPT = ++rank;
    t->CDPX = centre.x;
    t->CDPY = centre.y;
  }
  return 0;
}

void RenumberBinRanks(SeismicSection& binned) {
  int32_t rank = 0;
  for (int32_t i = 0; i < binned.Count(); ++i) {
    TraceRecord* t = binned.Trace(i);
    rank = (i > 0 && binned.Trace(i - 1)->CDP == t->CDP) ? rank + 1 : 1;
    t->CDPT = rank;
  }
}

namespace {
int NotEnoughMemory() {
  LogPrint(LogError, "\nERROR in Binning : not enough memory");
  return kStatusNoMemory;
}

// Appends a copy of every projected trace to out, in list order, with its
// projection written into it. The copy keeps the original's identity words.
int CopyProjected(const SeismicSection& section, const std::vector<ProjectedPoint>& points,
                  SeismicSection& out, const BinningProgress& progress) {
  const int32_t total = static_cast<int32_t>(points.size());
  for (int32_t n = 0; n < total; ++n) {
    const ProjectedPoint& p = points[static_cast<std::size_t>(n)];
    const TraceRecord* src = section.Trace(p.trace);
    TraceRecord* copy = TraceRecord::Clone(src);
    if (!copy || out.AppendTrace(copy, src->TRF, src->LTAG) != 0) return NotEnoughMemory();
    copy->TRNO = src->TRNO;
    copy->CDPX = p.along;
    copy->CDPY = p.distance;
    copy->BSEG = static_cast<int16_t>(p.segment);
    copy->OFF = p.offset;
    if (progress) progress(n + 1, total);
  }
  return 0;
}

bool ValidBinning(const SeismicSection& section, const BinningParams& params, const Profile& profile) {
  if (section.Count() == 0) return false;
  if (!(params.binSize > 0.0) || !std::isfinite(params.binSize) || std::isnan(params.maxOffset) ||
      std::isnan(params.maxDistance)) {
    LogPrint(LogError, "\nERROR: Binning2D: the bin size must be a positive number");
    return false;
  }
  double total = profile.Length();
  if (profile.Count() < 2 || !(total >= params.binSize)) {
    LogPrint(LogError, "Binning2D: nothing done, TOO SMALL PROFILE");
    return false;
  }
  if (!std::isfinite(total) || total / params.binSize > kMaxBins) {
    LogPrint(LogError, "\nERROR: Binning2D: %.6g bins of %.6g along %.6g do not fit the CDP word",
             total / params.binSize, params.binSize, total);
    return false;
  }
  return true;
}

void LogProjection(const ProjectionSummary& sum, std::size_t size, double maxDistance, double total) {
  LogPrint(LogStep, "Projected point list size = %zu", size);
  LogPrint(LogStep, "%d points projected with dist < %.1lf, max observed dist=%.3lf", sum.points, maxDistance,
           sum.maxDistance);
  LogPrint(LogStep, "%d points projected several times", sum.multiple);
  LogPrint(LogStep, "Total Profile length = %.3lf", total);
}

// One ensemble per bin, keyed by its number, as the trace view's ensemble
// mode expects them; no list for a single bin. Returns 0 or kStatusNoMemory.
int StoreBinEnsembles(SeismicSection& binned) {
  std::free(binned.m_ensembles);
  binned.m_ensembles = nullptr;
  binned.m_ensembleCount = 0;
  const int32_t n = binned.Count();
  int32_t bins = n > 0 ? 1 : 0;
  for (int32_t i = 1; i < n; ++i) bins += binned.Trace(i)->CDP != binned.Trace(i - 1)->CDP;
  if (bins < 2) return 0;
  auto* list =
      static_cast<EnsembleRecord*>(std::malloc(static_cast<std::size_t>(bins) * sizeof(EnsembleRecord)));
  if (!list) return NotEnoughMemory();
  int32_t e = 0;
  for (int32_t first = 0, i = 1; i <= n; ++i) {
    if (i < n && binned.Trace(i)->CDP == binned.Trace(first)->CDP) continue;
    float peak = 0.0f;
    for (int32_t k = first; k < i; ++k) peak = std::max(peak, std::fabs(binned.Trace(k)->AMAX));
    for (int32_t k = first; k < i; ++k) binned.Trace(k)->EAMAX = peak;
    list[e++] = EnsembleRecord{first, i - first, 0, static_cast<double>(binned.Trace(first)->CDP)};
    first = i;
  }
  binned.m_ensembles = list;
  binned.m_ensembleCount = bins;
  binned.m_ensembleKey = kSortKeyCdp;
  return 0;
}

// Orders the copies by bin, then offset, and numbers the ranks again. The
// ensemble-splitting key sort would leave bins of one or two traces as one
// ensemble and then order the whole section by offset, so the two keys are
// applied together here (ties keep their order along the profile).
int SortBins(SeismicSection& binned) {
  binned.ReorderTraces([](std::span<TraceRecord*> traces) {
    std::stable_sort(traces.begin(), traces.end(), [](const TraceRecord* a, const TraceRecord* b) {
      return a->CDP != b->CDP ? a->CDP < b->CDP : a->OFF < b->OFF;
    });
  });
  RenumberBinRanks(binned);
  return StoreBinEnsembles(binned);
}
}  // namespace

int BinSection(SeismicSection& section, const BinningParams& params, const Profile& profile,
               std::unique_ptr<SeismicSection>* binned, const BinningProgress& progress) {
  if (!ValidBinning(section, params, profile)) return kStatusRefused;
  auto start = std::chrono::steady_clock::now();
  LogPrint(LogError, "\nbinSize=%.2lf  maxDistance=%.2lf  maxOffset=%.2lf", params.binSize,
           params.maxDistance, params.maxOffset);
  LogPrint(LogError, "\nprofile has %d segments", profile.SegmentCount());
  std::vector<ProjectedPoint> points;
  ProjectionSummary sum;
  if (ProjectMidpoints(section, params, profile, &points, &sum) != 0) return NotEnoughMemory();
  LogProjection(sum, points.size(), params.maxDistance, profile.Length());
  if (points.empty()) {
    LogPrint(LogError, "\nERROR: Binning2D: no midpoint lies close enough to the profile");
    return kStatusRefused;
  }
  std::unique_ptr<SeismicSection> out(new (std::nothrow) SeismicSection());
  if (!out) return NotEnoughMemory();
  std::memcpy(out->m_binaryHeader, section.m_binaryHeader, sizeof out->m_binaryHeader);
  std::memcpy(out->m_textualHeader, section.m_textualHeader, sizeof out->m_textualHeader);
  if (CopyProjected(section, points, *out, progress) != 0) return kStatusNoMemory;
  out->Scan();
  out->ReorderTraces([](std::span<TraceRecord*> traces) {
    std::stable_sort(traces.begin(), traces.end(),
                     [](const TraceRecord* a, const TraceRecord* b) { return a->CDPX < b->CDPX; });
  });
  AssignBins(*out, profile, params.binSize);
  if (SortBins(*out) != 0) return kStatusNoMemory;
  auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  LogPrint(LogInfo, "Binning2D: %d traces in %d bins in %.3lf ms", out->Count(),
           out->Trace(out->Count() - 1)->CDP, ms);
  *binned = std::move(out);
  return 0;
}
