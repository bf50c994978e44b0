#include "formats/KxfReader.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "formats/SeismicFile.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/ByteOrder.h"
#include "section/SegyBytePositions.h"
#include "section/SeismicSection.h"

namespace {
// Bytes left between the stream position and the size the file had at open;
// -1 when the size is not known (not a regular file).
int64_t BytesLeft(std::FILE* f, int64_t fileSize) {
  if (fileSize < 0) return -1;
  int64_t pos = ftello(f);
  if (pos < 0) return -1;
  return fileSize > pos ? fileSize - pos : 0;
}

void LogReadError(const char* what, int number, int code) {
  LogPrint(LogError, "\nERROR: Failed to read Trace %s, trace #%d", what, number);
  LogSystemError(code, 0);
}

// Reads and checks the header of trace number (1-based in the file); slots
// receives its sample slots. false at the end of the data or after a failure
// (logged; the end and a cut-short last trace are quiet).
bool ReadRecordHeader(std::FILE* f, int64_t fileSize, int number, uint8_t* head, int32_t* slots) {
  errno = 0;
  std::size_t got = std::fread(head, 1, kTraceHeaderBytes, f);
  if (got != kTraceHeaderBytes) {
    if (!std::feof(f)) LogReadError("Header", number, errno);
    return false;
  }
  const int32_t dim = LoadLE<int32_t>(head + offsetof(TraceRecord, DIM));
  const int32_t ns = LoadLE<int32_t>(head + offsetof(TraceRecord, NS));
  const int32_t n = dim < 2 ? 2 : dim;
  // A record whose sample count exceeds its slots would let every later user of
  // the trace read past its allocation.
  if (ns < 0 || ns > n) {
    LogPrint(LogError, "\nERROR: Invalid trace record, trace #%d (dim=%d ns=%d)", number, dim, ns);
    return false;
  }
  double dt = 0.0, delay = 0.0;
  std::memcpy(&dt, head + offsetof(TraceRecord, DT), sizeof dt);
  std::memcpy(&delay, head + offsetof(TraceRecord, DELAY), sizeof delay);
  // Every time axis, spectrum and resampling divides by the interval.
  if (!(std::isfinite(dt) && dt > 0.0) || !std::isfinite(delay)) {
    LogPrint(LogError, "\nERROR: Invalid trace record, trace #%d (interval=%g s, delay=%g s)", number, dt,
             delay);
    return false;
  }
  const int64_t left = BytesLeft(f, fileSize);
  if (left >= 0 && static_cast<uint64_t>(left) < static_cast<uint64_t>(n) * sizeof(float))
    return false;  // cut-short last trace
  *slots = n;
  return true;
}

// Reads trace number (1-based in the file). Returns the record, or null at the
// end of the data or after a failure (logged).
TraceRecord* ReadOneTrace(std::FILE* f, int64_t fileSize, int number) {
  uint8_t head[kTraceHeaderBytes];
  int32_t n = 0;
  if (!ReadRecordHeader(f, fileSize, number, head, &n)) return nullptr;
  const uint64_t sampleBytes = static_cast<uint64_t>(n) * sizeof(float);
  auto* rec = static_cast<TraceRecord*>(std::calloc(1, kTraceHeaderBytes + sampleBytes));
  if (!rec) {
    LogPrint(LogError, "\nERROR: malloc failure for trace header+data[%d]\n", n);
    return nullptr;
  }
  LogPrint(LogError, "TH.dim=%d  TH.ns=%d  alloc=%d", LoadLE<int32_t>(head + offsetof(TraceRecord, DIM)),
           LoadLE<int32_t>(head + offsetof(TraceRecord, NS)), n);
  std::memcpy(static_cast<void*>(rec), head, kTraceHeaderBytes);
  rec->DIM = n;
  errno = 0;
  if (std::fread(rec->Samples(), sizeof(float), static_cast<std::size_t>(n), f) !=
      static_cast<std::size_t>(n)) {
    if (!std::feof(f)) LogReadError("Data", number, errno);
    TraceRecord::Free(rec);
    return nullptr;
  }
  return rec;
}

// Passes over trace number without reading its samples; false as ReadOneTrace.
bool SkipOneTrace(std::FILE* f, int64_t fileSize, int number) {
  uint8_t head[kTraceHeaderBytes];
  int32_t n = 0;
  if (!ReadRecordHeader(f, fileSize, number, head, &n)) return false;
  return fseeko(f, static_cast<off_t>(n) * static_cast<off_t>(sizeof(float)), SEEK_CUR) == 0;
}

}  // namespace

void SetKxfFileHeaders(SeismicSection& section) {
  section.SetDefaultTextualHeader();
  uint8_t* b = section.m_binaryHeader;
  std::memset(b, 0, kBinaryHeaderBytes);
  StoreWord<int16_t>(b + BinaryHeaderOffset(kBhFormat), 5, !kHostLittleEndian);  // IEEE float samples
  b[BinaryHeaderOffset(kBhRevisionMajor)] = 1;
  b[kBfhByteOrderPos] = kLittleEndian;
  b[kBfhFileTypePos] = kFileKxf;
}

int ReadKxf(SeismicSection& section, const std::string& path, LoadParams& params) {
  LogPrint(LogStep, "\n\nLoading KXF file '%s'\n", path.c_str());
  SeismicFile file = OpenSeismicFile(&section, path, "rbS");
  if (!file) return kStatusOpenFailed;
  if (params.flags & kLoadKeepHeaders) SetKxfFileHeaders(section);
  int appended = 0;
  for (int number = 1;; ++number) {
    const int64_t index = section.Count() + params.skipped;
    if (index > params.keepTo) break;
    if (index < params.keepFrom) {
      if (!SkipOneTrace(file.Stream(), file.SizeAtOpen(), number)) break;
      ++params.skipped;
      continue;
    }
    TraceRecord* rec = ReadOneTrace(file.Stream(), file.SizeAtOpen(), number);
    if (!rec) break;
    // Without stamping: the record keeps the TRF, TRNO, LTAG and AMAX0 it was written with.
    if (section.AppendAsRead(rec) != 0) break;
    ++appended;
  }
  return appended;
}
