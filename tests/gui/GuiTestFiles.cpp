#include "GuiTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/SynthSurvey.h"
#include "formats/SaveOptions.h"
#include "formats/SegyWriter.h"
#include "section/SeismicSection.h"

namespace fs = std::filesystem;

std::string GuiTestFiles::Segy(const char* name, int channels, double dtMs) {
  SeismicSection s;
  SynthParams p;
  p.shots = 1;
  p.channels = channels;
  p.samples = 101;
  p.dtMs = dtMs;
  EXPECT_EQ(MakeSynthSurvey(s, p), channels);
  std::string path = m_dir / name;
  SaveOptions o;
  EXPECT_EQ(SaveAsSegyRev1(s, path, o), 0);
  return path;
}

std::string GuiTestFiles::Junk(const char* name) {
  std::string path = m_dir / name;
  std::ofstream(path) << "no traces in here";
  return path;
}
