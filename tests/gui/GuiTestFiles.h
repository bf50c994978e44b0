// Small seismic files written for the widget tests into a temporary folder.
#pragma once

#include <string>

class GuiTestFiles {
 public:
  GuiTestFiles();
  ~GuiTestFiles();
  // A one-shot SEG-Y file with the given number of channels.
  std::string Segy(const char* name, int channels);
  // A file with no seismic data in it.
  std::string Junk(const char* name);
  std::string Dir() const { return m_dir; }

 private:
  std::string m_dir;
};
