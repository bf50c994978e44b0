// A digitized profile: the polyline of straight segments along which 2D
// binning measures distances. Holds at most kProfileMaxPoints points and keeps
// the cumulative length at every point up to date.
//
// Plain value type; not shared between threads while it is being edited.
#pragma once

#include <cstddef>
#include <vector>

inline constexpr int kProfileMaxPoints = 256;

struct ProfilePoint {
  double x = 0.0;
  double y = 0.0;
};

class Profile {
 public:
  Profile() = default;
  // Keeps the first kProfileMaxPoints points.
  explicit Profile(const std::vector<ProfilePoint>& points) { SetPoints(points); }

  // Replaces every point (at most kProfileMaxPoints are kept).
  void SetPoints(const std::vector<ProfilePoint>& points);
  // Appends a point; false when the profile is full.
  bool Add(double x, double y);
  void Clear();

  int Count() const { return static_cast<int>(m_points.size()); }
  int SegmentCount() const { return Count() < 2 ? 0 : Count() - 1; }
  const ProfilePoint& Point(int i) const { return m_points[static_cast<std::size_t>(i)]; }
  const std::vector<ProfilePoint>& Points() const { return m_points; }

  // Distance along the profile from its first point to point i (0 for i = 0).
  double LengthAt(int i) const { return m_lengths[static_cast<std::size_t>(i)]; }
  // Total length; 0 for fewer than 2 points.
  double Length() const { return m_lengths.empty() ? 0.0 : m_lengths.back(); }

  // The position at distance g along the profile: on segment k with
  // L[k] <= g < L[k+1], at fraction (g - L[k]) / (L[k+1] - L[k]). Before the
  // start the first segment and past the end the last segment are extended
  // (zero-length segments are never used). A profile without length gives its
  // first point, an empty one (0, 0).
  ProfilePoint PositionAt(double g) const;

 private:
  void UpdateLengths();

  std::vector<ProfilePoint> m_points;
  std::vector<double> m_lengths;  // one per point
};
