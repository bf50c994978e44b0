// Small seismic files written for the widget tests into a temporary folder.
#pragma once

#include <string>

#include "support/TempDir.h"

class GuiTestFiles {
 public:
  // A one-shot SEG-Y file with the given number of channels and interval.
  std::string Segy(const char* name, int channels, double dtMs = 2.0);
  // A file with no seismic data in it.
  std::string Junk(const char* name);
  std::string Dir() const { return m_dir.Path(); }

 private:
  kxtest::TempDir m_dir{"kx_gui"};
};
