#include "formats/Seg2Reader.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "formats/SampleConvert.h"
#include "formats/Seg2Strings.h"
#include "formats/SeismicFile.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"

namespace {
constexpr std::size_t kStringsBufferBytes = 65536;
constexpr uint32_t kMaxSeg2Samples = 2147483616u;

struct FileBlock {
  uint8_t id[2] = {};
  bool big = false;
  int16_t revision = 0;
  uint16_t pointerBytes = 0;  // M
  uint16_t count = 0;         // N
  uint8_t stringTermSize = 0;
  uint8_t stringTerm[2] = {};
  uint8_t lineTermSize = 0;
  uint8_t lineTerm[2] = {};
};

// False when the identifier is not 0x3A55 in either byte order.
bool DecodeFileBlock(const uint8_t* b, FileBlock* fb) {
  fb->id[0] = b[0], fb->id[1] = b[1];
  if (b[0] == 0x55 && b[1] == 0x3A) {
    fb->big = false;
  } else if (b[0] == 0x3A && b[1] == 0x55) {
    fb->big = true;
  } else {
    return false;
  }
  fb->revision = LoadWord<int16_t>(b + 2, fb->big);
  fb->pointerBytes = LoadWord<uint16_t>(b + 4, fb->big);
  fb->count = LoadWord<uint16_t>(b + 6, fb->big);
  fb->stringTermSize = b[8];
  fb->stringTerm[0] = b[9], fb->stringTerm[1] = b[10];
  fb->lineTermSize = b[11];
  fb->lineTerm[0] = b[12], fb->lineTerm[1] = b[13];
  return true;
}

struct TraceBlock {
  uint16_t id = 0;
  uint16_t blockBytes = 0;  // X: 32 plus the strings
  uint32_t dataBytes = 0;
  uint32_t samples = 0;
  uint8_t format = 0;
};

TraceBlock DecodeTraceBlock(const uint8_t* b, bool big) {
  TraceBlock t;
  t.id = LoadWord<uint16_t>(b, big);
  t.blockBytes = LoadWord<uint16_t>(b + 2, big);
  t.dataBytes = LoadWord<uint32_t>(b + 4, big);
  t.samples = LoadWord<uint32_t>(b + 8, big);
  t.format = b[12];
  return t;
}

int BytesPerSample(uint8_t format) {
  switch (format) {
    case 1:
      return 2;
    case 2:
    case 4:
      return 4;
    case 5:
      return 8;
    default:
      return 0;
  }
}

// Everything one read of a file shares.
struct Seg2File {
  SeismicFile file;
  FileBlock fb;
  std::vector<uint32_t> pointers;
  std::vector<uint8_t> strings;
  std::size_t fileStringsBytes = 0;
  Seg2FileInfo info;
  char terminator() const { return fb.stringTermSize > 0 ? static_cast<char>(fb.stringTerm[0]) : '\0'; }
};

bool SeekTo(std::FILE* fp, int64_t pos) {
  return fseeko(fp, static_cast<off_t>(pos), SEEK_SET) == 0;
}
bool ReadExact(std::FILE* fp, void* buf, std::size_t n) {
  return std::fread(buf, 1, n, fp) == n;
}

// File Descriptor Block, trace pointers and strings-section bounds. dump selects
// the dump's wording of the messages. Returns 0 or a negative code.
int ReadFileStart(Seg2File& f, bool dump) {
  std::FILE* fp = f.file.Stream();
  uint8_t b[kSeg2FileBlockBytes];
  errno = 0;
  if (!ReadExact(fp, b, sizeof b)) {
    LogPrint(LogError, dump ? "\nERROR: Failed to read 32-byte File Descriptor Block"
                            : "\nERROR: Failed to read 32-byte binary File Descriptor Block");
    LogSystemError(errno, 0);
    return kStatusReadFailed;
  }
  if (!DecodeFileBlock(b, &f.fb)) {
    if (dump)
      LogPrint(LogError, "\nERROR: SEG-2 file signature 0x3A55 NOT FOUND, found instead %02X,%02X\n", b[0],
               b[1]);
    else
      LogPrint(LogError, "\nERROR: SEG-2 file signature 0x%04X NOT FOUND, found instead 0x%02X,0x%02X\n",
               kSeg2FileId, b[0], b[1]);
    return kStatusBadHeader;
  }
  uint32_t n = f.fb.count, m = f.fb.pointerBytes;
  if (n == 0 || m < 4 * n) {
    LogPrint(LogError, "\nERROR: #traces (%u) inconsistent with Trace Pointer subblock size (%hu bytes)\n", n,
             f.fb.pointerBytes);
    return kStatusBadHeader;
  }
  std::vector<uint8_t> raw(4 * static_cast<std::size_t>(n));
  if (!ReadExact(fp, raw.data(), raw.size())) {
    LogPrint(LogError, "\nERROR: Failed to read %u-byte Trace Pointer subblock", 4 * n);
    LogSystemError(errno, 0);
    return kStatusReadFailed;
  }
  f.pointers.resize(n);
  for (uint32_t i = 0; i < n; ++i) f.pointers[i] = LoadWord<uint32_t>(raw.data() + 4 * i, f.fb.big);
  uint32_t start = m + kSeg2FileBlockBytes;
  if (f.pointers[0] < start) {
    LogPrint(LogError, "\nERROR: INVALID 1st trace offset (%u)\n", f.pointers[0]);
    return kStatusBadHeader;
  }
  f.fileStringsBytes = f.pointers[0] - start;
  if (f.fileStringsBytes >= kStringsBufferBytes) {
    LogPrint(LogError, "\nERROR: TOO BIG strings section (%zu bytes) in File Descriptor Block\n",
             f.fileStringsBytes);
    return kStatusBadHeader;
  }
  return 0;
}

// Reads the File Descriptor Block strings into f.strings; 0 or a negative code.
int ReadFileStrings(Seg2File& f) {
  if (f.fileStringsBytes <= 7) {
    f.fileStringsBytes = 0;
    return 0;
  }
  std::FILE* fp = f.file.Stream();
  int64_t start = static_cast<int64_t>(f.fb.pointerBytes) + kSeg2FileBlockBytes;
  errno = 0;
  if (!SeekTo(fp, start)) {
    LogPrint(LogError, "\nERROR: Failed to seek to File Descriptor Block strings section at offset %lld",
             static_cast<long long>(start));
    LogSystemError(errno, 0);
    return kStatusSeekFailed;
  }
  if (!ReadExact(fp, f.strings.data(), f.fileStringsBytes)) {
    LogPrint(LogError, "\nERROR: Failed to read %zu-byte File Descriptor Block strings section",
             f.fileStringsBytes);
    LogSystemError(errno, 0);
    return kStatusReadFailed;
  }
  return 0;
}

// The file headers built from this file, applied to the section only once a
// trace was read, so a file that yields nothing leaves the section as it was.
struct BuiltHeaders {
  char text[kTextualHeaderBytes];
  uint8_t binary[kBinaryHeaderBytes];
};

void PutText(char* text, int line, int column, std::string_view s, std::size_t max) {
  char* p = text + line * 80 + column - 1;
  std::size_t n = std::min({s.size(), max, static_cast<std::size_t>(80 - column + 1)});
  for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<unsigned char>(s[i]) < ' ' ? ' ' : s[i];
}

void StartHeaders(SeismicSection& section, const Seg2File& f, BuiltHeaders* h) {
  char saved[kTextualHeaderBytes];
  std::memcpy(saved, section.m_textualHeader, sizeof saved);
  section.SetDefaultTextualHeader();
  std::memcpy(h->text, section.m_textualHeader, sizeof saved);
  std::memcpy(section.m_textualHeader, saved, sizeof saved);
  static const char* const kNames[13] = {"ACQUISITION_DATE",
                                         "ACQUISITION_TIME",
                                         "CLIENT",
                                         "COMPANY",
                                         "GENERAL_CONSTANT",
                                         "INSTRUMENT",
                                         "JOB_ID",
                                         "OBSERVER",
                                         "PROCESSING_DATE",
                                         "PROCESSING_TIME",
                                         "TRACE_SORT",
                                         "UNITS",
                                         "NOTE"};
  PutText(h->text, 1, 5, "SEG-Y file generated from SEG-2 file(s)", 75);
  for (int i = 0; i < 13; ++i) PutText(h->text, 3 + i, 5, kNames[i], 20);
  std::memset(h->binary, 0, sizeof h->binary);
  h->binary[300] = static_cast<uint8_t>(f.fb.revision & 0xFF);
  h->binary[kBfhByteOrderPos] = f.fb.big ? kBigEndian : kLittleEndian;
  h->binary[kBfhFileTypePos] = kFileSeg2;
}

void ParseFileStrings(Seg2File& f, BuiltHeaders* h) {
  ForEachSeg2String(f.strings.data(), f.fileStringsBytes, f.fb.big, f.terminator(), [&](const Seg2String& s) {
    int line = ApplySeg2FileString(s, &f.info);
    if (h && line >= 0) PutText(h->text, line, 26, s.value, 55);
  });
}

template <typename T>
void PutBinary(uint8_t* bh, int pos, T v) {
  std::memcpy(bh + pos, &v, sizeof v);
}

void FillBinaryHeader(const Seg2File& f, const TraceRecord& r, uint8_t format, uint8_t* bh) {
  static const int16_t kFormatCodes[6] = {0, 3, 2, 0, 5, 6};
  PutBinary<int32_t>(bh, 0, f.info.jobId);
  PutBinary<int32_t>(bh, 4, r.ILINE);
  PutBinary<int16_t>(bh, 16, static_cast<int16_t>(std::min(std::trunc(r.DT * 1e6 + 0.499), 32767.0)));
  PutBinary<uint16_t>(bh, 20, static_cast<uint16_t>(std::min(r.NS, 65535)));
  PutBinary<int16_t>(bh, 24, format < 6 ? kFormatCodes[format] : 0);
  PutBinary<int16_t>(bh, 28, static_cast<int16_t>(f.info.traceSort));
  PutBinary<int16_t>(bh, 54, static_cast<int16_t>(f.info.units));
  PutBinary<int32_t>(bh, 68, r.NS);
  PutBinary<double>(bh, 72, r.DT * 1e6);
}

struct TraceContext {
  SeismicSection& section;
  Seg2File& f;
  LoadParams& params;
  std::vector<double> aux;  // 64-bit samples
  int badValues = 0;
};

// Reads the samples into the record and converts them; false after a read failure.
bool ReadSamples(TraceContext& c, TraceRecord* r, uint8_t format) {
  std::FILE* fp = c.f.file.Stream();
  std::size_t n = static_cast<std::size_t>(r->NS);
  if (format == 5) {
    if (c.aux.size() < n) {
      c.aux.resize(n);
      LogPrint(LogInfo, "\nbps=%u, allocated trace data aux buffer %.3lfMiB\n", 8u, n * 8.0 / 1048576.0);
    }
    if (!ReadExact(fp, c.aux.data(), n * 8)) return false;
    ConvertDoubles(c.aux.data(), r->Samples(), r->NS, c.f.fb.big);
  } else {
    if (!ReadExact(fp, r->Samples(), n * static_cast<std::size_t>(BytesPerSample(format)))) return false;
    ConvertSamplesInPlace(r->Samples(), r->NS, format == 1 ? 3 : (format == 2 ? 2 : 5), c.f.fb.big);
  }
  r->UpdatePeak();
  return true;
}

// Header checks of one trace before anything is allocated; 0 or a negative code.
int CheckTraceBlock(const TraceBlock& t, int index) {
  if (t.id != kSeg2TraceId && t.id != 0x2244) {
    LogPrint(LogError, "\nERROR: BAD Trace Descriptor Block signature, trace %d", index + 1);
    LogPrint(LogError, "       found 0x%04X instead of 0x%04X\n", t.id, kSeg2TraceId);
    return kStatusBadHeader;
  }
  if (t.format == 3) {
    LogPrint(LogError, "\nERROR: UNSUPPORTED SEG-D 20-bit Fixed Point (code 3), trace %d\n", index + 1);
    return kStatusBadHeader;
  }
  int bps = BytesPerSample(t.format);
  if (bps == 0) {
    LogPrint(LogError, "\nERROR: INVALID Data Format code %u, trace %d\n", t.format, index + 1);
    return kStatusBadHeader;
  }
  if (t.samples > kMaxSeg2Samples) {
    LogPrint(LogError, "\nERROR: TOO MANY samples per trace (%u), internal limit at %d\n", t.samples,
             static_cast<int>(kMaxSeg2Samples));
    return kStatusBadHeader;
  }
  uint64_t need = static_cast<uint64_t>(t.samples) * static_cast<uint64_t>(bps);
  if (t.samples == 0 || t.dataBytes < need) {
    LogPrint(LogError, "\nERROR: inconsistent number of samples (%u), trace %d\n", t.samples, index + 1);
    return kStatusBadHeader;
  }
  if (t.blockBytes < kSeg2TraceBlockBytes) {
    LogPrint(LogError, "\nERROR: INVALID size (%u bytes) for Trace Descriptor Block strings, trace %d\n",
             t.blockBytes, index + 1);
    return kStatusBadHeader;
  }
  if (t.blockBytes - kSeg2TraceBlockBytes <= 7) {
    LogPrint(LogError, "\nERROR: EMPTY Trace Descriptor Block strings section (len=%u)\n",
             t.blockBytes - kSeg2TraceBlockBytes);
    return kStatusBadHeader;
  }
  return 0;
}

// Fields of the record that come from the file rather than the trace strings.
void CompleteRecord(TraceContext& c, TraceRecord* r) {
  const Seg2FileInfo& info = c.f.info;
  r->CUNIT = 1;
  r->MSYS = r->MSYS0 = static_cast<uint8_t>(info.units);
  if (r->YEAR == 0 || r->DAY == 0) {
    r->YEAR = static_cast<int16_t>(info.date.year), r->DAY = static_cast<int16_t>(info.date.dayOfYear);
    r->MONTH = static_cast<uint8_t>(info.date.month), r->MDAY = static_cast<uint8_t>(info.date.day);
  }
  if (r->HOUR == 0 && r->MINUTE == 0 && r->SEC == 0 && r->NANO == 0) {
    r->HOUR = static_cast<uint8_t>(info.time.hour), r->MINUTE = static_cast<uint8_t>(info.time.minute);
    r->SEC = static_cast<uint8_t>(info.time.second), r->NANO = info.time.nano;
  }
}

void Descale(TraceContext& c, TraceRecord* r) {
  if ((c.params.flags & kLoadSeg2Descale) && r->DESCAL > 0.0) {
    float k = static_cast<float>(r->DESCAL);
    float* s = r->Samples();
    for (int32_t i = 0; i < r->NS; ++i) s[i] *= k;
    r->AMAX *= k;
    r->DESCAL = 1.0;
  }
  r->AMAX0 = r->AMAX;
  r->loadOptions[0] = static_cast<uint8_t>(c.params.flags & 0xFF);
  r->loadOptions[1] = static_cast<uint8_t>((c.params.flags >> 8) & 0xFF);
}

// The record of one trace without samples, from its strings and the file's.
int ParseTraceStrings(TraceContext& c, std::size_t len, int index, TraceRecord* h) {
  std::memset(static_cast<void*>(h), 0, sizeof *h);
  h->DESCAL = 1.0;
  ForEachSeg2TraceString(c.f.strings.data(), len, c.f.fb.big, c.f.terminator(),
                         [&](const Seg2String& s) { c.badValues += ApplySeg2TraceString(s, h); });
  CompleteRecord(c, h);
  if (!(h->DT > 0.0 && h->DT <= 1.0)) {
    LogPrint(LogError, "\nERROR: BAD sampling interval (%.9lf s), trace %d\n", h->DT, index + 1);
    return kStatusBadHeader;
  }
  return 0;
}

// One trace at ptr; 0 when appended, a negative code to stop the load.
int ReadOneTrace(TraceContext& c, int64_t ptr, int index, BuiltHeaders* headers) {
  std::FILE* fp = c.f.file.Stream();
  uint8_t b[kSeg2TraceBlockBytes];
  errno = 0;
  if (!SeekTo(fp, ptr) || !ReadExact(fp, b, sizeof b)) {
    LogPrint(LogError, "\nERROR: Failed to read Trace Descriptor Block, trace %d", index + 1);
    LogSystemError(errno, 0);
    return kStatusReadFailed;
  }
  TraceBlock t = DecodeTraceBlock(b, c.f.fb.big);
  if (int rc = CheckTraceBlock(t, index); rc != 0) return rc;
  std::size_t len = t.blockBytes - kSeg2TraceBlockBytes;
  if (!ReadExact(fp, c.f.strings.data(), len)) {
    LogPrint(LogError, "\nERROR: Failed to read Trace Descriptor Block strings, trace %d", index + 1);
    LogSystemError(errno, 0);
    return kStatusReadFailed;
  }
  TraceRecord h;
  if (int rc = ParseTraceStrings(c, len, index, &h); rc != 0) return rc;
  // The samples must be in the file before room is made for them.
  uint64_t need = static_cast<uint64_t>(t.samples) * static_cast<uint64_t>(BytesPerSample(t.format));
  int64_t size = c.f.file.SizeAtOpen();
  bool missing = size >= 0 && static_cast<uint64_t>(ptr) + t.blockBytes + need > static_cast<uint64_t>(size);
  TraceRecord* r = missing ? nullptr : TraceRecord::Allocate(static_cast<int32_t>(t.samples));
  if (!missing && !r) {
    LogPrint(LogError, "\nERROR: malloc failure for trace header+data[%d]\n", static_cast<int>(t.samples));
    return kStatusNoMemory;
  }
  int32_t dim = r ? r->DIM : 0;
  if (r) std::memcpy(static_cast<void*>(r), &h, sizeof h);
  if (r) r->DIM = dim, r->NS = static_cast<int32_t>(t.samples);
  if (!r || !ReadSamples(c, r, t.format)) {
    LogPrint(LogError, "\nERROR: Failed to read trace data, trace %d, %dsmp @ %.6lfms", index + 1,
             static_cast<int>(t.samples), h.DT * 1000.0);
    TraceRecord::Free(r);
    return kStatusReadFailed;
  }
  Descale(c, r);
  if (headers) FillBinaryHeader(c.f, *r, t.format, headers->binary);
  return c.section.AppendTrace(r, c.params.fileCount, c.params.loadTag);
}
}  // namespace

int ReadSeg2File(SeismicSection& section, const std::string& path, LoadParams& params) {
  Seg2File f;
  f.file = OpenSeismicFile(&section, path, "rbS");
  if (!f.file) return kStatusOpenFailed;
  f.strings.resize(kStringsBufferBytes);
  if (ReadFileStart(f, false) != 0 || ReadFileStrings(f) != 0) return 0;
  bool build = (params.flags & kLoadKeepHeaders) != 0;
  BuiltHeaders headers;
  if (build) StartHeaders(section, f, &headers);
  ParseFileStrings(f, build ? &headers : nullptr);

  int32_t n = f.fb.count;
  int32_t first = std::max(params.firstTrace, 0);
  int32_t last = params.lastTrace < 0 || params.lastTrace > n ? n : params.lastTrace;
  TraceContext c{section, f, params, {}, 0};
  int appended = 0;
  for (int32_t i = first; i < last; ++i) {
    if (f.pointers[i] == 0) continue;
    bool firstTrace = build && appended == 0;
    if (ReadOneTrace(c, f.pointers[i], i, firstTrace ? &headers : nullptr) != 0) break;
    if (firstTrace) {
      std::memcpy(section.m_textualHeader, headers.text, kTextualHeaderBytes);
      std::memcpy(section.m_binaryHeader, headers.binary, kBinaryHeaderBytes);
    }
    ++appended;
  }
  if (c.badValues > 0)
    LogPrint(LogWarning, "WARNING: %d bad keyword value(s) in SEG-2 file, defaults used", c.badValues);
  return appended;
}

namespace {
const char* const kDash42 = "------------------------------------------";
const char* const kDash62 = "--------------------------------------------------------------";

void DumpFileBlock(const FileBlock& fb) {
  LogPrint(LogAlways, "\n\n%s", kDash42);
  LogPrint(LogAlways, " SEG-2 binary File Descriptor Block");
  LogPrint(LogAlways, "%s", kDash42);
  LogPrint(LogAlways, "                 block ID  01-02 :  %02X,%02X  %s", fb.id[0], fb.id[1],
           fb.big ? "(big endian file)" : "(little endian file)");
  LogPrint(LogAlways, "          revision number  03-04 :  %hd", fb.revision);
  LogPrint(LogAlways, "  trace ptr subblock size  05-06 :  %hu", fb.pointerBytes);
  LogPrint(LogAlways, " number of traces in file  07-08 :  %hu", fb.count);
  LogPrint(LogAlways, "      str terminator size  09-09 :  %u", fb.stringTermSize);
  LogPrint(LogAlways, "  1st str terminator char  10-10 :  0x%02X", fb.stringTerm[0]);
  LogPrint(LogAlways, "  2nd str terminator char  11-11 :  0x%02X", fb.stringTerm[1]);
  LogPrint(LogAlways, "     line terminator size  12-12 :  %u", fb.lineTermSize);
  LogPrint(LogAlways, " 1st line terminator char  13-13 :  0x%02X", fb.lineTerm[0]);
  LogPrint(LogAlways, " 2nd line terminator char  14-14 :  0x%02X", fb.lineTerm[1]);
  LogPrint(LogAlways, "%s\n", kDash42);
}

void DumpFileStrings(const Seg2File& f) {
  LogPrint(LogError, "\n\n%s", kDash62);
  LogPrint(LogError, " SEG-2 File Descriptor Block Strings Section");
  LogPrint(LogError, "%s", kDash62);
  ForEachSeg2String(f.strings.data(), f.fileStringsBytes, f.fb.big, f.terminator(), [](const Seg2String& s) {
    LogPrint(LogError, "%20s :  %s", s.keyword.c_str(), s.value.c_str());
  });
  LogPrint(LogError, "%s\n", kDash62);
}

// One trace's block and strings; 0, or a negative code to stop.
int DumpTrace(Seg2File& f, int64_t ptr, int index) {
  std::FILE* fp = f.file.Stream();
  uint8_t b[kSeg2TraceBlockBytes];
  errno = 0;
  if (!SeekTo(fp, ptr) || !ReadExact(fp, b, sizeof b)) {
    LogPrint(LogError, "\nERROR: Failed to read Trace Descriptor Block, trace %d", index + 1);
    LogSystemError(errno, 0);
    return kStatusReadFailed;
  }
  TraceBlock t = DecodeTraceBlock(b, f.fb.big);
  LogPrint(LogError, "\n\n%s", kDash62);
  LogPrint(LogError, " SEG-2 trace %d  Trace Descriptor Block", index + 1);
  LogPrint(LogError, "%s", kDash62);
  LogPrint(LogError, "           block ID  01-02 :  0x%04X", t.id);
  LogPrint(LogError, "    this block size  03-04 :  %hu", t.blockBytes);
  LogPrint(LogError, "    data block size  05-08 :  %u", t.dataBytes);
  LogPrint(LogError, "  number of samples  09-12 :  %u", t.samples);
  LogPrint(LogError, "   data format code  13-13 :  %u\n", t.format);
  if (t.blockBytes < kSeg2TraceBlockBytes) {
    LogPrint(LogError, "\nERROR: INVALID size (%d bytes) for Trace Descriptor Block strings, trace %d\n",
             static_cast<int>(t.blockBytes), index + 1);
    return kStatusBadHeader;
  }
  std::size_t len = t.blockBytes - kSeg2TraceBlockBytes;
  if (len <= 7) {
    LogPrint(LogError, "\nERROR: EMPTY Trace Descriptor Block strings section (len=%d)\n",
             static_cast<int>(len));
    return kStatusBadHeader;
  }
  if (!ReadExact(fp, f.strings.data(), len)) {
    LogPrint(LogError, "\nERROR: Failed to read Trace Descriptor Block strings, trace %d", index + 1);
    LogSystemError(errno, 0);
    return kStatusReadFailed;
  }
  ForEachSeg2TraceString(f.strings.data(), len, f.fb.big, f.terminator(), [](const Seg2String& s) {
    LogPrint(LogError, "%26s :  %s", s.keyword.c_str(), s.value.c_str());
  });
  LogPrint(LogError, "%s\n", kDash62);
  return 0;
}
}  // namespace

int DumpSeg2File(SeismicSection& section, const std::string& path) {
  Seg2File f;
  f.file = OpenSeismicFile(&section, path, "rbS");
  if (!f.file) return kStatusOpenFailed;
  f.strings.resize(kStringsBufferBytes);
  uint8_t b[kSeg2FileBlockBytes];
  if (ReadExact(f.file.Stream(), b, sizeof b) && DecodeFileBlock(b, &f.fb)) DumpFileBlock(f.fb);
  std::rewind(f.file.Stream());
  if (int rc = ReadFileStart(f, true); rc != 0) return rc;
  if (int rc = ReadFileStrings(f); rc != 0) return rc;
  DumpFileStrings(f);
  for (std::size_t i = 0; i < f.pointers.size(); ++i) {
    if (f.pointers[i] == 0) continue;
    if (int rc = DumpTrace(f, f.pointers[i], static_cast<int>(i)); rc != 0) return rc;
  }
  return 0;
}
