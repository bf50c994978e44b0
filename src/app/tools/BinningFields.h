// The reading and showing rules of the " Binning" dialog's three fields, on
// plain texts so that they are tested without widgets: "Max src-rcv offset",
// "Max distance to profile" and "Bin size".
#pragma once

#include <string>

#include "processing/Binning.h"

struct BinningFields {
  std::string maxOffset;
  std::string maxDistance;
  std::string binSize;
};

// A value as the dialog shows it: "%.2lf" without trailing zeros ("12.5",
// "40").
std::string FormatBinningValue(double value);
// A limit as the dialog shows it: empty from kBinningNoLimit on.
std::string FormatBinningLimit(double value);

// The fields showing params (a bin size that is not positive shows empty).
BinningFields BinningFieldsFrom(const BinningParams& params);

// Reads the fields. An empty limit means kBinningNoLimit; a limit must be a
// finite number, the bin size a finite number greater than 0 (blanks around
// the number are allowed). Returns true and sets *params when all three are
// valid. Otherwise returns false with params unchanged, and *shown (when
// given) holds the fields with each invalid one reset to the text of its
// previous value, the others as typed.
bool ReadBinningFields(const BinningFields& fields, BinningParams* params, BinningFields* shown = nullptr);

// The "2D Binning" button needs a profile of at least 2 points.
inline bool ProfileReadyForBinning(const Profile& profile) {
  return profile.Count() >= 2;
}
