#include "formats/SegyLayout.h"

#include <cctype>
#include <cstring>

#include "section/ByteOrder.h"

namespace {
using T = BhType;
const BinaryHeaderField kBinaryFields[] = {
    {1, T::I32, "job ID"},
    {5, T::I32, "line number"},
    {9, T::I32, "file number"},
    {13, T::I16, "data traces/record"},
    {15, T::I16, "auxiliary traces/record"},
    {17, T::I16, "sampling interval (us)"},
    {19, T::I16, "orig sampling interval (us)"},
    {21, T::U16, "samples/trace"},
    {23, T::U16, "orig samples/trace"},
    {25, T::I16, "data sample format code"},
    {27, T::I16, "ensemble fold"},
    {29, T::I16, "trace sorting code"},
    {31, T::I16, "vertical sum code"},
    {33, T::I16, "sweep start (Hz)"},
    {35, T::I16, "sweep end (Hz)"},
    {37, T::I16, "sweep length (ms)"},
    {39, T::I16, "sweep type code"},
    {41, T::I16, "sweep trace channel"},
    {43, T::I16, "taper len at start (ms)"},
    {45, T::I16, "taper len at end (ms)"},
    {47, T::I16, "taper type code"},
    {49, T::I16, "correlated"},
    {51, T::I16, "binary gain recovered"},
    {53, T::I16, "amplitude recovery method"},
    {55, T::I16, "measurement system"},
    {57, T::I16, "impulse signal polarity"},
    {59, T::I16, "vibratory polarity code"},
    {61, T::I32, nullptr},
    {61, T::I32, "data traces/record"},
    {65, T::I32, "auxiliary traces/record"},
    {69, T::I32, "samples/trace"},
    {73, T::F64, "sampling interval (us)"},
    {81, T::F64, "orig sampling interval (us)"},
    {89, T::I32, "orig samples/trace"},
    {93, T::I32, "ensemble fold"},
    {97, T::U32, "byte ordering tag"},
    {301, T::Revision, nullptr},
    {301, T::Revision, "SEG-Y revision"},
    {303, T::U16, "fixed length traces"},
    {305, T::I16, "number of ETFH"},
    {307, T::U32, nullptr},
    {307, T::U32, "max number of THE"},
    {311, T::U16, "time basis code"},
    {313, T::I64, "num traces in file"},
    {321, T::I64, "1st trace file offset"},
    {329, T::I32, "num trailer ETFH"},
};

const TraceHeaderWord kTraceWords[] = {
    {1, 4, false, "trace sequence no within line"},
    {5, 4, false, "trace sequence no within file"},
    {9, 4, false, "original field record no"},
    {13, 4, false, "trace no in original field record"},
    {17, 4, false, "energy source point no"},
    {21, 4, false, "Ensemble no"},
    {25, 4, false, "trace no in ensemble"},
    {29, 2, false, "trace identification code"},
    {31, 2, false, "vertically summed traces"},
    {33, 2, false, "horizontally stacked traces"},
    {35, 2, false, "data use"},
    {37, 4, false, "source-receiver offset"},
    {41, 4, false, "receiver elevation (<= surf elev)"},
    {45, 4, false, "surface elevation at source"},
    {49, 4, false, "source depth below surface"},
    {53, 4, false, "seismic datum elev at receiver"},
    {57, 4, false, "seismic datum elev at source"},
    {61, 4, false, "water column height at source"},
    {65, 4, false, "water column height at receiver"},
    {69, 2, false, "depths and elevations scalar"},
    {71, 2, false, "coordinates scalar"},
    {73, 4, false, "source coord x"},
    {77, 4, false, "source coord y"},
    {81, 4, false, "receiver coord x"},
    {85, 4, false, "receiver coord y"},
    {89, 2, false, "coordinate units"},
    {91, 2, false, "weathering velocity"},
    {93, 2, false, "subweathering velocity"},
    {95, 2, false, "uphole time at source (ms)"},
    {97, 2, false, "uphole time at receiver (ms)"},
    {99, 2, false, "source static correction (ms)"},
    {101, 2, false, "receiver static correction (ms)"},
    {103, 2, false, "total static applied (ms)"},
    {105, 2, false, "lag time A (ms)"},
    {107, 2, false, "lag time B (ms)"},
    {109, 2, false, "delay recording time (ms)"},
    {111, 2, false, "mute time - start time (ms)"},
    {113, 2, false, "mute time - end time (ms)"},
    {115, 2, true, "number of samples"},
    {117, 2, true, "sampling interval (us)"},
    {119, 2, false, "gain type of field instrument"},
    {121, 2, false, "instrument gain constant (dB)"},
    {123, 2, false, "instrument early gain (dB)"},
    {125, 2, false, "correlated"},
    {127, 2, false, "sweep frequency at start (Hz)"},
    {129, 2, false, "sweep frequency at end (Hz)"},
    {131, 2, false, "sweep length (ms)"},
    {133, 2, false, "sweep type code"},
    {135, 2, false, "sweep taper length at start (ms)"},
    {137, 2, false, "sweep taper length at end (ms)"},
    {139, 2, false, "sweep taper type code"},
    {141, 2, false, "anti alias filter Frequency (Hz)"},
    {143, 2, false, "anti alias filter Slope (dB/oct)"},
    {145, 2, false, "notch filter frequency (Hz)"},
    {147, 2, false, "notch filter slope (dB/oct)"},
    {149, 2, false, "low cut filter frequency (Hz)"},
    {151, 2, false, "high cut filter frequency (Hz)"},
    {153, 2, false, "low cut filter slope (dB/oct)"},
    {155, 2, false, "high cut filter slope (dB/oct)"},
    {157, 2, false, "year data recorded"},
    {159, 2, false, "day of year"},
    {161, 2, false, "hour of day"},
    {163, 2, false, "minute of hour"},
    {165, 2, false, "second of minute"},
    {167, 2, false, "time basis code"},
    {169, 2, false, "trace weighting factor"},
    {171, 2, false, "rcv no of roll switch pos one"},
    {173, 2, false, "rcv no of trace one in fldr"},
    {175, 2, false, "rcv no of last trace in fldr"},
    {177, 2, false, "gap size (receivers dropped)"},
    {179, 2, false, "over travel (taper at ends)"},
    {181, 4, false, "CDP coord x"},
    {185, 4, false, "CDP coord y"},
    {189, 4, false, "in-line number"},
    {193, 4, false, "cross-line number"},
    {197, 4, false, "shot point number"},
    {201, 2, false, "shot point number scalar"},
    {203, 2, false, "trace value measurement unit"},
    {205, 4, false, "transduction constant mantissa"},
    {209, 2, false, "transduction constant exponent"},
    {211, 2, false, "transduction units"},
    {213, 2, false, "device/trace identifier"},
    {215, 2, false, "time scalar"},
    {217, 2, false, "source type/orientation"},
    {219, 6, false, "source energy direction"},
    {225, 4, false, "source measurement mantissa"},
    {229, 2, false, "source measurement exponent"},
    {231, 2, false, "source measurement unit"},
};

// Code page 037 to 7-bit ASCII; characters without a 7-bit counterpart, and
// 0xB0, 0xBA, 0xBB, are spaces; 0x6A (broken bar) is '|'.
const uint8_t kEbcdicToAscii[256] = {
    0x00, 0x01, 0x02, 0x03, 0x20, 0x09, 0x20, 0x7F, 0x20, 0x20, 0x20, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F,
    0x10, 0x11, 0x12, 0x13, 0x20, 0x20, 0x08, 0x20, 0x18, 0x19, 0x20, 0x20, 0x1C, 0x1D, 0x1E, 0x1F,
    0x20, 0x20, 0x20, 0x20, 0x20, 0x0A, 0x17, 0x1B, 0x20, 0x20, 0x20, 0x20, 0x20, 0x05, 0x06, 0x07,
    0x20, 0x20, 0x16, 0x20, 0x20, 0x20, 0x20, 0x04, 0x20, 0x20, 0x20, 0x20, 0x14, 0x15, 0x20, 0x1A,
    0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x2E, 0x3C, 0x28, 0x2B, 0x7C,
    0x26, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x21, 0x24, 0x2A, 0x29, 0x3B, 0x20,
    0x2D, 0x2F, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x7C, 0x2C, 0x25, 0x5F, 0x3E, 0x3F,
    0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x60, 0x3A, 0x23, 0x40, 0x27, 0x3D, 0x22,
    0x20, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x20, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F, 0x70, 0x71, 0x72, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x20, 0x7E, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x7B, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x7D, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x5C, 0x20, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20,
};

void SwapAt(uint8_t* h, int pos, int bytes) {
  uint8_t* p = h + pos - 1;
  for (int i = 0, j = bytes - 1; i < j; ++i, --j) {
    uint8_t t = p[i];
    p[i] = p[j];
    p[j] = t;
  }
}

int BhTypeBytes(BhType t) {
  switch (t) {
    case BhType::I16:
    case BhType::U16:
      return 2;
    case BhType::I32:
    case BhType::U32:
      return 4;
    case BhType::I64:
    case BhType::F64:
      return 8;
    case BhType::Revision:
      return 0;
  }
  return 0;
}

// The first 80 characters, spaces ignored and letters in either case, begin
// with the stanza.
bool MatchesEndText(const uint8_t* block, bool ebcdic) {
  static const char kWanted[] = "((SEG:ENDTEXT))";
  std::size_t k = 0;
  for (int i = 0; i < 80; ++i) {
    uint8_t c = ebcdic ? kEbcdicToAscii[block[i]] : block[i];
    if (c == ' ' || (ebcdic && block[i] == 0x40)) continue;
    // Writers put other text after the stanza on the same line.
    if (k == sizeof kWanted - 1) return true;
    if (std::toupper(c) != kWanted[k]) return false;
    ++k;
  }
  return k == sizeof kWanted - 1;
}
}  // namespace

const BinaryHeaderField* BinaryHeaderFields(std::size_t* count) {
  *count = sizeof kBinaryFields / sizeof kBinaryFields[0];
  return kBinaryFields;
}

const TraceHeaderWord* TraceHeaderWords(std::size_t* count) {
  *count = sizeof kTraceWords / sizeof kTraceWords[0];
  return kTraceWords;
}

void SwapBinaryHeader(uint8_t* bh) {
  for (const auto& f : kBinaryFields) {
    if (f.label) SwapAt(bh, f.pos, BhTypeBytes(f.type));
  }
}

void SwapTraceHeader(uint8_t* th) {
  for (const auto& w : kTraceWords) {
    if (w.bytes == 6) {
      for (int k = 0; k < 3; ++k) SwapAt(th, w.pos + 2 * k, 2);
    } else {
      SwapAt(th, w.pos, w.bytes);
    }
  }
}

int SegyBytesPerSample(int formatCode) {
  static const int8_t kBytes[17] = {0, 4, 4, 2, 4, 4, 8, 3, 1, 8, 4, 2, 8, 0, 0, 3, 1};
  if (formatCode < 1 || formatCode > 16) return 0;
  return kBytes[formatCode];
}

bool SegyFormatSupported(int formatCode) {
  switch (formatCode) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 6:
    case 8:
      return true;
    default:
      return false;
  }
}

bool TextIsEbcdic(const uint8_t* text, std::size_t n) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < n; ++i) count += (text[i] & 0x80) != 0 || text[i] == 0x40;
  return count * 4 >= n * 3;
}

void EbcdicToAscii(uint8_t* text, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) text[i] = kEbcdicToAscii[text[i]];
}

void ReplaceEndEbcdic(uint8_t* text, std::size_t n) {
  static const char kOld[] = "END EBCDIC";
  static const char kNew[] = "END TEXTUAL HEADER";
  const std::size_t oldLen = sizeof kOld - 1, newLen = sizeof kNew - 1;
  if (n < newLen) return;
  // The replacement is longer than the text it replaces: it must still fit.
  std::size_t lastStart = n - newLen;
  for (std::size_t i = 0; i <= lastStart && i + oldLen <= n; ++i) {
    std::size_t k = 0;
    while (k < oldLen && std::toupper(text[i + k]) == kOld[k]) ++k;
    if (k == oldLen) {
      std::memcpy(text + i, kNew, newLen);
      return;
    }
  }
}

bool IsEndTextStanza(const uint8_t* block) {
  return MatchesEndText(block, false) || MatchesEndText(block, true);
}
