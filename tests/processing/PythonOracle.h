// Runs the numpy/scipy reference scripts of the processing tests through
// /usr/bin/python3 (the interpreter that sees Debian's scipy).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace oracle {

// Runs tests/processing/<script> with the arguments; true on exit status 0.
inline bool RunScript(const std::string& script, const std::string& args) {
  std::string cmd =
      "/usr/bin/python3 " + std::string(KX_SOURCE_DIR) + "/tests/processing/" + script + " " + args;
  return std::system(cmd.c_str()) == 0;
}

// Reads whitespace-separated doubles, one vector per line.
inline std::vector<std::vector<double>> ReadRows(const std::string& path) {
  std::vector<std::vector<double>> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ss(line);
    std::vector<double> row;
    double v;
    while (ss >> v) row.push_back(v);
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace oracle
