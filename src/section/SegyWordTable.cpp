// The SEG-Y trace header words in header order.
// Byte positions are the named ones of section/SegyBytePositions.h (1-based,
// inclusive); the compile-time checks below pin that the words tile bytes
// 1..240 without gap or overlap, that every width matches its type, and that
// the rows agree with the named positions.
#include "section/SegyWordTable.h"

#include <array>
#include <cctype>

#include "section/SegyBytePositions.h"

namespace {
constexpr SegyWordRow kRows[kSegyWordRowCount] = {
    {"idx", "real in-file index", 0, 0, kSegyNone},  // 0: the trace's 1-based position in the file
    {"TRACL", "trace sequence number within line", kTrTracl, kTrTracl + 3, kSegyI32},              // 1
    {"TRACR", "trace sequence number within file", kTrTracr, kTrTracr + 3, kSegyI32},              // 2
    {"FLDR", "original field record number", kTrFldr, kTrFldr + 3, kSegyI32},                      // 3
    {"TRACF", "trace number within the original field record", kTrTracf, kTrTracf + 3, kSegyI32},  // 4
    {"EP", "energy source point number", kTrEp, kTrEp + 3, kSegyI32},                              // 5
    {"CDP", "ensemble number", kTrCdp, kTrCdp + 3, kSegyI32},                                      // 6
    {"CDPT", "trace number within the ensemble", kTrCdpt, kTrCdpt + 3, kSegyI32},                  // 7
    {"TRID", "trace identification code", kTrTrid, kTrTrid + 1, kSegyI16},                         // 8
    {"NVS", "number of vertically summed traces", kTrNvs, kTrNvs + 1, kSegyI16},                   // 9
    {"NHS", "number of horizontally stacked traces", kTrNhs, kTrNhs + 1, kSegyI16},                // 10
    {"DUSE", "data use", kTrDuse, kTrDuse + 1, kSegyI16},                                          // 11
    {"OFFSET", "distance from source center to receiver group center", kTrOffset, kTrOffset + 3,
     kSegyI32},                                                                                     // 12
    {"GELEV", "receiver group elevation", kTrGelev, kTrGelev + 3, kSegyI32},                        // 13
    {"SELEV", "surface elevation at source", kTrSelev, kTrSelev + 3, kSegyI32},                     // 14
    {"SDEPTH", "source depth below surface", kTrSdepth, kTrSdepth + 3, kSegyI32},                   // 15
    {"GDEL", "seismic datum elevation at receiver group", kTrGdel, kTrGdel + 3, kSegyI32},          // 16
    {"SDEL", "seismic datum elevation at source", kTrSdel, kTrSdel + 3, kSegyI32},                  // 17
    {"SWDEP", "water column height at source location", kTrSwdep, kTrSwdep + 3, kSegyI32},          // 18
    {"GWDEP", "water column height at receiver group location", kTrGwdep, kTrGwdep + 3, kSegyI32},  // 19
    {"SCALEL", "scalar to be applied to all elevations and depths", kTrScalel, kTrScalel + 1,
     kSegyI16},                                                                                 // 20
    {"SCALCO", "Scalar to be applied to all coordinates", kTrScalco, kTrScalco + 1, kSegyI16},  // 21
    {"SX", "source coordinate - X", kTrSx, kTrSx + 3, kSegyI32},                                // 22
    {"SY", "source coordinate - Y", kTrSy, kTrSy + 3, kSegyI32},                                // 23
    {"GX", "groupe coordinate - X", kTrGx, kTrGx + 3, kSegyI32},                                // 24
    {"GY", "groupe coordinate - Y", kTrGy, kTrGy + 3, kSegyI32},                                // 25
    {"COUNIT", "coordinate units", kTrCounit, kTrCounit + 1, kSegyI16},                         // 26
    {"WEVEL", "weathering velocity", kTrWevel, kTrWevel + 1, kSegyI16},                         // 27
    {"SWEVEL", "subweathering velocity", kTrSwevel, kTrSwevel + 1, kSegyI16},                   // 28
    {"SUT", "uphole time at source", kTrSut, kTrSut + 1, kSegyI16},                             // 29
    {"GUT", "uphole time at group", kTrGut, kTrGut + 1, kSegyI16},                              // 30
    {"SSTAT", "source static correction", kTrSstat, kTrSstat + 1, kSegyI16},                    // 31
    {"GSTAT", "group static correction", kTrGstat, kTrGstat + 1, kSegyI16},                     // 32
    {"TSTAT", "total static applied", kTrTstat, kTrTstat + 1, kSegyI16},                        // 33
    {"LAGA", "lag time A", kTrLaga, kTrLaga + 1, kSegyI16},                                     // 34
    {"LAGB", "lag time B", kTrLagb, kTrLagb + 1, kSegyI16},                                     // 35
    {"DELRT", "delay recording time", kTrDelrt, kTrDelrt + 1, kSegyI16},                        // 36
    {"MUTS", "mute time start", kTrMuts, kTrMuts + 1, kSegyI16},                                // 37
    {"MUTE", "mute time end", kTrMute, kTrMute + 1, kSegyI16},                                  // 38
    {"NS", "number of samples in this trace", kTrNs, kTrNs + 1, kSegyU16},                      // 39
    {"DT", "sample interval for this trace", kTrDt, kTrDt + 1, kSegyI16},                       // 40
    {"GAIN", "gain type of field instruments", kTrGain, kTrGain + 1, kSegyI16},                 // 41
    {"IGC", "instrument gain constant", kTrIgc, kTrIgc + 1, kSegyI16},                          // 42
    {"IGI", "instrument early or initial gain", kTrIgi, kTrIgi + 1, kSegyI16},                  // 43
    {"CORR", "correlated", kTrCorr, kTrCorr + 1, kSegyI16},                                     // 44
    {"SFS", "sweep frequency at start", kTrSfs, kTrSfs + 1, kSegyI16},                          // 45
    {"SFE", "sweep frequency at end", kTrSfe, kTrSfe + 1, kSegyI16},                            // 46
    {"SLEN", "sweep length", kTrSlen, kTrSlen + 1, kSegyI16},                                   // 47
    {"STYP", "sweep type", kTrStyp, kTrStyp + 1, kSegyI16},                                     // 48
    {"STAS", "sweep trace taper length at start", kTrStas, kTrStas + 1, kSegyI16},              // 49
    {"STAE", "sweep trace taper length at end", kTrStae, kTrStae + 1, kSegyI16},                // 50
    {"TATYP", "taper type", kTrTatyp, kTrTatyp + 1, kSegyI16},                                  // 51
    {"AFILF", "alias filter frequency, if used", kTrAfilf, kTrAfilf + 1, kSegyI16},             // 52
    {"AFILS", "alias filter slope", kTrAfils, kTrAfils + 1, kSegyI16},                          // 53
    {"NOFILF", "notch filter frequency, if used", kTrNofilf, kTrNofilf + 1, kSegyI16},          // 54
    {"NOFILS", "notch filter slope", kTrNofils, kTrNofils + 1, kSegyI16},                       // 55
    {"LCF", "low-cut frequency, if used", kTrLcf, kTrLcf + 1, kSegyI16},                        // 56
    {"HCF", "high-cut frequency, if used", kTrHcf, kTrHcf + 1, kSegyI16},                       // 57
    {"LCS", "low-cut slope", kTrLcs, kTrLcs + 1, kSegyI16},                                     // 58
    {"HCS", "high-cut slope", kTrHcs, kTrHcs + 1, kSegyI16},                                    // 59
    {"YEAR", "year data recorded", kTrYear, kTrYear + 1, kSegyI16},                             // 60
    {"DAY", "day of year", kTrDay, kTrDay + 1, kSegyI16},                                       // 61
    {"HOUR", "hour of day", kTrHour, kTrHour + 1, kSegyI16},                                    // 62
    {"MINUTE", "minute of hour", kTrMinute, kTrMinute + 1, kSegyI16},                           // 63
    {"SEC", "second of minute", kTrSec, kTrSec + 1, kSegyI16},                                  // 64
    {"TIMBAS", "time basis code", kTrTimbas, kTrTimbas + 1, kSegyI16},                          // 65
    {"TRWF", "trace weighting factor", kTrTrwf, kTrTrwf + 1, kSegyI16},                         // 66
    {"GRNORS", "Geophone group number of roll switch position one", kTrGrnors, kTrGrnors + 1,
     kSegyI16},  // 67
    {"GRNOFR", "Geophone group number of trace number one within original field record", kTrGrnofr,
     kTrGrnofr + 1, kSegyI16},  // 68
    {"GRNLOF", "Geophone group number of last trace within original field record", kTrGrnlof, kTrGrnlof + 1,
     kSegyI16},                                            // 69
    {"GAPS", "Gap size", kTrGaps, kTrGaps + 1, kSegyI16},  // 70
    {"OTRAV", "Over travel associated with taper at beginning or end of line", kTrOtrav, kTrOtrav + 1,
     kSegyI16},                                                                                         // 71
    {"CDPX", "X coordinate of ensemble (CDP) position of this trace", kTrCdpx, kTrCdpx + 3, kSegyI32},  // 72
    {"CDPY", "Y coordinate of ensemble (CDP) position of this trace", kTrCdpy, kTrCdpy + 3, kSegyI32},  // 73
    {"ILINE", "3-D poststack data in-line number", kTrIline, kTrIline + 3, kSegyI32},                   // 74
    {"XLINE", "3-D poststack data cross-line number", kTrXline, kTrXline + 3, kSegyI32},                // 75
    {"SP", "shot point number", kTrSp, kTrSp + 3, kSegyI32},                                            // 76
    {"SPSCAL", "scalar to be applied to shotpoint number", kTrSpscal, kTrSpscal + 1, kSegyI16},         // 77
    {"TVMU", "Trace value measurement unit", kTrTvmu, kTrTvmu + 1, kSegyI16},                           // 78
    {"TRDMAN", "Transduction constant mantissa", kTrTrdman, kTrTrdman + 3, kSegyI32},                   // 79
    {"TRDEXP", "Transduction constant exponent", kTrTrdexp, kTrTrdexp + 1, kSegyI16},                   // 80
    {"TRDUN", "Transduction Unit", kTrTrdun, kTrTrdun + 1, kSegyI16},                                   // 81
    {"DTI", "Device/Trace Identifier", kTrDti, kTrDti + 1, kSegyI16},                                   // 82
    {"TIMSCAL", "Scalar to be applied to times", kTrTimscal, kTrTimscal + 1, kSegyI16},                 // 83
    {"STYPOR", "Source Type/Orientation", kTrStypor, kTrStypor + 1, kSegyI16},                          // 84
    {"SEDIR1", "Source Energy Direction with respect to the source orientation", kTrSedir1, kTrSedir1 + 1,
     kSegyI16},  // 85
    {"SEDIR2", "Source Energy Direction with respect to the source orientation", kTrSedir2, kTrSedir2 + 1,
     kSegyI16},  // 86
    {"SEDIR3", "Source Energy Direction with respect to the source orientation", kTrSedir3, kTrSedir3 + 1,
     kSegyI16},                                                                  // 87
    {"SMMAN", "Source Measurement mantissa", kTrSmman, kTrSmman + 3, kSegyI32},  // 88
    {"SMEXP", "Source Measurement exponent", kTrSmexp, kTrSmexp + 1, kSegyI16},  // 89
    {"SMUN", "Source Measurement Unit", kTrSmun, kTrSmun + 1, kSegyI16},         // 90
    {"SEGA", "SEG0 tag", kTrSega, kTrSega + 3, kSegyText},                       // 91, (text)
    {"SEGB", "0000 tag", kTrSegb, kTrSegb + 3, kSegyText},                       // 92, (text)
};

constexpr int WidthOf(SegyWordType t) {
  return t == kSegyI32 || t == kSegyText ? 4 : t == kSegyNone ? 0 : 2;
}

constexpr bool RowsTileTheHeader() {
  int next = 1;
  for (int w = 1; w < kSegyWordRowCount; ++w) {
    const SegyWordRow& r = kRows[w];
    if (r.firstByte != next || r.lastByte - r.firstByte + 1 != WidthOf(r.type)) return false;
    next = r.lastByte + 1;
  }
  return next == kSegyTraceHeaderBytes + 1;
}
static_assert(RowsTileTheHeader(), "SEG-Y words must cover bytes 1..240 in order");

constexpr bool RowsMatchNamedPositions() {
  static_assert(std::size(kSegyTraceWordSpans) == kSegyWordRowCount);
  for (int w = 1; w < kSegyWordRowCount; ++w) {
    const SegyWordRow& r = kRows[w];
    if (r.firstByte != kSegyTraceWordSpans[w].first || WidthOf(r.type) != kSegyTraceWordSpans[w].bytes)
      return false;
  }
  return true;
}
static_assert(RowsMatchNamedPositions(), "the word table must use the named byte positions");

bool EqualNoCase(std::string_view a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == '\0') return false;
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return b[i] == '\0';
}
}  // namespace

std::span<const SegyWordRow> SegyWordRows() {
  return kRows;
}

const SegyWordRow* FindSegyWord(int word) {
  if (word < 0 || word >= kSegyWordRowCount) return nullptr;
  return &kRows[word];
}

int32_t SegyWordGet(const uint8_t* header, int word, bool bigEndian) {
  if (word < 1 || word > kSegyLastNumericWord) return 0;
  const SegyWordRow& r = kRows[word];
  const uint8_t* p = header + TraceHeaderOffset(r.firstByte);
  switch (r.type) {
    case kSegyI16:
      return LoadWord<int16_t>(p, bigEndian);
    case kSegyU16:
      return LoadWord<uint16_t>(p, bigEndian);
    case kSegyI32:
      return LoadWord<int32_t>(p, bigEndian);
    case kSegyNone:
    case kSegyText:
      break;
  }
  return 0;
}

void SegyWordSet(uint8_t* header, int word, int32_t value, bool bigEndian) {
  if (word < 1 || word > kSegyLastNumericWord) return;
  const SegyWordRow& r = kRows[word];
  uint8_t* p = header + TraceHeaderOffset(r.firstByte);
  switch (r.type) {
    case kSegyI16:
    case kSegyU16:
      StoreWord<uint16_t>(p, static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu), bigEndian);
      break;
    case kSegyI32:
      StoreWord<int32_t>(p, value, bigEndian);
      break;
    case kSegyNone:
    case kSegyText:
      break;
  }
}

int SegyWordLookup(std::string_view mnemonic) {
  for (int w = 1; w < kSegyWordRowCount; ++w)
    if (EqualNoCase(mnemonic, kRows[w].mnemonic)) return w;
  return 0;
}

SegyWordSelection::SegyWordSelection() {
  m_selected.fill(true);
  m_selected[kSegyWordSega] = false;
  m_selected[kSegyWordSegb] = false;
}

bool SegyWordSelection::Selected(int word) const {
  if (word < 0 || word >= kSegyWordRowCount) return false;
  return m_selected[word];
}

void SegyWordSelection::Set(int word, bool selected) {
  if (word < 0 || word >= kSegyWordRowCount) return;
  m_selected[word] = selected;
}
