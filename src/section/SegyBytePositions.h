// Byte positions of the SEG-Y headers, 1-based and inclusive as the standard counts them; every
// decoder, writer, dump and word table names a position through these constants. Buffers count
// from 0: TraceHeaderOffset, BinaryHeaderOffset and ExtensionOffset turn a position into an index,
// so no code converts by hand.
//
// Trace header words (bytes 1..240 of each trace header) carry the mnemonics of the trace header
// word table (section/SegyWordTable.h). Binary header words carry their position in the file
// (3201..3600), not in the 400-byte header. Trace header extension 1 (revision 2) words count
// 1..240 within that extension.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Trace header ---------------------------------------------------------------------------

inline constexpr int kTrTracl = 1;
inline constexpr int kTrTracr = 5;
inline constexpr int kTrFldr = 9;
inline constexpr int kTrTracf = 13;
inline constexpr int kTrEp = 17;
inline constexpr int kTrCdp = 21;
inline constexpr int kTrCdpt = 25;
inline constexpr int kTrTrid = 29;
inline constexpr int kTrNvs = 31;
inline constexpr int kTrNhs = 33;
inline constexpr int kTrDuse = 35;
inline constexpr int kTrOffset = 37;
inline constexpr int kTrGelev = 41;
inline constexpr int kTrSelev = 45;
inline constexpr int kTrSdepth = 49;
inline constexpr int kTrGdel = 53;
inline constexpr int kTrSdel = 57;
inline constexpr int kTrSwdep = 61;
inline constexpr int kTrGwdep = 65;
inline constexpr int kTrScalel = 69;
inline constexpr int kTrScalco = 71;
inline constexpr int kTrSx = 73;
inline constexpr int kTrSy = 77;
inline constexpr int kTrGx = 81;
inline constexpr int kTrGy = 85;
inline constexpr int kTrCounit = 89;
inline constexpr int kTrWevel = 91;
inline constexpr int kTrSwevel = 93;
inline constexpr int kTrSut = 95;
inline constexpr int kTrGut = 97;
inline constexpr int kTrSstat = 99;
inline constexpr int kTrGstat = 101;
inline constexpr int kTrTstat = 103;
inline constexpr int kTrLaga = 105;
inline constexpr int kTrLagb = 107;
inline constexpr int kTrDelrt = 109;
inline constexpr int kTrMuts = 111;
inline constexpr int kTrMute = 113;
inline constexpr int kTrNs = 115;
inline constexpr int kTrDt = 117;
inline constexpr int kTrGain = 119;
inline constexpr int kTrIgc = 121;
inline constexpr int kTrIgi = 123;
inline constexpr int kTrCorr = 125;
inline constexpr int kTrSfs = 127;
inline constexpr int kTrSfe = 129;
inline constexpr int kTrSlen = 131;
inline constexpr int kTrStyp = 133;
inline constexpr int kTrStas = 135;
inline constexpr int kTrStae = 137;
inline constexpr int kTrTatyp = 139;
inline constexpr int kTrAfilf = 141;
inline constexpr int kTrAfils = 143;
inline constexpr int kTrNofilf = 145;
inline constexpr int kTrNofils = 147;
inline constexpr int kTrLcf = 149;
inline constexpr int kTrHcf = 151;
inline constexpr int kTrLcs = 153;
inline constexpr int kTrHcs = 155;
inline constexpr int kTrYear = 157;
inline constexpr int kTrDay = 159;
inline constexpr int kTrHour = 161;
inline constexpr int kTrMinute = 163;
inline constexpr int kTrSec = 165;
inline constexpr int kTrTimbas = 167;
inline constexpr int kTrTrwf = 169;
inline constexpr int kTrGrnors = 171;
inline constexpr int kTrGrnofr = 173;
inline constexpr int kTrGrnlof = 175;
inline constexpr int kTrGaps = 177;
inline constexpr int kTrOtrav = 179;
inline constexpr int kTrCdpx = 181;
inline constexpr int kTrCdpy = 185;
inline constexpr int kTrIline = 189;
inline constexpr int kTrXline = 193;
inline constexpr int kTrSp = 197;
inline constexpr int kTrSpscal = 201;
inline constexpr int kTrTvmu = 203;
inline constexpr int kTrTrdman = 205;
inline constexpr int kTrTrdexp = 209;
inline constexpr int kTrTrdun = 211;
inline constexpr int kTrDti = 213;
inline constexpr int kTrTimscal = 215;
inline constexpr int kTrStypor = 217;
inline constexpr int kTrSedir1 = 219;
inline constexpr int kTrSedir2 = 221;
inline constexpr int kTrSedir3 = 223;
inline constexpr int kTrSmman = 225;
inline constexpr int kTrSmexp = 229;
inline constexpr int kTrSmun = 231;
inline constexpr int kTrSega = 233;
inline constexpr int kTrSegb = 237;

// The first byte and width of trace header words 1..92 in word order; entry 0 stands for row 0
// (idx) of the word table, which is not a header word.
struct SegyWordSpan {
  int16_t first;
  int8_t bytes;
};
inline constexpr SegyWordSpan kSegyTraceWordSpans[] = {
    {0, 0},         {kTrTracl, 4},  {kTrTracr, 4},  {kTrFldr, 4},   {kTrTracf, 4},  {kTrEp, 4},
    {kTrCdp, 4},    {kTrCdpt, 4},   {kTrTrid, 2},   {kTrNvs, 2},    {kTrNhs, 2},    {kTrDuse, 2},
    {kTrOffset, 4}, {kTrGelev, 4},  {kTrSelev, 4},  {kTrSdepth, 4}, {kTrGdel, 4},   {kTrSdel, 4},
    {kTrSwdep, 4},  {kTrGwdep, 4},  {kTrScalel, 2}, {kTrScalco, 2}, {kTrSx, 4},     {kTrSy, 4},
    {kTrGx, 4},     {kTrGy, 4},     {kTrCounit, 2}, {kTrWevel, 2},  {kTrSwevel, 2}, {kTrSut, 2},
    {kTrGut, 2},    {kTrSstat, 2},  {kTrGstat, 2},  {kTrTstat, 2},  {kTrLaga, 2},   {kTrLagb, 2},
    {kTrDelrt, 2},  {kTrMuts, 2},   {kTrMute, 2},   {kTrNs, 2},     {kTrDt, 2},     {kTrGain, 2},
    {kTrIgc, 2},    {kTrIgi, 2},    {kTrCorr, 2},   {kTrSfs, 2},    {kTrSfe, 2},    {kTrSlen, 2},
    {kTrStyp, 2},   {kTrStas, 2},   {kTrStae, 2},   {kTrTatyp, 2},  {kTrAfilf, 2},  {kTrAfils, 2},
    {kTrNofilf, 2}, {kTrNofils, 2}, {kTrLcf, 2},    {kTrHcf, 2},    {kTrLcs, 2},    {kTrHcs, 2},
    {kTrYear, 2},   {kTrDay, 2},    {kTrHour, 2},   {kTrMinute, 2}, {kTrSec, 2},    {kTrTimbas, 2},
    {kTrTrwf, 2},   {kTrGrnors, 2}, {kTrGrnofr, 2}, {kTrGrnlof, 2}, {kTrGaps, 2},   {kTrOtrav, 2},
    {kTrCdpx, 4},   {kTrCdpy, 4},   {kTrIline, 4},  {kTrXline, 4},  {kTrSp, 4},     {kTrSpscal, 2},
    {kTrTvmu, 2},   {kTrTrdman, 4}, {kTrTrdexp, 2}, {kTrTrdun, 2},  {kTrDti, 2},    {kTrTimscal, 2},
    {kTrStypor, 2}, {kTrSedir1, 2}, {kTrSedir2, 2}, {kTrSedir3, 2}, {kTrSmman, 4},  {kTrSmexp, 2},
    {kTrSmun, 2},   {kTrSega, 4},   {kTrSegb, 4}};

// Buffer index of a trace header position (also in a SEG-Y or SU trace header copy).
constexpr std::size_t TraceHeaderOffset(int pos) {
  return static_cast<std::size_t>(pos - 1);
}

// ---- Binary file header ---------------------------------------------------------------------

inline constexpr int kBhFirstByte = 3201;
inline constexpr int kBhJobId = 3201;
inline constexpr int kBhLineNumber = 3205;
inline constexpr int kBhReelNumber = 3209;
inline constexpr int kBhTracesPerRecord = 3213;
inline constexpr int kBhAuxTracesPerRecord = 3215;
inline constexpr int kBhInterval = 3217;  // microseconds
inline constexpr int kBhOrigInterval = 3219;
inline constexpr int kBhSamples = 3221;
inline constexpr int kBhOrigSamples = 3223;
inline constexpr int kBhFormat = 3225;  // sample format code
inline constexpr int kBhFold = 3227;
inline constexpr int kBhSorting = 3229;
inline constexpr int kBhVerticalSum = 3231;
inline constexpr int kBhSweepStart = 3233;
inline constexpr int kBhSweepEnd = 3235;
inline constexpr int kBhSweepLength = 3237;
inline constexpr int kBhSweepType = 3239;
inline constexpr int kBhSweepChannel = 3241;
inline constexpr int kBhTaperStart = 3243;
inline constexpr int kBhTaperEnd = 3245;
inline constexpr int kBhTaperType = 3247;
inline constexpr int kBhCorrelated = 3249;
inline constexpr int kBhGainRecovered = 3251;
inline constexpr int kBhAmplitudeRecovery = 3253;
inline constexpr int kBhMeasurementSystem = 3255;
inline constexpr int kBhImpulsePolarity = 3257;
inline constexpr int kBhVibratoryPolarity = 3259;
// Revision 2: wide forms of the classic words, and the byte ordering tag.
inline constexpr int kBhTracesPerRecord32 = 3261;
inline constexpr int kBhAuxTracesPerRecord32 = 3265;
inline constexpr int kBhSamples32 = 3269;
inline constexpr int kBhInterval64 = 3273;  // IEEE double, microseconds
inline constexpr int kBhOrigInterval64 = 3281;
inline constexpr int kBhOrigSamples32 = 3289;
inline constexpr int kBhFold32 = 3293;
inline constexpr int kBhByteOrderTag = 3297;
// Revision 1 and 2.
inline constexpr int kBhRevisionMajor = 3501;
inline constexpr int kBhRevisionMinor = 3502;
inline constexpr int kBhFixedLength = 3503;
inline constexpr int kBhExtTextCount = 3505;
inline constexpr int kBhMaxExtensions = 3507;
inline constexpr int kBhTimeBasis = 3511;
inline constexpr int kBhTraceCount = 3513;
inline constexpr int kBhFirstTraceOffset = 3521;
inline constexpr int kBhTrailerCount = 3529;
inline constexpr int kBhLastByte = 3600;

// Buffer index of a binary header position in the 400-byte header.
constexpr std::size_t BinaryHeaderOffset(int pos) {
  return static_cast<std::size_t>(pos - kBhFirstByte);
}
// The position within the 400-byte header (1-based), as the header dump prints it.
constexpr int BinaryHeaderBytePos(int pos) {
  return pos - kBhFirstByte + 1;
}

// ---- Trace header extension 1 (revision 2) --------------------------------------------------

inline constexpr int kTx1Tracl = 1;  // 64-bit forms of TRACL, TRACR, FLDR, CDP
inline constexpr int kTx1Tracr = 9;
inline constexpr int kTx1Fldr = 17;
inline constexpr int kTx1Cdp = 25;
inline constexpr int kTx1Gelev = 33;  // IEEE doubles from here to kTx1Offset
inline constexpr int kTx1Gdepth = 41;
inline constexpr int kTx1Selev = 49;
inline constexpr int kTx1Sdepth = 57;
inline constexpr int kTx1Gdel = 65;
inline constexpr int kTx1Sdel = 73;
inline constexpr int kTx1Swdep = 81;
inline constexpr int kTx1Gwdep = 89;
inline constexpr int kTx1Sx = 97;
inline constexpr int kTx1Sy = 105;
inline constexpr int kTx1Gx = 113;
inline constexpr int kTx1Gy = 121;
inline constexpr int kTx1Offset = 129;
inline constexpr int kTx1Samples = 137;  // unsigned 32-bit
inline constexpr int kTx1Nanoseconds = 141;
inline constexpr int kTx1Interval = 145;  // IEEE double, microseconds
inline constexpr int kTx1Cable = 153;
inline constexpr int kTx1HeaderCount =
    157;  // trace header blocks of the trace, 0: the binary header's maximum
inline constexpr int kTx1Cdpx = 161;
inline constexpr int kTx1Cdpy = 169;

// Buffer index of an extension 1 position.
constexpr std::size_t ExtensionOffset(int pos) {
  return static_cast<std::size_t>(pos - 1);
}
