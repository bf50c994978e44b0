// The SEG-Y trace header words in header order.
// Byte positions are the standard's (1-based, inclusive); the compile-time
// checks below pin that the words tile bytes 1..240 without gap or overlap
// and that every width matches its type.
#include "section/SegyWordTable.h"

#include <array>
#include <cctype>

namespace {
constexpr SegyWordRow kRows[kSegyWordRowCount] = {
    {"idx", "real in-file index", 0, 0, kSegyNone},  // 0: the trace's 1-based position in the file
    {"TRACL", "trace sequence number within line", 1, 4, kSegyI32},                        // 1
    {"TRACR", "trace sequence number within file", 5, 8, kSegyI32},                        // 2
    {"FLDR", "original field record number", 9, 12, kSegyI32},                             // 3
    {"TRACF", "trace number within the original field record", 13, 16, kSegyI32},          // 4
    {"EP", "energy source point number", 17, 20, kSegyI32},                                // 5
    {"CDP", "ensemble number", 21, 24, kSegyI32},                                          // 6
    {"CDPT", "trace number within the ensemble", 25, 28, kSegyI32},                        // 7
    {"TRID", "trace identification code", 29, 30, kSegyI16},                               // 8
    {"NVS", "number of vertically summed traces", 31, 32, kSegyI16},                       // 9
    {"NHS", "number of horizontally stacked traces", 33, 34, kSegyI16},                    // 10
    {"DUSE", "data use", 35, 36, kSegyI16},                                                // 11
    {"OFFSET", "distance from source center to receiver group center", 37, 40, kSegyI32},  // 12
    {"GELEV", "receiver group elevation", 41, 44, kSegyI32},                               // 13
    {"SELEV", "surface elevation at source", 45, 48, kSegyI32},                            // 14
    {"SDEPTH", "source depth below surface", 49, 52, kSegyI32},                            // 15
    {"GDEL", "seismic datum elevation at receiver group", 53, 56, kSegyI32},               // 16
    {"SDEL", "seismic datum elevation at source", 57, 60, kSegyI32},                       // 17
    {"SWDEP", "water column height at source location", 61, 64, kSegyI32},                 // 18
    {"GWDEP", "water column height at receiver group location", 65, 68, kSegyI32},         // 19
    {"SCALEL", "scalar to be applied to all elevations and depths", 69, 70, kSegyI16},     // 20
    {"SCALCO", "Scalar to be applied to all coordinates", 71, 72, kSegyI16},               // 21
    {"SX", "source coordinate - X", 73, 76, kSegyI32},                                     // 22
    {"SY", "source coordinate - Y", 77, 80, kSegyI32},                                     // 23
    {"GX", "groupe coordinate - X", 81, 84, kSegyI32},                                     // 24
    {"GY", "groupe coordinate - Y", 85, 88, kSegyI32},                                     // 25
    {"COUNIT", "coordinate units", 89, 90, kSegyI16},                                      // 26
    {"WEVEL", "weathering velocity", 91, 92, kSegyI16},                                    // 27
    {"SWEVEL", "subweathering velocity", 93, 94, kSegyI16},                                // 28
    {"SUT", "uphole time at source", 95, 96, kSegyI16},                                    // 29
    {"GUT", "uphole time at group", 97, 98, kSegyI16},                                     // 30
    {"SSTAT", "source static correction", 99, 100, kSegyI16},                              // 31
    {"GSTAT", "group static correction", 101, 102, kSegyI16},                              // 32
    {"TSTAT", "total static applied", 103, 104, kSegyI16},                                 // 33
    {"LAGA", "lag time A", 105, 106, kSegyI16},                                            // 34
    {"LAGB", "lag time B", 107, 108, kSegyI16},                                            // 35
    {"DELRT", "delay recording time", 109, 110, kSegyI16},                                 // 36
    {"MUTS", "mute time start", 111, 112, kSegyI16},                                       // 37
    {"MUTE", "mute time end", 113, 114, kSegyI16},                                         // 38
    {"NS", "number of samples in this trace", 115, 116, kSegyU16},                         // 39
    {"DT", "sample interval for this trace", 117, 118, kSegyI16},                          // 40
    {"GAIN", "gain type of field instruments", 119, 120, kSegyI16},                        // 41
    {"IGC", "instrument gain constant", 121, 122, kSegyI16},                               // 42
    {"IGI", "instrument early or initial gain", 123, 124, kSegyI16},                       // 43
    {"CORR", "correlated", 125, 126, kSegyI16},                                            // 44
    {"SFS", "sweep frequency at start", 127, 128, kSegyI16},                               // 45
    {"SFE", "sweep frequency at end", 129, 130, kSegyI16},                                 // 46
    {"SLEN", "sweep length", 131, 132, kSegyI16},                                          // 47
    {"STYP", "sweep type", 133, 134, kSegyI16},                                            // 48
    {"STAS", "sweep trace taper length at start", 135, 136, kSegyI16},                     // 49
    {"STAE", "sweep trace taper length at end", 137, 138, kSegyI16},                       // 50
    {"TATYP", "taper type", 139, 140, kSegyI16},                                           // 51
    {"AFILF", "alias filter frequency, if used", 141, 142, kSegyI16},                      // 52
    {"AFILS", "alias filter slope", 143, 144, kSegyI16},                                   // 53
    {"NOFILF", "notch filter frequency, if used", 145, 146, kSegyI16},                     // 54
    {"NOFILS", "notch filter slope", 147, 148, kSegyI16},                                  // 55
    {"LCF", "low-cut frequency, if used", 149, 150, kSegyI16},                             // 56
    {"HCF", "high-cut frequency, if used", 151, 152, kSegyI16},                            // 57
    {"LCS", "low-cut slope", 153, 154, kSegyI16},                                          // 58
    {"HCS", "high-cut slope", 155, 156, kSegyI16},                                         // 59
    {"YEAR", "year data recorded", 157, 158, kSegyI16},                                    // 60
    {"DAY", "day of year", 159, 160, kSegyI16},                                            // 61
    {"HOUR", "hour of day", 161, 162, kSegyI16},                                           // 62
    {"MINUTE", "minute of hour", 163, 164, kSegyI16},                                      // 63
    {"SEC", "second of minute", 165, 166, kSegyI16},                                       // 64
    {"TIMBAS", "time basis code", 167, 168, kSegyI16},                                     // 65
    {"TRWF", "trace weighting factor", 169, 170, kSegyI16},                                // 66
    {"GRNORS", "Geophone group number of roll switch position one", 171, 172, kSegyI16},   // 67
    {"GRNOFR", "Geophone group number of trace number one within original field record", 173, 174,
     kSegyI16},                                                                                          // 68
    {"GRNLOF", "Geophone group number of last trace within original field record", 175, 176, kSegyI16},  // 69
    {"GAPS", "Gap size", 177, 178, kSegyI16},                                                            // 70
    {"OTRAV", "Over travel associated with taper at beginning or end of line", 179, 180, kSegyI16},      // 71
    {"CDPX", "X coordinate of ensemble (CDP) position of this trace", 181, 184, kSegyI32},               // 72
    {"CDPY", "Y coordinate of ensemble (CDP) position of this trace", 185, 188, kSegyI32},               // 73
    {"ILINE", "3-D poststack data in-line number", 189, 192, kSegyI32},                                  // 74
    {"XLINE", "3-D poststack data cross-line number", 193, 196, kSegyI32},                               // 75
    {"SP", "shot point number", 197, 200, kSegyI32},                                                     // 76
    {"SPSCAL", "scalar to be applied to shotpoint number", 201, 202, kSegyI16},                          // 77
    {"TVMU", "Trace value measurement unit", 203, 204, kSegyI16},                                        // 78
    {"TRDMAN", "Transduction constant mantissa", 205, 208, kSegyI32},                                    // 79
    {"TRDEXP", "Transduction constant exponent", 209, 210, kSegyI16},                                    // 80
    {"TRDUN", "Transduction Unit", 211, 212, kSegyI16},                                                  // 81
    {"DTI", "Device/Trace Identifier", 213, 214, kSegyI16},                                              // 82
    {"TIMSCAL", "Scalar to be applied to times", 215, 216, kSegyI16},                                    // 83
    {"STYPOR", "Source Type/Orientation", 217, 218, kSegyI16},                                           // 84
    {"SEDIR1", "Source Energy Direction with respect to the source orientation", 219, 220, kSegyI16},    // 85
    {"SEDIR2", "Source Energy Direction with respect to the source orientation", 221, 222, kSegyI16},    // 86
    {"SEDIR3", "Source Energy Direction with respect to the source orientation", 223, 224, kSegyI16},    // 87
    {"SMMAN", "Source Measurement mantissa", 225, 228, kSegyI32},                                        // 88
    {"SMEXP", "Source Measurement exponent", 229, 230, kSegyI16},                                        // 89
    {"SMUN", "Source Measurement Unit", 231, 232, kSegyI16},                                             // 90
    {"SEGA", "SEG0 tag", 233, 236, kSegyText},  // 91, (text)
    {"SEGB", "0000 tag", 237, 240, kSegyText},  // 92, (text)
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
  const uint8_t* p = header + (r.firstByte - 1);
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
  uint8_t* p = header + (r.firstByte - 1);
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
