// The 26 sort keys in id order.
#include "section/SortKeyTable.h"

#include <array>
#include <cstddef>

namespace {
#define KX_KEY(id, type, name, label)                                  \
  SortKeyRow {                                                         \
    id, type, static_cast<int32_t>(offsetof(TraceRecord, name)), label \
  }
constexpr SortKeyRow kRows[kSortKeyCount] = {
    {0, kTypeNone, kSortFieldNone, " None"},
    KX_KEY(1, kTypeI32, ILINE, " Inline  (ILINE)"),
    KX_KEY(2, kTypeI32, XLINE, " Crossline  (XLINE)"),
    KX_KEY(3, kTypeI64, FLDR, " FFID  (FLDR)"),
    KX_KEY(4, kTypeI32, CHAN, " TraceSeq FFID  (TRACF)"),
    KX_KEY(5, kTypeI32, CDP, " CDP  (CDP)"),
    KX_KEY(6, kTypeI32, CDPT, " TraceSeq CDP  (CDPT)"),
    KX_KEY(7, kTypeF64, SSTA, " Shot Point  (SP)"),
    KX_KEY(8, kTypeI32, ESP, " Energy Source Point  (EP)"),
    KX_KEY(9, kTypeI32, CHAN, " TraceSeq SP  (TRACF)"),
    KX_KEY(10, kTypeF32, OFFCLS, " |offset| Class (OFFSET)"),
    KX_KEY(11, kTypeF32, OFF, " Offset  (OFFSET)"),
    KX_KEY(12, kTypeF64, RSTA, " Receiver Point"),
    KX_KEY(13, kTypeF64, SX, " Source X  (SX)"),
    KX_KEY(14, kTypeF64, SY, " Source Y  (SY)"),
    KX_KEY(15, kTypeF64, RX, " Receiver X  (GX)"),
    KX_KEY(16, kTypeF64, RY, " Receiver Y  (GY)"),
    KX_KEY(17, kTypeF64, CDPX, " CDP X  (CDPX)"),
    KX_KEY(18, kTypeF64, CDPY, " CDP Y  (CDPY)"),
    KX_KEY(19, kTypeI32, TRF, " file#  (TRACR)"),
    KX_KEY(20, kTypeI32, TRNO, " trace# (TRACL)"),
    KX_KEY(21, kTypeF32, SDEP, " Source  Depth (SDEP)"),
    KX_KEY(22, kTypeF32, RDEP, " Rceiver Depth (RDEP)"),
    KX_KEY(23, kTypeU8, SDIR, " Shot Direction"),
    KX_KEY(24, kTypeI16, NVS, " Vertical Sum"),
    KX_KEY(25, kTypeF32, XLINE, " x Line"),
};
#undef KX_KEY

constexpr bool IdsArePositions() {
  for (int i = 0; i < kSortKeyCount; ++i)
    if (kRows[i].id != i) return false;
  return true;
}
static_assert(IdsArePositions(), "sort key ids must equal their positions");
}  // namespace

std::span<const SortKeyRow> SortKeyRows() {
  return kRows;
}

const SortKeyRow* FindSortKey(int id) {
  if (id < 0 || id >= kSortKeyCount) return nullptr;
  return &kRows[id];
}

std::optional<double> SortKeyValue(const TraceRecord* rec, const SortKeyRow& row) {
  if (!rec || row.type == kTypeNone || row.field < 0) return std::nullopt;
  return GetFieldValue(rec, row.type, static_cast<std::size_t>(row.field));
}
