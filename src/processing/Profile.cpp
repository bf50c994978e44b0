#include "processing/Profile.h"

#include <algorithm>
#include <cmath>

void Profile::SetPoints(const std::vector<ProfilePoint>& points) {
  std::size_t n = std::min(points.size(), static_cast<std::size_t>(kProfileMaxPoints));
  m_points.assign(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(n));
  UpdateLengths();
}

bool Profile::Add(double x, double y) {
  if (Count() >= kProfileMaxPoints) return false;
  m_points.push_back({x, y});
  UpdateLengths();
  return true;
}

void Profile::Clear() {
  m_points.clear();
  m_lengths.clear();
}

void Profile::UpdateLengths() {
  m_lengths.assign(m_points.size(), 0.0);
  for (std::size_t k = 1; k < m_points.size(); ++k) {
    double dx = m_points[k].x - m_points[k - 1].x;
    double dy = m_points[k].y - m_points[k - 1].y;
    m_lengths[k] = m_lengths[k - 1] + std::sqrt(dx * dx + dy * dy);
  }
}

ProfilePoint Profile::PositionAt(double g) const {
  if (m_points.empty()) return {};
  // The segment holding g; when none does (before the start, past the end or
  // on a NaN), the nearest segment of non-zero length at that end.
  int first = -1, last = -1, seg = -1;
  for (int k = 0; k + 1 < Count(); ++k) {
    double a = m_lengths[static_cast<std::size_t>(k)];
    double b = m_lengths[static_cast<std::size_t>(k) + 1];
    if (!(b > a)) continue;
    if (first < 0) first = k;
    last = k;
    if (seg < 0 && a <= g && g < b) seg = k;
  }
  if (first < 0) return m_points.front();
  if (seg < 0) seg = g < m_lengths[static_cast<std::size_t>(first)] ? first : last;
  const ProfilePoint& p = m_points[static_cast<std::size_t>(seg)];
  const ProfilePoint& q = m_points[static_cast<std::size_t>(seg) + 1];
  double a = m_lengths[static_cast<std::size_t>(seg)];
  double f = (g - a) / (m_lengths[static_cast<std::size_t>(seg) + 1] - a);
  return {p.x + (q.x - p.x) * f, p.y + (q.y - p.y) * f};
}
