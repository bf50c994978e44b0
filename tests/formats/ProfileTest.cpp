// The profile polyline: cumulative lengths, positions along it (vertices,
// zero-length segments, beyond the ends), the point limit, and its text file
// (round trip, count line, comments, CR LF, long lines, bad lines, limits).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/ProfileText.h"
#include "processing/Profile.h"
#include "support/TempDir.h"

namespace {
void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}
}  // namespace

TEST(Profile, LengthsAndPositionsAlongSegments) {
  Profile p({{0, 0}, {30, 40}, {30, 40}, {30, 60}});  // 50, then a zero-length segment, then 20
  ASSERT_EQ(p.Count(), 4);
  EXPECT_EQ(p.SegmentCount(), 3);
  EXPECT_DOUBLE_EQ(p.LengthAt(1), 50.0);
  EXPECT_DOUBLE_EQ(p.LengthAt(2), 50.0);
  EXPECT_DOUBLE_EQ(p.Length(), 70.0);
  ProfilePoint a = p.PositionAt(25.0);
  EXPECT_DOUBLE_EQ(a.x, 15.0);
  EXPECT_DOUBLE_EQ(a.y, 20.0);
  // A vertex belongs to the segment that starts there.
  ProfilePoint v = p.PositionAt(50.0);
  EXPECT_DOUBLE_EQ(v.x, 30.0);
  EXPECT_DOUBLE_EQ(v.y, 40.0);
  ProfilePoint b = p.PositionAt(60.0);
  EXPECT_DOUBLE_EQ(b.x, 30.0);
  EXPECT_DOUBLE_EQ(b.y, 50.0);
  // Past the end the last segment goes on; before the start the first.
  ProfilePoint c = p.PositionAt(80.0);
  EXPECT_DOUBLE_EQ(c.x, 30.0);
  EXPECT_DOUBLE_EQ(c.y, 70.0);
  ProfilePoint d = p.PositionAt(-10.0);
  EXPECT_DOUBLE_EQ(d.x, -6.0);
  EXPECT_DOUBLE_EQ(d.y, -8.0);
}

TEST(Profile, ZeroLengthEndsAndDegenerateProfiles) {
  // A repeated last point must not divide by a zero length past the end.
  Profile p({{0, 0}, {10, 0}, {10, 0}});
  ProfilePoint q = p.PositionAt(15.0);
  EXPECT_DOUBLE_EQ(q.x, 15.0);
  EXPECT_DOUBLE_EQ(q.y, 0.0);
  Profile same({{5, 7}, {5, 7}});
  EXPECT_EQ(same.Length(), 0.0);
  EXPECT_DOUBLE_EQ(same.PositionAt(3.0).x, 5.0);
  EXPECT_DOUBLE_EQ(same.PositionAt(3.0).y, 7.0);
  Profile one({{1, 2}});
  EXPECT_EQ(one.SegmentCount(), 0);
  EXPECT_EQ(one.Length(), 0.0);
  EXPECT_EQ(Profile().Length(), 0.0);
}

TEST(Profile, HoldsAtMost256Points) {
  std::vector<ProfilePoint> many(300);
  for (int i = 0; i < 300; ++i) many[i] = {double(i), 0.0};
  Profile p(many);
  EXPECT_EQ(p.Count(), kProfileMaxPoints);
  EXPECT_DOUBLE_EQ(p.Length(), 255.0);
  EXPECT_FALSE(p.Add(1, 1));
  p.Clear();
  EXPECT_TRUE(p.Add(1, 1));
  EXPECT_TRUE(p.Add(4, 5));
  EXPECT_DOUBLE_EQ(p.Length(), 5.0);
}

TEST(ProfileText, SavedPolylineReloadsToThreeDecimals) {
  kxtest::TempDir dir;
  ASSERT_TRUE(dir.Ok());
  std::vector<ProfilePoint> pts = {{512000.12345, 6715000.9876}, {-3.0004, 0.0006}, {1e6, -2.5}};
  std::string path = dir.File("p.txt");
  ASSERT_EQ(SaveProfileText(path, pts), 0);
  std::ifstream in(path);
  std::string first, second;
  std::getline(in, first);
  std::getline(in, second);
  EXPECT_EQ(first, "3");
  EXPECT_EQ(second, " 512000.123 , 6715000.988");
  std::vector<ProfilePoint> back;
  ASSERT_EQ(LoadProfileText(path, &back), 0);
  ASSERT_EQ(back.size(), pts.size());
  for (std::size_t i = 0; i < pts.size(); ++i) {
    EXPECT_NEAR(back[i].x, pts[i].x, 0.0005) << i;
    EXPECT_NEAR(back[i].y, pts[i].y, 0.0005) << i;
  }
  // Nothing is written for an empty profile.
  std::string none = dir.File("none.txt");
  EXPECT_EQ(SaveProfileText(none, {}), -1);
  EXPECT_FALSE(std::filesystem::exists(none));
}

TEST(ProfileText, CommentsBlankLinesCrLfAndLongLines) {
  kxtest::TempDir dir;
  std::string path = dir.File("p.txt");
  std::string longTail(400, 'z');
  WriteText(path, "\xEF\xBB\xBF# digitized\r\n\r\n   \t\r\n2\r\n  # a comment\r\n1.5 ,2.5\r\n\r\n-3,4 " +
                      longTail + "\r\n");
  std::vector<ProfilePoint> pts;
  ASSERT_EQ(LoadProfileText(path, &pts), 0);
  ASSERT_EQ(pts.size(), 2u);
  EXPECT_EQ(pts[0].x, 1.5);
  EXPECT_EQ(pts[0].y, 2.5);
  EXPECT_EQ(pts[1].x, -3.0);
  EXPECT_EQ(pts[1].y, 4.0);
  // Only the first 256 characters of a line count: the second number is cut off.
  WriteText(path, "1\n" + std::string(250, ' ') + "1.0 , 2.0\n");
  EXPECT_EQ(LoadProfileText(path, &pts), -1);
  EXPECT_EQ(pts.size(), 2u);
}

TEST(ProfileText, CountLineAndBadFilesLeaveThePointsAlone) {
  kxtest::TempDir dir;
  std::string path = dir.File("p.txt");
  const std::vector<ProfilePoint> before = {{9, 9}};
  for (const char* text : {"0\n1,2\n3,4\n", "-2\n1,2\n", "x\n1,2\n", "", "# only\n\n", "3\n", "2\n1,2\n3 4\n",
                           "2\n1,2\nnan,4\n", "2\n1,2\n3,\n"}) {
    WriteText(path, text);
    std::vector<ProfilePoint> pts = before;
    EXPECT_EQ(LoadProfileText(path, &pts), -1) << text;
    ASSERT_EQ(pts.size(), 1u) << text;
    EXPECT_EQ(pts[0].x, 9.0) << text;
  }
  std::vector<ProfilePoint> pts;
  EXPECT_EQ(LoadProfileText(dir.File("missing.txt"), &pts), -101);
}

TEST(ProfileText, ReadsAtMost256PointsWhateverTheCountSays) {
  kxtest::TempDir dir;
  std::string path = dir.File("p.txt");
  std::string text = "2\n";
  for (int i = 0; i < 300; ++i) text += std::to_string(i) + " , " + std::to_string(-i) + "\n";
  text += "not a point\n";  // after the 256th point: never read
  WriteText(path, text);
  std::vector<ProfilePoint> pts;
  ASSERT_EQ(LoadProfileText(path, &pts), 0);
  ASSERT_EQ(pts.size(), 256u);
  EXPECT_EQ(pts[255].x, 255.0);
  EXPECT_EQ(pts[255].y, -255.0);
}
