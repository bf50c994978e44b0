#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/AppSettings.h"
#include "support/TempDir.h"

namespace {
AppSettings For(int logical, int physical) {
  return DefaultAppSettings(ProcessorCounts{logical, physical});
}
}  // namespace

TEST(AppSettings, ThreadDefaultsFollowProcessorCounts) {
  EXPECT_EQ(For(4, 2).numThreads, 4);
  EXPECT_EQ(For(4, 2).displayThreads, 3);
  EXPECT_EQ(For(3, 3).numThreads, 3);
  EXPECT_EQ(For(3, 3).displayThreads, 3);
  EXPECT_EQ(For(16, 8).numThreads, 8);
  EXPECT_EQ(For(16, 8).displayThreads, 4);
  EXPECT_EQ(For(1, 1).displayThreads, 1);
}

TEST(AppSettings, FailedCoreQueryNeverGivesFewerThanOneThread) {
  AppSettings s = For(16, -1);
  EXPECT_EQ(s.processors.physical, -1);
  EXPECT_GE(s.numThreads, 1);
  EXPECT_GE(s.displayThreads, 1);
  EXPECT_EQ(For(0, -1).numThreads, 1);
}

TEST(AppSettings, OtherDefaults) {
  AppSettings s = For(2, 1);
  EXPECT_EQ(s.timeScrollSlow, 1);
  EXPECT_EQ(s.timeScrollFast, 10);
  EXPECT_EQ(s.traceScrollFast, 10);
  EXPECT_EQ(s.dialogFocusPolicy, 2);
  EXPECT_EQ(s.wiggleMinIntertrace, 2);
  EXPECT_EQ(s.evenSpacingBelow, 5);
  EXPECT_EQ(s.crossCursorThickness, 1);
}

TEST(AppSettings, PhysicalCoresCountDistinctPackageCorePairs) {
  namespace fs = std::filesystem;
  kxtest::TempDir dir("kx_cpu_topology");
  fs::path root = dir.Path();
  // Two packages, hyper-threaded: 4 logical CPUs on 3 distinct cores, plus noise entries.
  int pkg[] = {0, 0, 0, 1};
  int core[] = {0, 0, 1, 0};
  for (int i = 0; i < 4; ++i) {
    fs::path topo = root / ("cpu" + std::to_string(i)) / "topology";
    fs::create_directories(topo);
    std::ofstream(topo / "physical_package_id") << pkg[i] << "\n";
    std::ofstream(topo / "core_id") << core[i] << "\n";
  }
  fs::create_directories(root / "cpufreq");
  fs::create_directories(root / "cpu9");  // no topology: not counted
  EXPECT_EQ(CountPhysicalCores(root.c_str()), 3);
  EXPECT_EQ(CountPhysicalCores((root / "missing").c_str()), -1);
}

TEST(AppSettings, FocusPolicyDecidesWhereTheFocusGoesAfterAPanelControl) {
  AppSettings s;
  s.dialogFocusPolicy = 1;
  EXPECT_TRUE(s.FocusReturnsToView(false));
  EXPECT_TRUE(s.FocusReturnsToView(true));
  s.dialogFocusPolicy = 2;
  EXPECT_TRUE(s.FocusReturnsToView(false));
  EXPECT_FALSE(s.FocusReturnsToView(true));
  s.dialogFocusPolicy = 3;
  EXPECT_FALSE(s.FocusReturnsToView(false));
  EXPECT_FALSE(s.FocusReturnsToView(true));
}
