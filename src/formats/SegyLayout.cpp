#include "formats/SegyLayout.h"

#include <cctype>
#include <cstring>
#include <iterator>

#include "section/ByteOrder.h"

namespace {
using T = BhType;
constexpr BinaryHeaderField kBinaryFields[] = {
    {kBhJobId, T::I32, "job ID"},
    {kBhLineNumber, T::I32, "line number"},
    {kBhReelNumber, T::I32, "file number"},
    {kBhTracesPerRecord, T::I16, "data traces/record"},
    {kBhAuxTracesPerRecord, T::I16, "auxiliary traces/record"},
    {kBhInterval, T::I16, "sampling interval (us)"},
    {kBhOrigInterval, T::I16, "orig sampling interval (us)"},
    {kBhSamples, T::U16, "samples/trace"},
    {kBhOrigSamples, T::U16, "orig samples/trace"},
    {kBhFormat, T::I16, "data sample format code"},
    {kBhFold, T::I16, "ensemble fold"},
    {kBhSorting, T::I16, "trace sorting code"},
    {kBhVerticalSum, T::I16, "vertical sum code"},
    {kBhSweepStart, T::I16, "sweep start (Hz)"},
    {kBhSweepEnd, T::I16, "sweep end (Hz)"},
    {kBhSweepLength, T::I16, "sweep length (ms)"},
    {kBhSweepType, T::I16, "sweep type code"},
    {kBhSweepChannel, T::I16, "sweep trace channel"},
    {kBhTaperStart, T::I16, "taper len at start (ms)"},
    {kBhTaperEnd, T::I16, "taper len at end (ms)"},
    {kBhTaperType, T::I16, "taper type code"},
    {kBhCorrelated, T::I16, "correlated"},
    {kBhGainRecovered, T::I16, "binary gain recovered"},
    {kBhAmplitudeRecovery, T::I16, "amplitude recovery method"},
    {kBhMeasurementSystem, T::I16, "measurement system"},
    {kBhImpulsePolarity, T::I16, "impulse signal polarity"},
    {kBhVibratoryPolarity, T::I16, "vibratory polarity code"},
    {kBhTracesPerRecord32, T::I32, nullptr},
    {kBhTracesPerRecord32, T::I32, "data traces/record"},
    {kBhAuxTracesPerRecord32, T::I32, "auxiliary traces/record"},
    {kBhSamples32, T::I32, "samples/trace"},
    {kBhInterval64, T::F64, "sampling interval (us)"},
    {kBhOrigInterval64, T::F64, "orig sampling interval (us)"},
    {kBhOrigSamples32, T::I32, "orig samples/trace"},
    {kBhFold32, T::I32, "ensemble fold"},
    {kBhByteOrderTag, T::U32, "byte ordering tag"},
    {kBhRevisionMajor, T::Revision, nullptr},
    {kBhRevisionMajor, T::Revision, "SEG-Y revision"},
    {kBhFixedLength, T::U16, "fixed length traces"},
    {kBhExtTextCount, T::I16, "number of ETFH"},
    {kBhMaxExtensions, T::U32, nullptr},
    {kBhMaxExtensions, T::U32, "max number of THE"},
    {kBhTimeBasis, T::U16, "time basis code"},
    {kBhTraceCount, T::I64, "num traces in file"},
    {kBhFirstTraceOffset, T::I64, "1st trace file offset"},
    {kBhTrailerCount, T::I32, "num trailer ETFH"},
};

constexpr TraceHeaderWord kTraceWords[] = {
    {kTrTracl, 4, false, "trace sequence no within line"},
    {kTrTracr, 4, false, "trace sequence no within file"},
    {kTrFldr, 4, false, "original field record no"},
    {kTrTracf, 4, false, "trace no in original field record"},
    {kTrEp, 4, false, "energy source point no"},
    {kTrCdp, 4, false, "Ensemble no"},
    {kTrCdpt, 4, false, "trace no in ensemble"},
    {kTrTrid, 2, false, "trace identification code"},
    {kTrNvs, 2, false, "vertically summed traces"},
    {kTrNhs, 2, false, "horizontally stacked traces"},
    {kTrDuse, 2, false, "data use"},
    {kTrOffset, 4, false, "source-receiver offset"},
    {kTrGelev, 4, false, "receiver elevation (<= surf elev)"},
    {kTrSelev, 4, false, "surface elevation at source"},
    {kTrSdepth, 4, false, "source depth below surface"},
    {kTrGdel, 4, false, "seismic datum elev at receiver"},
    {kTrSdel, 4, false, "seismic datum elev at source"},
    {kTrSwdep, 4, false, "water column height at source"},
    {kTrGwdep, 4, false, "water column height at receiver"},
    {kTrScalel, 2, false, "depths and elevations scalar"},
    {kTrScalco, 2, false, "coordinates scalar"},
    {kTrSx, 4, false, "source coord x"},
    {kTrSy, 4, false, "source coord y"},
    {kTrGx, 4, false, "receiver coord x"},
    {kTrGy, 4, false, "receiver coord y"},
    {kTrCounit, 2, false, "coordinate units"},
    {kTrWevel, 2, false, "weathering velocity"},
    {kTrSwevel, 2, false, "subweathering velocity"},
    {kTrSut, 2, false, "uphole time at source (ms)"},
    {kTrGut, 2, false, "uphole time at receiver (ms)"},
    {kTrSstat, 2, false, "source static correction (ms)"},
    {kTrGstat, 2, false, "receiver static correction (ms)"},
    {kTrTstat, 2, false, "total static applied (ms)"},
    {kTrLaga, 2, false, "lag time A (ms)"},
    {kTrLagb, 2, false, "lag time B (ms)"},
    {kTrDelrt, 2, false, "delay recording time (ms)"},
    {kTrMuts, 2, false, "mute time - start time (ms)"},
    {kTrMute, 2, false, "mute time - end time (ms)"},
    {kTrNs, 2, true, "number of samples"},
    {kTrDt, 2, true, "sampling interval (us)"},
    {kTrGain, 2, false, "gain type of field instrument"},
    {kTrIgc, 2, false, "instrument gain constant (dB)"},
    {kTrIgi, 2, false, "instrument early gain (dB)"},
    {kTrCorr, 2, false, "correlated"},
    {kTrSfs, 2, false, "sweep frequency at start (Hz)"},
    {kTrSfe, 2, false, "sweep frequency at end (Hz)"},
    {kTrSlen, 2, false, "sweep length (ms)"},
    {kTrStyp, 2, false, "sweep type code"},
    {kTrStas, 2, false, "sweep taper length at start (ms)"},
    {kTrStae, 2, false, "sweep taper length at end (ms)"},
    {kTrTatyp, 2, false, "sweep taper type code"},
    {kTrAfilf, 2, false, "anti alias filter Frequency (Hz)"},
    {kTrAfils, 2, false, "anti alias filter Slope (dB/oct)"},
    {kTrNofilf, 2, false, "notch filter frequency (Hz)"},
    {kTrNofils, 2, false, "notch filter slope (dB/oct)"},
    {kTrLcf, 2, false, "low cut filter frequency (Hz)"},
    {kTrHcf, 2, false, "high cut filter frequency (Hz)"},
    {kTrLcs, 2, false, "low cut filter slope (dB/oct)"},
    {kTrHcs, 2, false, "high cut filter slope (dB/oct)"},
    {kTrYear, 2, false, "year data recorded"},
    {kTrDay, 2, false, "day of year"},
    {kTrHour, 2, false, "hour of day"},
    {kTrMinute, 2, false, "minute of hour"},
    {kTrSec, 2, false, "second of minute"},
    {kTrTimbas, 2, false, "time basis code"},
    {kTrTrwf, 2, false, "trace weighting factor"},
    {kTrGrnors, 2, false, "rcv no of roll switch pos one"},
    {kTrGrnofr, 2, false, "rcv no of trace one in fldr"},
    {kTrGrnlof, 2, false, "rcv no of last trace in fldr"},
    {kTrGaps, 2, false, "gap size (receivers dropped)"},
    {kTrOtrav, 2, false, "over travel (taper at ends)"},
    {kTrCdpx, 4, false, "CDP coord x"},
    {kTrCdpy, 4, false, "CDP coord y"},
    {kTrIline, 4, false, "in-line number"},
    {kTrXline, 4, false, "cross-line number"},
    {kTrSp, 4, false, "shot point number"},
    {kTrSpscal, 2, false, "shot point number scalar"},
    {kTrTvmu, 2, false, "trace value measurement unit"},
    {kTrTrdman, 4, false, "transduction constant mantissa"},
    {kTrTrdexp, 2, false, "transduction constant exponent"},
    {kTrTrdun, 2, false, "transduction units"},
    {kTrDti, 2, false, "device/trace identifier"},
    {kTrTimscal, 2, false, "time scalar"},
    {kTrStypor, 2, false, "source type/orientation"},
    {kTrSedir1, 6, false, "source energy direction"},
    {kTrSmman, 4, false, "source measurement mantissa"},
    {kTrSmexp, 2, false, "source measurement exponent"},
    {kTrSmun, 2, false, "source measurement unit"},
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

void SwapAt(uint8_t* p, int bytes) {
  for (int i = 0, j = bytes - 1; i < j; ++i, --j) {
    uint8_t t = p[i];
    p[i] = p[j];
    p[j] = t;
  }
}

constexpr int BhTypeBytes(BhType t) {
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

// The tables name the positions of section/SegyBytePositions.h; these checks pin that the dump
// and swap tables walk the same words as the trace word table, in header order.
constexpr bool TraceWordsMatchNamedPositions() {
  std::size_t w = 1;
  for (const TraceHeaderWord& t : kTraceWords) {
    if (w >= std::size(kSegyTraceWordSpans) || t.pos != kSegyTraceWordSpans[w].first) return false;
    int covered = 0;  // the energy direction entry spans three words
    while (covered < t.bytes && w < std::size(kSegyTraceWordSpans)) covered += kSegyTraceWordSpans[w++].bytes;
    if (covered != t.bytes) return false;
  }
  return kSegyTraceWordSpans[w].first == kTrSega;
}
static_assert(TraceWordsMatchNamedPositions(), "dump words must be the trace word table's words 1..90");

constexpr bool BinaryFieldsInOrder() {
  int next = kBhFirstByte;
  for (const BinaryHeaderField& f : kBinaryFields) {
    if (f.pos < next) return false;
    if (!f.label) continue;  // a separator shares the position of the field after it
    next = f.pos + (f.type == BhType::Revision ? 2 : BhTypeBytes(f.type));
  }
  return next <= kBhLastByte + 1;
}
static_assert(BinaryFieldsInOrder(), "binary header fields must not overlap and must stay in header order");

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
    if (f.label) SwapAt(bh + BinaryHeaderOffset(f.pos), BhTypeBytes(f.type));
  }
}

void SwapTraceHeader(uint8_t* th) {
  for (const auto& w : kTraceWords) {
    if (w.bytes == 6) {
      for (int k = 0; k < 3; ++k) SwapAt(th + TraceHeaderOffset(w.pos) + 2 * k, 2);
    } else {
      SwapAt(th + TraceHeaderOffset(w.pos), w.bytes);
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
