#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/tools/ParametersFields.h"

TEST(ParametersFields, ParametersRejectOutOfRangeValues) {
  AppSettings s = DefaultAppSettings(ProcessorCounts{4, 2});
  s.timeScrollSlow = 7;
  ParameterFields f = ParameterFieldsFrom(s);
  EXPECT_EQ(f.timeScrollSlow, "7");
  EXPECT_EQ(f.traceScrollSlow, "1");
  for (const char* bad : {"0", "100", "", "x"}) {
    f.timeScrollSlow = bad;
    ApplyParameterFields(f, &s);
    EXPECT_EQ(s.timeScrollSlow, 7) << bad;
  }
  f.timeScrollSlow = "99";
  f.timeScrollFast = "1000";
  f.traceScrollFast = "999";
  f.focusPolicy = 0;  // none checked: unchanged
  f.twoPixels = false;
  f.numThreads = 64;  // beyond the logical count
  int display = s.displayThreads;
  ApplyParameterFields(f, &s);
  EXPECT_EQ(s.timeScrollSlow, 99);
  EXPECT_EQ(s.timeScrollFast, 10);
  EXPECT_EQ(s.traceScrollFast, 999);
  EXPECT_EQ(s.dialogFocusPolicy, 2);
  EXPECT_EQ(s.wiggleMinIntertrace, 3);
  EXPECT_EQ(s.numThreads, 4);
  EXPECT_EQ(s.displayThreads, display);  // the renderer's team stays as started
  s.dialogFocusPolicy = 7;
  EXPECT_EQ(ParameterFieldsFrom(s).focusPolicy, 3);
  EXPECT_EQ(CoresText(ProcessorCounts{16, -1}), "Cores :     physical -1    logical 16");
}
