// Reading goes one trace at a time: one read for the header, one straight into
// the sample area of the new record (samples of up to 4 bytes), conversion in
// place. A sample count is checked against what is left of the file before
// any memory is taken for it, so a garbage count cannot cost an allocation.
#include "formats/SegyReader.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "formats/HeaderByteMap.h"
#include "formats/SampleConvert.h"
#include "formats/SegyBinaryHeader.h"
#include "formats/SegyDump.h"
#include "formats/SegyLayout.h"
#include "formats/SegyReaderInternal.h"
#include "formats/SeismicFile.h"
#include "formats/TolerantReading.h"
#include "formats/TraceHeaderDecode.h"
#include "formats/TraceHeap.h"
#include "formats/TraceStream.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"

namespace {
constexpr int32_t kNoTraceLimit = 2147483647;

// A record whose header is zeroed and whose sample slots beyond ns are zero;
// the slots below ns are left for the read to fill.
TraceRecord* NewRecord(int32_t ns) {
  std::size_t bytes = TraceRecord::AllocationSize(ns);
  auto* rec = static_cast<TraceRecord*>(std::malloc(bytes));
  if (!rec) return nullptr;
  std::memset(static_cast<void*>(rec), 0, kTraceHeaderBytes);
  rec->DIM = ns < 2 ? 2 : ns;
  rec->NS = ns;
  for (int32_t i = ns; i < rec->DIM; ++i) rec->Samples()[i] = 0.0f;
  return rec;
}

// A header's interval for a message: a garbage one may not fit an int.
int MessageInt(double v) {
  if (!(v > -2147483648.0)) return v != v ? 0 : -2147483647 - 1;
  return v < 2147483647.0 ? static_cast<int>(v) : 2147483647;
}

class TraceReader {
 public:
  TraceReader(SeismicSection& section, TraceStream& stream, const TraceDecodeContext& ctx, LoadParams& params)
      : m_section(section), m_stream(stream), m_ctx(ctx), m_params(params) {}
  ~TraceReader() { std::free(m_aux); }

  int ReadAll();

 private:
  void Sampling(uint32_t* ns, double* dt, int traceNumber);
  bool CheckSampling(uint32_t ns, double dt, int traceNumber) const;
  bool ReadSamples(TraceRecord* rec, int traceNumber, double dt);
  bool EnsureAux(std::size_t bytes);
  int64_t LoadIndex() const { return m_section.Count() + m_params.skipped; }
  bool SkipTraces(int64_t want, int32_t* traceNumber);

  SeismicSection& m_section;
  TraceStream& m_stream;
  TraceDecodeContext m_ctx;
  LoadParams& m_params;
  void* m_aux = nullptr;
  std::size_t m_auxBytes = 0;
  double m_assumedUs = 0.0;  // tolerant reading: the interval of traces without one, once chosen
};

// The stream's sample count and interval; tolerant reading gives a trace without a usable interval
// the assumed one, saying so at the first such trace of the file.
void TraceReader::Sampling(uint32_t* ns, double* dt, int traceNumber) {
  m_stream.Sampling(ns, dt);
  if (*dt > 0.0 || !m_params.tolerant) return;
  if (m_assumedUs <= 0.0) {
    const char* why = "";
    m_assumedUs = TolerantIntervalUs(m_params.tolerantIntervalUs, m_stream.Info().intervalUs, &why);
    LogPrint(LogWarning,
             "WARNING: tolerant reading: trace #%d has no usable sampling interval (%.3lf us); assuming "
             "%.3lf us (%s) for it and every later trace without one",
             traceNumber, *dt, m_assumedUs, why);
  }
  *dt = m_assumedUs;
}

bool TraceReader::CheckSampling(uint32_t ns, double dt, int traceNumber) const {
  if (ns == 0) {
    LogPrint(LogError, "\nERROR: BAD number of samples (%u) in trace header #%d\n", ns, traceNumber);
    return false;
  }
  if (!(dt > 0.0)) {
    LogPrint(LogError, "\nERROR: BAD sampling interval (%.3lf us) in trace header #%d\n", dt, traceNumber);
    return false;
  }
  if (ns > static_cast<uint32_t>(kMaxSamplesPerTrace)) {
    LogPrint(LogError, "\nERROR: TOO MANY samples per trace (%u), internal limit is %d\n", ns,
             kMaxSamplesPerTrace);
    return false;
  }
  return true;
}

bool TraceReader::EnsureAux(std::size_t bytes) {
  if (bytes <= m_auxBytes) return true;
  LogPrint(LogStep, "\nbps=%d, allocating aux trace data buffer %.3lfMiB\n", m_stream.Info().bytesPerSample,
           static_cast<double>(bytes) / 1048576.0);
  void* grown = std::realloc(m_aux, bytes);
  if (!grown) {
    LogPrint(LogError, "\nERROR: malloc failure for %.1lfMiB trace data buffer\n",
             static_cast<double>(bytes) / 1048576.0);
    return false;
  }
  m_aux = grown;
  m_auxBytes = bytes;
  return true;
}

bool TraceReader::ReadSamples(TraceRecord* rec, int traceNumber, double dt) {
  const SegyFileInfo& info = m_stream.Info();
  std::size_t bytes = static_cast<std::size_t>(rec->NS) * static_cast<std::size_t>(info.bytesPerSample);
  errno = 0;
  bool ok;
  if (info.bytesPerSample <= 4) {
    ok = m_stream.Read(rec->Samples(), bytes);
    if (ok) ConvertSamplesInPlace(rec->Samples(), rec->NS, info.formatCode, info.bigEndian);
  } else {
    ok = m_stream.Read(m_aux, bytes);
    if (ok) ConvertDoubles(m_aux, rec->Samples(), rec->NS, info.bigEndian);
  }
  if (!ok) {
    LogPrint(LogError, "\nERROR: Failed to read trace data, trace #%d, %dsmp @ %dus", traceNumber, rec->NS,
             static_cast<int>(dt));
    LogSystemError(errno, 0);
  }
  return ok;
}

// Passes over want traces (fewer at the end of the file) without reading
// their samples. false after an error (logged) or at the end of the file.
bool TraceReader::SkipTraces(int64_t want, int32_t* traceNumber) {
  if (int64_t n = m_stream.JumpEqualTraces(want, *traceNumber); n > 0) {
    m_params.skipped += n;
    *traceNumber += static_cast<int32_t>(n);
    return m_stream.Remaining() != 0;
  }
  const SegyFileInfo& info = m_stream.Info();
  for (int64_t i = 0; i < want; ++i) {
    if (m_stream.ReadHeader(*traceNumber) != TraceStream::kOk) return false;
    uint32_t ns = 0;
    double dt = 0.0;
    Sampling(&ns, &dt, *traceNumber);
    if (!CheckSampling(ns, dt, *traceNumber)) return false;
    int64_t need = static_cast<int64_t>(ns) * info.bytesPerSample;
    int64_t left = m_stream.Remaining();
    errno = 0;
    if ((left >= 0 && need > left) || !m_stream.Skip(need)) {
      LogPrint(LogError, "\nERROR: Failed to read trace data, trace #%d, %dsmp @ %dus", *traceNumber,
               static_cast<int>(ns), MessageInt(dt));
      return false;
    }
    ++m_params.skipped;
    ++*traceNumber;
  }
  return true;
}

int TraceReader::ReadAll() {
  const SegyFileInfo& info = m_stream.Info();
  int32_t limit = kNoTraceLimit;
  if (info.revision == 2 && info.trailerCount != 0 && info.traceCount > 0 &&
      info.traceCount < kNoTraceLimit) {
    limit = static_cast<int32_t>(info.traceCount);
  }
  int32_t count = 0;
  int32_t traceNumber = 1;
  while (traceNumber <= limit) {
    if (LoadIndex() > m_params.keepTo) break;
    if (LoadIndex() < m_params.keepFrom) {
      int64_t want = std::min<int64_t>(m_params.keepFrom - LoadIndex(), limit - traceNumber + 1);
      if (!SkipTraces(want, &traceNumber)) break;
      continue;
    }
    if (m_stream.ReadHeader(traceNumber) != TraceStream::kOk) break;
    uint32_t ns = 0;
    double dt = 0.0;
    Sampling(&ns, &dt, traceNumber);
    if (!CheckSampling(ns, dt, traceNumber)) break;
    int64_t need = static_cast<int64_t>(ns) * info.bytesPerSample;
    int64_t left = m_stream.Remaining();
    if (left >= 0 && need > left) {
      // The samples cannot be there: say so without reserving memory for them.
      LogPrint(LogError, "\nERROR: Failed to read trace data, trace #%d, %dsmp @ %dus", traceNumber,
               static_cast<int>(ns), MessageInt(dt));
      break;
    }
    if (info.bytesPerSample > 4 && !EnsureAux(static_cast<std::size_t>(need))) break;
    TraceRecord* rec = NewRecord(static_cast<int32_t>(ns));
    if (m_params.heap) m_params.heap->AfterAllocation();
    if (!rec) {
      LogPrint(LogError, "\n\nERROR: malloc failure for trace header+data[%u]\n", ns);
      break;
    }
    if (!ReadSamples(rec, traceNumber, dt)) {
      TraceRecord::Free(rec);
      break;
    }
    DecodeTraceHeader(m_stream.Header(), m_stream.Extension(), m_ctx, rec);
    rec->DT = dt * 1e-6;
    int32_t peakIndex = 0;
    SamplePeak(rec->Samples(), rec->NS, &rec->AMAX, &peakIndex);
    rec->TAMAX = static_cast<float>(peakIndex * rec->DT + rec->DELAY);
    if (m_section.AppendTrace(rec, m_params.fileCount, m_params.loadTag) != 0) break;
    ++count;
    ++traceNumber;
    ReportReadBytes(m_params, m_stream.Position());
  }
  return count;
}

TraceDecodeContext ContextFromBinaryHeader(const uint8_t* bh, const SegyFileInfo& info) {
  TraceDecodeContext ctx;
  ctx.bigEndian = info.bigEndian;
  ctx.lineNumber = BinaryWord<int32_t>(bh, kBhLineNumber);
  ctx.bgr = static_cast<uint8_t>(BinaryWord<int16_t>(bh, kBhGainRecovered) & 0xFF);
  ctx.arm = static_cast<uint8_t>(BinaryWord<int16_t>(bh, kBhAmplitudeRecovery) & 0xFF);
  ctx.msys = static_cast<uint8_t>(BinaryWord<int16_t>(bh, kBhMeasurementSystem) & 0xFF);
  return ctx;
}

}  // namespace

int ReadTextualHeader(FILE* fp, int32_t flags, uint8_t* text) {
  if (flags == 0) {
    if (fseeko(fp, kSegyTextBytes, SEEK_SET) != 0) return kStatusSeekFailed;
    return 0;
  }
  errno = 0;
  if (fread_unlocked(text, 1, kSegyTextBytes, fp) != static_cast<std::size_t>(kSegyTextBytes)) {
    LogPrint(LogError, "\nERROR: Failed to read SEG-Y 3200-byte Textual File Header");
    LogSystemError(errno, 1);
    return kStatusReadFailed;
  }
  if (TextIsEbcdic(text, kSegyTextBytes)) {
    EbcdicToAscii(text, kSegyTextBytes);
    if (!(flags & kDumpTextualHeader)) ReplaceEndEbcdic(text, kSegyTextBytes);
  }
  if (flags & kDumpTextualHeader) DumpTextualHeader(reinterpret_cast<const char*>(text), LogAlways);
  return 0;
}

namespace {
// Finds the number of blocks of a variable-length set of extended headers.
int CountVariableBlocks(FILE* fp, const SegyFileInfo& info, int* blocks) {
  uint8_t block[kSegyTextBytes];
  int n = 0;
  for (;;) {
    int64_t end = kSegyFirstTraceDefault + static_cast<int64_t>(n + 1) * kSegyTextBytes;
    if (info.firstTraceOffset > 0 && end > info.firstTraceOffset) break;
    if (fread_unlocked(block, 1, kSegyTextBytes, fp) != static_cast<std::size_t>(kSegyTextBytes)) {
      LogPrint(LogError, "\nERROR: Cannot find '((SEG: EndText))' after %d ETFH blocks read\n", n);
      return kStatusBadHeader;
    }
    ++n;
    if (IsEndTextStanza(block)) break;
  }
  if (fseeko(fp, kSegyFirstTraceDefault, SEEK_SET) != 0) return kStatusSeekFailed;
  *blocks = n;
  return 0;
}

}  // namespace

int ReadExtendedText(FILE* fp, int64_t fileSize, const SegyFileInfo& info, bool keep,
                     std::vector<uint8_t>* ext) {
  // Revision 0 headers have the count cleared; tolerant reading may have set one (TolerantRev0ExtText).
  int blocks = info.extTextCount;
  if (blocks == -1) {
    int rc = CountVariableBlocks(fp, info, &blocks);
    if (rc != 0) return rc;
  }
  if (blocks > 0) {
    std::size_t bytes = static_cast<std::size_t>(blocks) * kSegyTextBytes;
    if (keep) {
      bool fits = fileSize < 0 || static_cast<int64_t>(bytes) <= fileSize - kSegyFirstTraceDefault;
      if (!fits) {
        LogPrint(LogError, "\nERROR: Failed to read %d 3200-byte ETFH blocks", blocks);
        return kStatusReadFailed;
      }
      ext->resize(bytes);
      if (fread_unlocked(ext->data(), 1, bytes, fp) != bytes) {
        LogPrint(LogError, "\nERROR: Failed to read %d 3200-byte ETFH blocks", blocks);
        LogSystemError(errno, 0);
        return kStatusReadFailed;
      }
      LogPrint(LogStep, "loaded %d-block Extended File Header", blocks);
    } else if (fseeko(fp, static_cast<off_t>(bytes), SEEK_CUR) != 0) {
      LogPrint(LogError, "\nERROR: Failed to skip %d 3200-byte ETFH blocks", blocks);
      return kStatusSeekFailed;
    }
  }
  if (info.revision == 2 && info.firstTraceOffset != 0 && fseeko(fp, info.firstTraceOffset, SEEK_SET) != 0) {
    LogPrint(LogError, "\nERROR: Failed to seek to 1st trace at file offset=%" PRId64, info.firstTraceOffset);
    return kStatusSeekFailed;
  }
  return 0;
}

namespace {
// text null keeps the section's textual header as it is.
void KeepHeaders(SeismicSection& section, const uint8_t* text, const uint8_t* bh, std::vector<uint8_t>& ext,
                 int fileType) {
  if (text) std::memcpy(section.m_textualHeader, text, kSegyTextBytes);
  std::memcpy(section.m_binaryHeader, bh, kSegyBinaryBytes);
  section.m_binaryHeader[kBfhFileTypePos] = static_cast<uint8_t>(fileType);
  std::free(section.m_extTextHeader);
  section.m_extTextHeader = nullptr;
  section.m_extTextCount = 0;
  if (!ext.empty()) {
    auto* blocks = static_cast<uint8_t*>(std::malloc(ext.size()));
    if (!blocks) {
      LogPrint(LogError, "\nERROR: malloc failure for %.3lf MiB ETFH (%d blocks)\n",
               static_cast<double>(ext.size()) / 1048576.0, static_cast<int>(ext.size() / kSegyTextBytes));
      return;
    }
    std::memcpy(blocks, ext.data(), ext.size());
    section.m_extTextHeader = blocks;
    section.m_extTextCount = static_cast<int32_t>(ext.size() / kSegyTextBytes);
  }
}

int64_t StreamPosition(FILE* fp) {
  off_t p = ftello(fp);
  return p < 0 ? 0 : static_cast<int64_t>(p);
}

int ReadTracesFromStream(SeismicSection& section, TraceStream& stream, const uint8_t* bh,
                         LoadParams& params) {
  const HeaderByteMap* map =
      params.headerMap && !params.headerMap->Empty() ? params.headerMap.get() : nullptr;
  if (map) {
    stream.SetHeaderMap(map);
    section.m_headerMapping = map->Text();
  }
  TraceReader reader(section, stream, ContextFromBinaryHeader(bh, stream.Info()), params);
  int count = reader.ReadAll();
  if (stream.UnfitMappedValues() > 0)
    LogPrint(
        LogWarning,
        "WARNING: header mapping: values beyond their word's range: %lld (each kept at the nearest the word "
        "holds)",
        static_cast<long long>(stream.UnfitMappedValues()));
  return count;
}

bool SuIsBigEndian(const uint8_t* firstHeader, bool haveHeader) {
  return haveHeader && LoadLE<int16_t>(firstHeader + TraceHeaderOffset(kTrDt)) < 0;
}
}  // namespace

int ReadSegyFile(SeismicSection& section, const std::string& path, LoadParams& params) {
  SeismicFile file = OpenSeismicFile(&section, path, "rbS");
  if (!file) return kStatusOpenFailed;
  FILE* fp = file.Stream();
  uint8_t text[kSegyTextBytes] = {};
  int rc = ReadTextualHeader(fp, params.flags, text);
  if (rc != 0) return rc;
  uint8_t bh[kSegyBinaryBytes];
  errno = 0;
  if (fread_unlocked(bh, 1, kSegyBinaryBytes, fp) != static_cast<std::size_t>(kSegyBinaryBytes)) {
    LogPrint(LogError, "\nERROR: Failed to read SEG-Y 400-byte Binary File Header");
    LogSystemError(errno, 1);
    return kStatusReadFailed;
  }
  uint8_t raw[kSegyBinaryBytes];
  std::memcpy(raw, bh, sizeof raw);
  SegyFileInfo info;
  rc = PrepareBinaryHeader(
      bh, params.flags, params.tolerant ? BinaryHeaderMode::kReadTolerant : BinaryHeaderMode::kRead, &info);
  if (rc != 0) return rc;
  uint8_t checked[kSegyBinaryBytes];
  std::string repaired;
  if (info.rev2Implausible) {
    std::memcpy(checked, bh, sizeof checked);
    RepairRev2Fields(bh, &info, &repaired);
  }
  if (params.tolerant && info.revision == 0)
    info.extTextCount = TolerantRev0ExtText(fileno(fp), file.SizeAtOpen(), raw, info);
  bool keep = (params.flags & kLoadKeepHeaders) != 0;
  std::vector<uint8_t> ext;
  rc = ReadExtendedText(fp, file.SizeAtOpen(), info, keep, &ext);
  if (rc != 0) return rc;
  if (info.rev2Implausible &&
      !TolerantRev2Layout(fileno(fp), file.SizeAtOpen(), StreamPosition(fp), bh, &info, repaired))
    return RefuseRev2Header(checked);
  ApplyFixedLengthRule(bh, &info);
  TraceStream stream(fp, file.SizeAtOpen(), StreamPosition(fp), info);
  int count = ReadTracesFromStream(section, stream, bh, params);
  file.Close();
  if (keep && count > 0) KeepHeaders(section, text, bh, ext, kFileSegy);
  return count;
}

int ReadSuFile(SeismicSection& section, const std::string& path, LoadParams& params) {
  SeismicFile file = OpenSeismicFile(&section, path, "rbS");
  if (!file) return kStatusOpenFailed;
  FILE* fp = file.Stream();
  uint8_t first[kSegyTraceHeaderBytes];
  bool have = fread_unlocked(first, 1, sizeof first, fp) == sizeof first;
  bool big = SuIsBigEndian(first, have);
  if (params.tolerant && have) big = TolerantSuByteOrder(fileno(fp), file.SizeAtOpen(), big);
  if (fseeko(fp, 0, SEEK_SET) != 0) return kStatusSeekFailed;
  uint8_t bh[kSegyBinaryBytes];
  SegyFileInfo info;
  BuildSuBinaryHeader(bh, big, &info);
  TraceStream stream(fp, file.SizeAtOpen(), 0, info);
  int count = ReadTracesFromStream(section, stream, bh, params);
  file.Close();
  if ((params.flags & kLoadKeepHeaders) && count > 0) {
    const TraceRecord* t = section.Trace(section.Count() - count);
    double us = t->DT * 1e6;
    SetBinaryWord<uint16_t>(bh, kBhSamples, static_cast<uint16_t>(t->NS));
    SetBinaryWord<int32_t>(bh, kBhSamples32, t->NS);
    SetBinaryWord<double>(bh, kBhInterval64, us);
    SetBinaryWord<int16_t>(bh, kBhInterval, static_cast<int16_t>(us + 0.499));
    section.SetDefaultTextualHeader();
    std::vector<uint8_t> none;
    KeepHeaders(section, nullptr, bh, none, kFileSu);
  }
  return count;
}
