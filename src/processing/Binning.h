// 2D binning of source-receiver midpoints along a digitized profile.
//
// The midpoint step writes OFF, CDPX and CDPY of every trace of the loaded
// section. The binning projects each midpoint onto the profile segments,
// copies every projected trace into a new section (a trace projected onto two
// segments near a vertex gives two copies), numbers the bins along the profile
// and sorts the copies by bin and offset.
//
// Status codes: 0 success, kStatusRefused nothing to do (no usable midpoints, a profile
// shorter than the bin size, invalid parameters), kStatusNoMemory allocation failure
// (everything built so far released). Nothing throws. Only the midpoint step
// runs in parallel (numThreads, results independent of the team size); the
// rest runs on the calling thread, which must own the section meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "processing/Profile.h"
#include "section/SeismicSection.h"

// A limit of this size or more is shown as an empty field: "no limit".
inline constexpr double kBinningNoLimit = 100000.0;

struct BinningParams {
  double maxOffset = kBinningNoLimit;    // largest |offset| taken
  double maxDistance = kBinningNoLimit;  // largest distance of a midpoint from the profile
  double binSize = 0.0;                  // positive; set by the user
};

// Ranges found by the midpoint step.
struct MidpointSummary {
  int32_t traces = 0;  // traces visited
  float offMin = 0.0f, offMax = 0.0f;
  double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
};

// OFF = |R - S| (as a float), CDPX/CDPY = S + (R - S) / 2 for every trace.
// Logs the ranges. Returns 0 when the midpoints span at least 0.001 in x or
// in y, kStatusRefused otherwise (also for an empty section); the values are written in
// both cases.
int ComputeMidpointsAndOffsets(SeismicSection& section, int numThreads, MidpointSummary* summary = nullptr);

// Indices of the traces whose midpoint the map keeps: 0 < OFF <= maxOffset.
std::vector<int32_t> RetainedMidpoints(const SeismicSection& section, double maxOffset);
// "%d / %d MPs retained".
std::string RetainedMidpointsText(int32_t kept, int32_t total);

// One projection of a trace's midpoint onto a profile segment.
struct ProjectedPoint {
  double along;     // distance along the profile, S
  double distance;  // signed distance from the segment, P (left of it positive)
  int32_t trace;    // index in the loaded section
  int32_t segment;  // profile segment index
  float offset;     // |OFF|, negative when the source lies further along the segment
};

struct ProjectionSummary {
  int32_t points = 0;        // projections kept
  int32_t multiple = 0;      // projections of traces already projected before
  double maxDistance = 0.0;  // largest |P| among the tested midpoints
};

// Projects the midpoints (CDPX, CDPY) of the traces with 0 < |OFF| <= maxOffset
// onto every segment of non-zero length: kept when |P| <= maxDistance and
// 0 < t <= u (t along the segment of length u). Resets and counts BPROJ and
// gives OFF the sign of the latest kept projection in the loaded section.
// Appends to *points in segment order, then trace order. Returns 0, or kStatusNoMemory
// when the list cannot grow.
int ProjectMidpoints(SeismicSection& section, const BinningParams& params, const Profile& profile,
                     std::vector<ProjectedPoint>* points, ProjectionSummary* summary);

// Bin numbers and centres over copies sorted by CDPX (the along-distance):
// bins of width binSize start at the first trace's distance; CDP = bin number
// (from 1, empty bins counted), CDPT = rank in the bin, CDPX/CDPY = the bin
// centre on the profile. Returns 0, or kStatusRefused when binSize is not positive.
int AssignBins(SeismicSection& binned, const Profile& profile, double binSize);

// CDPT = 1, 2, ... within each run of equal CDP, in list order.
void RenumberBinRanks(SeismicSection& binned);

// Called with (done, total) projected points while the copies are made.
using BinningProgress = std::function<void(int32_t done, int32_t total)>;

// The whole binning of a section whose midpoints and offsets are computed:
// projection, the new section of copies (file headers copied, CDPX = S,
// CDPY = P, BSEG = segment, OFF signed), bins, the sort by CDP and offset and
// the rank numbering. *binned receives the scanned new section on success;
// kStatusRefused when no midpoint was projected.
int BinSection(SeismicSection& section, const BinningParams& params, const Profile& profile,
               std::unique_ptr<SeismicSection>* binned, const BinningProgress& progress = {});
