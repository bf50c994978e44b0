#include "formats/HeaderScan.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "formats/SegyDump.h"
#include "formats/SegyLayout.h"
#include "formats/SegyReaderInternal.h"
#include "formats/TraceStream.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"

namespace {
constexpr int32_t kScanLimit = 2147483647;

// Seeks over first-1 traces when every trace has the binary header's length.
bool SeekToFirst(TraceStream& stream, const SegyFileInfo& info, int32_t first) {
  int64_t traceBytes =
      static_cast<int64_t>(info.bytesPerSample) * info.samples +
      (static_cast<int64_t>(info.revision == 2 ? info.maxExtensions : 0) + 1) * kSegyTraceHeaderBytes;
  if (!stream.Skip(traceBytes * (first - 1))) {
    LogPrint(LogError, "\nERROR: Failed to seek to trace %d", first);
    return false;
  }
  return true;
}

bool RecordOffset(SeismicSection& section, int32_t index, int64_t offset) {
  while (index >= section.m_offsetCapacity) {
    if (section.GrowOffsetList() != 0) return false;
  }
  section.m_offsets[index] = offset;
  return true;
}

// The per-trace work for a trace inside the range; false stops the scan.
bool VisitTrace(SeismicSection& section, const TraceStream& stream, HeaderScanParams& params, int32_t index,
                int64_t offset) {
  bool exporting = (params.flags & (kScanExportWords | kScanExportNewline)) != 0;
  bool dumping = (params.flags & 0x10) != 0;
  if (!exporting && !dumping && !(params.flags & kScanRecordOffsets)) return true;
  uint8_t host[kSegyTraceHeaderBytes];
  std::memcpy(host, stream.Header(), sizeof host);
  if (stream.Info().bigEndian == kHostLittleEndian) SwapTraceHeader(host);
  if (exporting) {
    if (params.exportTrace) params.exportTrace(host, index + 1);
    return true;
  }
  if ((params.flags & kScanRecordOffsets) && !RecordOffset(section, index, offset)) return false;
  if (dumping) DumpTraceHeader(host, index + 1, LogAlways);
  return true;
}
}  // namespace

bool SuHeaderIsBigEndian(const uint8_t* firstHeader) {
  return LoadLE<int16_t>(firstHeader + TraceHeaderOffset(kTrDt)) < 0;
}

int ScanTraceHeaders(SeismicSection& section, FILE* fp, int64_t fileSize, int64_t position,
                     const SegyFileInfo& info, HeaderScanParams& params) {
  TraceStream stream(fp, fileSize, position, info);
  bool ranged = (params.flags & kScanRecordOffsets) == 0;
  int32_t first = ranged && params.firstTrace > 1 ? params.firstTrace : 1;
  int32_t last = ranged && params.lastTrace >= first ? params.lastTrace : kScanLimit;
  int32_t index = 0;
  if (first > 1 && info.binarySampling) {
    if (!SeekToFirst(stream, info, first)) return 0;
    index = first - 1;
  } else if (first > 1) {
    // Traces of equal length without the binary header's promise: one checked seek.
    index = static_cast<int32_t>(stream.JumpEqualTraces(first - 1, 1));
  }
  while (index < last && index < kScanLimit) {
    int64_t offset = stream.Position();
    if (stream.ReadHeader(index + 1, false) != TraceStream::kOk) break;
    if (index + 1 >= first && !VisitTrace(section, stream, params, index, offset)) break;
    uint32_t ns = 0;
    double dt = 0.0;
    stream.Sampling(&ns, &dt);
    if (ns == 0 || ns > static_cast<uint32_t>(kMaxSamplesPerTrace)) {
      LogPrint(LogError, "\nERROR: BAD number of samples (%d) in trace header #%d\n", static_cast<int>(ns),
               index + 1);
      break;
    }
    int64_t bytes = static_cast<int64_t>(ns) * info.bytesPerSample;
    int64_t left = stream.Remaining();
    errno = 0;
    if ((left >= 0 && bytes > left) || !stream.Skip(bytes)) {
      LogPrint(LogError, "\nERROR: Failed to skip trace data, trace #%d", index + 1);
      break;
    }
    ++index;
  }
  return index;
}

namespace {
int PrepareSegy(SeismicFile& file, uint8_t* bh, SegyFileInfo* info) {
  FILE* fp = file.Stream();
  uint8_t text[kSegyTextBytes];
  int rc = ReadTextualHeader(fp, 0, text);
  if (rc != 0) return rc;
  if (fread(bh, 1, kSegyBinaryBytes, fp) != static_cast<std::size_t>(kSegyBinaryBytes)) {
    LogPrint(LogError, "\nERROR: Failed to read SEG-Y 400-byte Binary File Header");
    LogSystemError(errno, 1);
    return kStatusBadHeader;
  }
  if (PrepareBinaryHeader(bh, 0, BinaryHeaderMode::kRead, info) != 0) return kStatusBadHeader;
  rc = ReadExtendedText(fp, file.SizeAtOpen(), *info, false, nullptr);
  if (rc != 0) return rc;
  ApplyFixedLengthRule(bh, info);
  return 0;
}

int PrepareSu(SeismicFile& file, uint8_t* bh, SegyFileInfo* info) {
  uint8_t first[kSegyTraceHeaderBytes];
  bool big = fread(first, 1, sizeof first, file.Stream()) == sizeof first && SuHeaderIsBigEndian(first);
  if (fseeko(file.Stream(), 0, SEEK_SET) != 0) return kStatusSeekFailed;
  BuildSuBinaryHeader(bh, big, info);
  return 0;
}
}  // namespace

int ReadHeadersOnly(SeismicSection& section, HeaderScanParams& params, int kind) {
  if (kind != 1 && kind != 2) return kHeaderScanUnknownKind;
  auto start = std::chrono::steady_clock::now();
  const char* mode = (params.flags & kScanRecordOffsets) ? "r+bS" : "rbS";
  SeismicFile file = OpenSeismicFile(&section, params.path, mode);
  if (!file) return kStatusOpenFailed;
  uint8_t bh[kSegyBinaryBytes];
  SegyFileInfo info;
  int rc = kind == 1 ? PrepareSegy(file, bh, &info) : PrepareSu(file, bh, &info);
  if (rc != 0) return rc;
  bh[kBfhFileTypePos] = static_cast<uint8_t>(kind == 1 ? kFileSegy : kFileSu);
  std::memcpy(section.m_binaryHeader, bh, kSegyBinaryBytes);
  params.bigEndian = info.bigEndian;
  auto parsed = std::chrono::steady_clock::now();
  LogPrint(LogError, "load headers %.6lfs", std::chrono::duration<double>(parsed - start).count());
  off_t pos = ftello(file.Stream());
  int count = ScanTraceHeaders(section, file.Stream(), file.SizeAtOpen(), pos < 0 ? 0 : pos, info, params);
  auto done = std::chrono::steady_clock::now();
  LogPrint(LogError, "parse traces %.6lfs (%d traces)", std::chrono::duration<double>(done - parsed).count(),
           count);
  if (params.keepOpen) params.file = std::move(file);
  return count;
}
