// The filter list of the load and dump open dialogs, in dialog order (the
// remembered filter index is 1-based into it).
#pragma once

struct OpenFilter {
  const char* label;
  const char* patterns;  // ';'-separated
};

inline constexpr OpenFilter kOpenFilters[] = {
    {"All Kestrix files (*.segy, *.sgy, *.seg2, *.sg2, *.dat, *.su)",
     "*.segy;*.sgy;*.seg2;*.sg2;*.dat;*.su;*.vms"},
    {"SEG-Y files (*.segy, *.sgy)", "*.segy;*.sgy"},
    {"SEG-2 files (*.seg2, *.sg2, *.dat)", "*.seg2;*.sg2;*.dat"},
    {"SU files (*.su)", "*.su"},
    {"All Files (*.*)", "*.*"},
};
inline constexpr int kOpenFilterCount = 5;

inline constexpr const char* kLoadDialogTitle = " Load one or several seismic files";
inline constexpr const char* kDumpDialogTitle = " Open Seismic File";
