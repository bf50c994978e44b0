// The frequency filter panel's field rules as plain functions: the panel's
// texts and list selections in, the filter record and the rewritten texts out.
// The GUI panel copies its widgets into FilterPanelFields, calls these and
// copies the texts back; kxtool's --filter goes through the same rules.
//
// Frequencies in the fields are in Hz; the record stores fractions of its
// Nyquist field. Not thread-safe: user-interface thread only.
#pragma once

#include <string>

#include "processing/IIRFilter.h"

struct FilterPanelFields {
  int passType = kLowPass;    // selected entry of the "Filter" list (0: none)
  int family = kButterworth;  // selected entry of the "Type" list (0: none)
  int poles = 6;              // position of the poles arrows
  std::string polesText;      // the poles field
  std::string ripple;         // "Ripple dB"
  std::string stopBand;       // "Stop Band dB"
  std::string freq1;          // first frequency field, Hz
  std::string freq2;          // second frequency field, Hz (Band Pass and Notch)
  // What Show type decided for the panel.
  bool secondVisible = false;
  bool rippleEnabled = false;
  bool stopBandEnabled = false;
  int polesMax = kMaxPoles;
  std::string label1, label2;
};

// How a field reads: a number (whole text), nothing usable, or a number with
// characters after it (cut back to the number, and counted as an error).
enum class FieldRead { kNumber, kInvalid, kTrailing };
// Blanks at both ends are ignored; the rest must be a decimal floating-point
// number. value is set for kNumber and kTrailing, cut to the number's text.
FieldRead ReadNumberField(const std::string& text, double* value, std::string* cut = nullptr);

// "Nyquist = %.*lf Hz": 0 decimals from 1000 Hz, 1 from 100 Hz, 2 below.
std::string NyquistLabel(double nyquist);
// A frequency in Hz for a field: empty for 0; 0 decimals when Nyquist >= 5000 Hz,
// else at most 1 (Nyquist >= 500 Hz) or 2 decimals, trailing zeros removed.
std::string FormatFrequencyField(double hz, double nyquist);
// A number with at most `decimals` decimals, trailing zeros (and point) removed.
std::string FormatTrimmed(double value, int decimals);
// "%.3lf" (empty for 0) and "%.1lf".
std::string FormatRippleField(double rippleDB);
std::string FormatStopBandField(double stopBandDB);
// Largest pole count of a family: 15 for Elliptic, else 20.
int MaxPolesForFamily(int family);

// Refresh: every field from the record (poles, ripple, stop band, then Show type).
void RefreshFilterFields(const IIRFilter& f, FilterPanelFields& p);
// Show type for p.passType and p.family: labels, visibility, enabling, poles
// range (the field takes the maximum when above it) and the frequency fields
// from the record's cutoffs of that pass type.
void ShowFilterType(const IIRFilter& f, FilterPanelFields& p);

// Reads the frequency fields for passType and stores them in the record
// (band pass ordered, both fields rewritten when swapped). Returns 0, or kStatusRefused
// with the record unchanged and the bad fields emptied.
int StoreFilterFrequencies(IIRFilter& f, FilterPanelFields& p, int passType);

// The Set button's validation: stores pass type, family, poles, ripple and
// stop band (rewriting their fields), then the frequencies of the pass type.
// Returns 0, or kStatusRefused when any field was in error (frequencies then unchanged).
int ValidateFilterFields(IIRFilter& f, FilterPanelFields& p);

// A list change: frequencies of the old pass type stored, the new selection
// taken, Show type. Returns the status of storing the frequencies.
int ChangeFilterPassType(IIRFilter& f, FilterPanelFields& p, int newPassType);
int ChangeFilterFamily(IIRFilter& f, FilterPanelFields& p, int newFamily);
