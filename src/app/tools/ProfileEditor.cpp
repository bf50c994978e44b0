#include "app/tools/ProfileEditor.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "section/SeismicSection.h"

namespace {
double Dist2(const MapPoint& p, double x, double y) {
  return (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
}

// Squared distance from (x, y) to segment a-b and the position t along it
// (0 at a, 1 at b, unclamped).
double SegmentDist2(const MapPoint& a, const MapPoint& b, double x, double y, double* t) {
  const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  *t = len2 > 0.0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
  const double c = std::clamp(*t, 0.0, 1.0);
  const double px = a.x + c * dx - x, py = a.y + c * dy - y;
  return px * px + py * py;
}
}  // namespace

void ProfileEditor::Start(ProfileAction a) {
  Finish();
  m_action = a;
}

void ProfileEditor::Finish() {
  if (m_moving >= 0 && m_moving < Count()) {
    if (m_action == ProfileAction::kReshape)
      m_points[static_cast<std::size_t>(m_moving)] = m_saved;
    else if (m_action == ProfileAction::kInsert)
      m_points.erase(m_points.begin() + m_moving);
  }
  m_moving = -1;
  m_action = ProfileAction::kNone;
}

void ProfileEditor::ClearAll() {
  m_points.clear();
  m_moving = -1;
  m_action = ProfileAction::kNone;
}

void ProfileEditor::SetPoints(const std::vector<ProfilePoint>& points) {
  ClearAll();
  for (const ProfilePoint& p : points) {
    if (Count() >= kProfileMaxPoints) break;
    m_points.push_back({p.x, p.y, -1});
  }
}

std::vector<ProfilePoint> ProfileEditor::DefinedPoints() const {
  std::vector<ProfilePoint> out;
  for (const MapPoint& p : m_points)
    if (p.x != DBLE_UNDEF) out.push_back({p.x, p.y});
  return out;
}

int ProfileEditor::Nearest(double x, double y) const {
  int best = -1;
  for (int i = 0; i < Count(); ++i) {
    const MapPoint& p = m_points[static_cast<std::size_t>(i)];
    if (p.x == DBLE_UNDEF) continue;
    if (best < 0 || Dist2(p, x, y) < Dist2(m_points[static_cast<std::size_t>(best)], x, y)) best = i;
  }
  return best;
}

// Before or after the nearest point, on the side of the closer neighbouring
// segment; beyond an end of the line the new point extends it.
int ProfileEditor::InsertionPlace(double x, double y) const {
  const int i = Nearest(x, y);
  if (i < 0) return Count();
  const double inf = std::numeric_limits<double>::infinity();
  double tBefore = 0.0, tAfter = 0.0;
  const double before = i > 0 ? SegmentDist2(m_points[i - 1], m_points[i], x, y, &tBefore) : inf;
  const double after = i + 1 < Count() ? SegmentDist2(m_points[i], m_points[i + 1], x, y, &tAfter) : inf;
  if (i == 0 && after < inf && tAfter < 0.0) return 0;
  if (i + 1 == Count() && before < inf && tBefore > 1.0) return Count();
  if (before == inf && after == inf) return i + 1;
  return before < after ? i : i + 1;
}

bool ProfileEditor::Click(double x, double y) {
  switch (m_action) {
    case ProfileAction::kAdd:
      if (Count() >= kProfileMaxPoints) return false;
      m_points.push_back({x, y, -1});
      return true;
    case ProfileAction::kRemove: {
      const int i = Nearest(x, y);
      if (i < 0) return false;
      m_points.erase(m_points.begin() + i);
      return true;
    }
    case ProfileAction::kInsert:
      if (m_moving >= 0) {  // the second click fixes the point
        m_points[static_cast<std::size_t>(m_moving)] = {x, y, -1};
        m_moving = -1;
        return true;
      }
      if (Count() >= kProfileMaxPoints) return false;
      m_moving = InsertionPlace(x, y);
      m_points.insert(m_points.begin() + m_moving, MapPoint{DBLE_UNDEF, DBLE_UNDEF, -1});
      return true;
    case ProfileAction::kReshape:
      if (m_moving >= 0) {
        m_points[static_cast<std::size_t>(m_moving)] = {x, y, -1};
        m_moving = -1;
        return true;
      }
      m_moving = Nearest(x, y);
      if (m_moving < 0) return false;
      m_saved = m_points[static_cast<std::size_t>(m_moving)];
      m_points[static_cast<std::size_t>(m_moving)] = {x, y, -1};
      return true;
    case ProfileAction::kNone:
      break;
  }
  return false;
}

bool ProfileEditor::Move(double x, double y) {
  if (m_moving < 0 || m_moving >= Count()) return false;
  m_points[static_cast<std::size_t>(m_moving)] = {x, y, -1};
  return true;
}

bool ProfileEditor::Backspace() {
  if (m_action != ProfileAction::kAdd || m_points.empty()) return false;
  m_points.pop_back();
  return true;
}

std::vector<std::string> ProfileEditor::ActionItems() const {
  std::vector<std::string> items{kActionSelect};
  if (m_points.empty() && !Digitizing()) {
    items.insert(items.end(), {kActionLoad, kActionDigitize});
    return items;
  }
  if (Digitizing()) items.push_back(kActionFinished);
  items.insert(items.end(), {kActionSave, kActionLoad});
  const std::pair<ProfileAction, const char*> actions[] = {{ProfileAction::kAdd, kActionAdd},
                                                           {ProfileAction::kReshape, kActionReshape},
                                                           {ProfileAction::kRemove, kActionRemove},
                                                           {ProfileAction::kInsert, kActionInsert}};
  for (const auto& [a, text] : actions)
    if (a != m_action) items.push_back(text);
  items.push_back(kActionClear);
  return items;
}

ProfileAction ProfileEditor::ActionOfItem(const std::string& item) {
  if (item == kActionAdd || item == kActionDigitize) return ProfileAction::kAdd;
  if (item == kActionReshape) return ProfileAction::kReshape;
  if (item == kActionRemove) return ProfileAction::kRemove;
  if (item == kActionInsert) return ProfileAction::kInsert;
  return ProfileAction::kNone;
}
