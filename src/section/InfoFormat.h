// Number formats and code-to-text tables shared by the Section Info and Trace
// Info texts. Plain functions returning UTF-8 text; no state.
#pragma once

#include <string>

// Removes trailing zeros after a decimal point, and the point itself when
// nothing remains after it ("4.000" -> "4", "2.50" -> "2.5"). Text without a
// point is returned unchanged.
std::string TrimTrailingZeros(std::string text);
// A time in seconds shown in a display unit: seconds x factor printed with
// "%.6lf", trailing zeros removed (0.00025 s x 1000 -> "0.25").
std::string ShortTime(double seconds, double factor);

// Trace identification code (TRID): -1..26 by name, below -1 "unknown (%d)",
// above 26 "%d".
std::string TraceIdText(int code);
// Trace sorting code of the binary header; other values "code %d".
std::string TraceSortingText(int code);
// Data sample format code; codes without a name give "".
std::string SampleFormatText(int code);
// Measurement system of the binary header: 0 "unknown (0)", other unnamed "%d".
std::string MeasurementSystemText(int code);
// Amplitude recovery method: 0 "", 1..4 by name, other "%d".
std::string AmplitudeRecoveryText(int code);
// Instrument gain type (IGT): 0 "", 1..3 by name, other "%d".
std::string GainTypeText(int code);
// Time basis (TBAS): 0 "", 1..5 by name, other "%d".
std::string TimeBasisText(int code);
// Sweep type (SWTYP): 0 "", 1..4 by name, other "%d".
std::string SweepTypeText(int code);
// Taper type (TAPTY): 0 "", 1..3 by name, other "%d".
std::string TaperTypeText(int code);
// Source type/orientation (STYPOR): 0..9 by name, negative "Other (%d)",
// 10 and above "Unknown (%d)".
std::string SourceTypeText(int code);
// Velocity unit by MSYS: 1 "m/s", 2 "ft/s", otherwise "".
std::string VelocityUnitText(int msys);
// Coordinate unit text by CUNIT and MSYS.
std::string CoordUnitText(int cunit, int msys);
