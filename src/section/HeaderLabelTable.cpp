// The 75 label rows in id order. Flags: TI 1, HW 2, HP 4.
#include "section/HeaderLabelTable.h"

#include <array>
#include <cstddef>

namespace {
constexpr int32_t TI = kLabelTraceInfo;
constexpr int32_t HW = kLabelHeaderWords;
constexpr int32_t HP = kLabelHeaderPlot;

#define KX_AT(name) static_cast<int32_t>(offsetof(TraceRecord, name))
#define KX_ROW(id, flags, type, name, shortLabel, longLabel, extra) \
  HeaderLabelRow {                                                  \
    id, flags, type, KX_AT(name), shortLabel, longLabel, extra      \
  }
#define KX_NONE(id, flags, shortLabel, longLabel)                    \
  HeaderLabelRow {                                                   \
    id, flags, kTypeNone, kLabelFieldNone, shortLabel, longLabel, "" \
  }

constexpr HeaderLabelRow kRows[kHeaderLabelCount] = {
    {0, HW, kTypeNone, kLabelFieldTraceIndex, "idx", "trace index", ""},
    KX_ROW(1, TI | HW, kTypeI32, TRNO, "TRNO", "Trace Orig Seq", ""),
    KX_ROW(2, 0, kTypeI32, TRF, "TRF", "Trace File", ""),
    KX_ROW(3, HW, kTypeI32, TRACF, "TRACF", "Trace No Line", ""),
    KX_ROW(4, HW, kTypeI32, TRACR, "TRACR", "Trace No File", ""),
    KX_ROW(5, TI | HW, kTypeI16, TRID, "TRID", "Trace Code", ""),
    // DTID is 32 bits in the record (vibration monitors store serial numbers
    // above 32767 there); reading it as 16 bits would show their low half.
    KX_ROW(6, TI | HW, kTypeI32, DTID, "DTID", "Device/Trace ID", ""),
    KX_ROW(7, TI | HW, kTypeI32, NS, "NS", "No of Samples", ""),
    KX_ROW(8, TI | HW, kTypeF64, DT, "DT", "Sampling Interval", ""),
    KX_ROW(9, TI | HW, kTypeF64, DELAY, "DELAY", "Delay Recording", ""),
    KX_ROW(10, TI | HW | HP, kTypeI64, FLDR, "FLDR", "Field Rec No", ""),
    KX_ROW(11, TI | HW, kTypeI32, ESP, "ESP", "Energy Src Point", ""),
    KX_ROW(12, TI | HW | HP, kTypeI32, CHAN, "CHAN", "Channel No", ""),
    KX_ROW(13, TI | HW, kTypeI32, CABLE, "CABLE", "Cable No", ""),
    KX_ROW(14, TI | HW | HP, kTypeI16, NVS, "NVS", "Vert Summed", ""),
    KX_ROW(15, TI | HW | HP, kTypeI16, NHS, "NHS", "Horz Stacked", ""),
    KX_ROW(16, TI | HW | HP, kTypeF32, OFF, "OFF", "Offset src-rcv", ""),
    KX_ROW(17, TI | HW | HP, kTypeI32, CDP, "CDP", "CDP No", ""),
    KX_ROW(18, TI | HW | HP, kTypeI32, CDPT, "CDPT", "CDP trace No", ""),
    KX_ROW(19, TI | HW | HP, kTypeI32, ILINE, "ILINE", "in-line No", ""),
    KX_ROW(20, TI | HW | HP, kTypeI32, XLINE, "XLINE", "cross-line No", ""),
    KX_ROW(21, TI, kTypeU8, CUNIT, "", "Coord Units", ""),
    KX_ROW(22, TI | HW, kTypeF64, RSTA, "RSTA", "RECEIVER STATION", ""),
    KX_ROW(23, TI | HW | HP, kTypeF64, RX, "RX", "X rcv", " Receiver X  (SX)"),
    KX_ROW(24, TI | HW | HP, kTypeF64, RY, "RY", "Y rcv", " Receiver Y  (SY)"),
    KX_ROW(25, TI | HW | HP, kTypeF32, RZ, "RZ", "Z rcv", " Receiver Z  (SZ)"),
    KX_ROW(26, TI | HW, kTypeF32, RZDAT, "RZDAT", "float datum rcv", ""),
    KX_ROW(27, TI | HW | HP, kTypeF32, RDEP, "RDEP", "Depth rcv", ""),
    KX_ROW(28, TI | HW | HP, kTypeF32, RWDEP, "RWDEP", "Water Depth rcv", ""),
    KX_ROW(29, TI | HW | HP, kTypeF64, CDPX, "CDPX", "X CDP", ""),
    KX_ROW(30, TI | HW | HP, kTypeF64, CDPY, "CDPY", "Y CDP", ""),
    KX_ROW(31, TI | HW, kTypeF64, SSTA, "SSTA", "SOURCE STATION", ""),
    KX_ROW(32, TI | HW | HP, kTypeF64, SX, "SX", "X src", " Source X  (SX)"),
    KX_ROW(33, TI | HW | HP, kTypeF64, SY, "SY", "Y src", " Source Y  (SY)"),
    KX_ROW(34, TI | HW | HP, kTypeF32, SZ, "SZ", "Z src", " Source Z  (SZ)"),
    KX_ROW(35, TI | HW, kTypeF32, SZDAT, "SZDAT", "float datum src", ""),
    KX_ROW(36, TI | HW | HP, kTypeF32, SDEP, "SDEP", "Depth src", ""),
    KX_ROW(37, TI | HW | HP, kTypeF32, SWDEP, "SWDEP", "Water Depth src", ""),
    KX_ROW(38, TI | HW | HP, kTypeF32, LAGA, "LAGA", "Lag Time A", ""),
    KX_ROW(39, TI | HW | HP, kTypeF32, LAGB, "LAGB", "Lag Time B", ""),
    KX_ROW(40, TI | HW | HP, kTypeF32, SSTAT, "SSTAT", "src Static corr", ""),
    KX_ROW(41, TI | HW | HP, kTypeF32, RSTAT, "RSTAT", "rcv Static corr", ""),
    KX_ROW(42, TI | HW | HP, kTypeF32, TSTAT, "TSTAT", "Applied Static", ""),
    KX_ROW(43, TI | HW | HP, kTypeF32, SUHT, "SUHT", "Uphole Time src", ""),
    KX_ROW(44, TI | HW | HP, kTypeF32, RUHT, "RUHT", "Uphole Time rcv", ""),
    KX_ROW(45, TI | HW | HP, kTypeF32, SMUTE, "SMUTE", "Mute Time start", ""),
    KX_ROW(46, TI | HW | HP, kTypeF32, EMUTE, "EMUTE", "Mute Time end", ""),
    KX_ROW(47, TI | HW | HP, kTypeF32, WVEL, "WVEL", "Weathering Vel", ""),
    KX_ROW(48, TI | HW | HP, kTypeF32, SWVEL, "SWVEL", "Subweathering Vel", ""),
    KX_ROW(49, TI, kTypeU8, DUSE, "", "Data Use", ""),
    KX_ROW(50, TI, kTypeU8, CORR, "", "correlated", ""),
    KX_ROW(51, TI, kTypeI16, IGT, "IGT", "Instr Gain Type", ""),
    KX_ROW(52, TI | HW, kTypeI16, IGC, "IGC", "Instr Gain Cst", ""),
    KX_ROW(53, TI | HW, kTypeI16, IGI, "IGI", "Instr Gain Ini", ""),
    KX_ROW(54, TI, kTypeU8, TBAS, "", "Time Basis code", ""),
    KX_ROW(55, TI | HW, kTypeI16, YEAR, "YEAR", "year", ""),
    KX_ROW(56, TI | HW, kTypeI16, DAY, "DAY", "day of year", ""),
    KX_NONE(57, TI | HW, "HMS", "time"),
    KX_NONE(58, TI, "", "Energy source"),
    KX_NONE(59, TI, "SWFS", "sweep start Hz"),
    KX_NONE(60, TI, "SWFE", "sweep end Hz"),
    KX_NONE(61, TI, "SWLEN", "sweep length"),
    KX_NONE(62, TI, "SWTYP", "sweep type"),
    KX_NONE(63, TI, "TAPLS", "sweep taper start"),
    KX_NONE(64, TI, "TAPLE", "sweep taper end"),
    KX_NONE(65, TI, "TAPTY", "sweep taper type"),
    KX_NONE(66, TI, "AAF", "anti alias Hz"),
    KX_NONE(67, TI, "AAS", "anti alias Slope"),
    KX_NONE(68, TI, "NOF", "notch Hz"),
    KX_NONE(69, TI, "NOS", "notch slope"),
    KX_NONE(70, TI, "LCF", "low  cut Hz"),
    KX_NONE(71, TI, "LCS", "low  cut Slope"),
    KX_NONE(72, TI, "HCF", "high cut Hz"),
    KX_NONE(73, TI, "HCS", "high cut slope"),
    KX_NONE(74, 0, "SDIR", "strike dir"),
};
#undef KX_NONE
#undef KX_ROW
#undef KX_AT

constexpr bool IdsArePositions() {
  for (int i = 0; i < kHeaderLabelCount; ++i)
    if (kRows[i].id != i) return false;
  return true;
}
static_assert(IdsArePositions(), "label row ids must equal their positions");

std::vector<int> IdsWithFlag(int32_t flag, int firstId) {
  std::vector<int> ids;
  for (int i = firstId; i < kHeaderLabelCount; ++i)
    if (kRows[i].flags & flag) ids.push_back(i);
  return ids;
}
}  // namespace

std::span<const HeaderLabelRow> HeaderLabelRows() {
  return kRows;
}

const HeaderLabelRow* FindHeaderLabel(int id) {
  if (id < 0 || id >= kHeaderLabelCount) return nullptr;
  return &kRows[id];
}

std::vector<int> HeaderLabelIdsWithFlag(int32_t flag) {
  return IdsWithFlag(flag, 0);
}

std::vector<int> HeaderWordsListIds() {
  return IdsWithFlag(kLabelHeaderWords, 0);
}

std::vector<int> TraceInfoListIds() {
  return IdsWithFlag(kLabelTraceInfo, 1);
}

std::vector<int> HeaderPlotChoiceIds() {
  std::vector<int> ids = IdsWithFlag(kLabelHeaderPlot, 1);
  ids.insert(ids.begin(), kHeaderPlotNone);
  return ids;
}

std::optional<double> HeaderLabelValue(const TraceRecord* rec, const HeaderLabelRow& row) {
  if (!rec || row.type == kTypeNone || row.field < 0) return std::nullopt;
  return GetFieldValue(rec, row.type, static_cast<std::size_t>(row.field));
}
