#include "formats/SegdReader.h"

#include <cerrno>
#include <string>

#include "formats/SeismicFile.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/SeismicSection.h"

namespace {
// Big-endian unsigned integer of n bytes (n <= 4).
uint32_t LoadBeN(const uint8_t* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
  return v;
}

int Bcd4(const uint8_t* p) {
  int hi = DecodeBcdByte(p[0]), lo = DecodeBcdByte(p[1]);
  return hi == kBcdInvalid || lo == kBcdInvalid ? kBcdInvalid : hi * 100 + lo;
}

int HundredsPlus(uint8_t nibble, uint8_t byte) {
  int hi = DecodeBcdHundreds(nibble), lo = DecodeBcdByte(byte);
  return hi == kBcdInvalid || lo == kBcdInvalid ? kBcdInvalid : hi + lo;
}

// Names each field of #1 whose BCD digits are not 0-9, once per block decoded.
void ReportInvalidBcd(const uint8_t* b, const SegdGeneralHeader& h) {
  const struct {
    const char* name;
    int value;
    int first, count;  // 0-based bytes
  } fields[] = {
      {"file number", h.fileNumber, 0, 2},
      {"format code", h.formatCode, 2, 2},
      {"year", h.year, 10, 1},
      {"day", h.day, 11, 2},
      {"hour", h.hour, 13, 1},
      {"minute", h.minute, 14, 1},
      {"second", h.second, 15, 1},
      {"manufacturer code", h.manufacturerCode, 16, 1},
      {"manufacturer serial", h.manufacturerSerial, 17, 2},
      {"record length", h.recordLength < 0.0 ? kBcdInvalid : 0, 25, 2},
      {"scan types", h.scanTypes, 27, 1},
      {"channel sets", h.channelSets, 28, 1},
      {"skew blocks", h.skewBlocks, 29, 1},
      {"extended blocks", h.extendedBlocks, 30, 1},
      {"external blocks", h.externalBlocks, 31, 1},
  };
  for (const auto& f : fields) {
    if (f.value != kBcdInvalid) continue;
    std::string bytes;
    for (int i = 0; i < f.count; ++i) bytes += StrPrintf(" %02X", b[f.first + i]);
    LogPrint(LogError, "\nERROR: invalid BCD digits in SEG-D General Header #1, %s (bytes %d-%d:%s)", f.name,
             f.first + 1, f.first + f.count, bytes.c_str());
  }
}

int ExpandYear(int y) {
  if (y == kBcdInvalid) return y;
  if (y != 0 && y < 75) return 2000 + y;
  if (y >= 75 && y <= 99) return 1900 + y;
  return y;
}

int ReadBlock(std::FILE* file, uint8_t* block, const char* which) {
  errno = 0;
  if (std::fread(block, 1, kSegdGeneralHeaderBytes, file) == kSegdGeneralHeaderBytes) return 0;
  int code = errno;
  LogPrint(LogError, "\nERROR: Failed to read SEG-D 32-byte General Header #%s", which);
  LogSystemError(code, 0);
  return kStatusReadFailed;
}

// Bytes 5-18 of #2 in revisions 1 and 2.
void DecodeRev12(const uint8_t* b, SegdGeneralHeader* h) {
  int32_t ext = static_cast<int32_t>(LoadBeN(b + 5, 2));
  int32_t extern_ = static_cast<int32_t>(LoadBeN(b + 7, 2));
  int32_t trailer = static_cast<int32_t>(LoadBeN(b + 12, 2));
  int32_t lengthMs = static_cast<int32_t>(LoadBeN(b + 14, 3));
  LogPrint(LogError, "#2 num extended header blocks = %d", ext);
  LogPrint(LogError, "#2 num external header blocks = %d", extern_);
  LogPrint(LogError, "#2 num general trailer blocks = %d", trailer);
  LogPrint(LogError, "#2 record length = %d ms", lengthMs);
  LogPrint(LogError, "#2 general header block number = %d", b[18]);
  if (ext != 0) h->extendedBlocks = ext;
  if (extern_ != 0) h->externalBlocks = extern_;
  h->trailerBlocks = trailer;
  if (lengthMs != 0) h->recordLength = lengthMs * 0.001;
}

// Bytes 5-31 of #2 in revision 3. 32-bit counts with the top bit set are not
// taken: they would be negative in the summary.
void DecodeRev3(const uint8_t* b, SegdGeneralHeader* h) {
  int32_t ext = static_cast<int32_t>(LoadBeN(b + 5, 3));
  int32_t extern_ = static_cast<int32_t>(LoadBeN(b + 8, 2));
  uint32_t trailer = LoadBeN(b + 12, 4);
  uint32_t lengthUs = LoadBeN(b + 16, 4);
  int32_t ext2 = static_cast<int32_t>(LoadBeN(b + 22, 2));
  int32_t dominant = static_cast<int32_t>(LoadBeN(b + 24, 3));
  int32_t extAdditional = static_cast<int32_t>(LoadBeN(b + 27, 3));
  LogPrint(LogError, "#3 num extended header blocks = %d", ext);
  LogPrint(LogError, "#3 num external header blocks = %d", extern_);
  LogPrint(LogError, "#3 num general trailer blocks = %d", static_cast<int32_t>(trailer));
  LogPrint(LogError, "#3 record length = %d us", static_cast<int32_t>(lengthUs));
  LogPrint(LogError, "#3 num extended header blocks = %d", ext2);
  LogPrint(LogError, "#3 Dominant Sampling Interval = %d", dominant);
  LogPrint(LogError, "#3 num Ext Additional blks in Gen Hdr = %d", extAdditional);
  LogPrint(LogError, "#3 Header Block Type = %d", b[31]);
  if (ext != 0) h->extendedBlocks = ext;
  if (extern_ != 0) h->externalBlocks = extern_;
  if (trailer != 0 && (trailer & 0x80000000u) == 0) h->trailerBlocks = static_cast<int32_t>(trailer);
  if (lengthUs != 0 && (lengthUs & 0x80000000u) == 0) h->recordLength = lengthUs * 1e-6;
  if (ext2 != 0) h->extendedBlocks = ext2;
  h->dominantInterval = dominant;
  h->extAdditionalBlocks = extAdditional;
}
}  // namespace

int DecodeBcdByte(uint8_t b) {
  if (b == 0xFF) return 0;
  if ((b >> 4) > 9 || (b & 0x0F) > 9) return kBcdInvalid;
  return (b >> 4) * 10 + (b & 0x0F);
}

int DecodeBcdHundreds(uint8_t nibble) {
  nibble &= 0x0F;
  if (nibble == 0x0F) return 0;
  return nibble > 9 ? kBcdInvalid : nibble * 100;
}

void DecodeSegdHeader1(const uint8_t* b, SegdGeneralHeader* h) {
  h->fileNumber = Bcd4(b + 0);
  h->formatCode = Bcd4(b + 2);
  h->year = ExpandYear(DecodeBcdByte(b[10]));
  h->additionalBlocks = b[11] >> 4;
  h->day = HundredsPlus(b[11], b[12]);
  h->hour = DecodeBcdByte(b[13]);
  h->minute = DecodeBcdByte(b[14]);
  h->second = DecodeBcdByte(b[15]);
  h->manufacturerCode = DecodeBcdByte(b[16]);
  h->manufacturerSerial = Bcd4(b + 17);
  h->baseScanInterval = b[22];
  h->polarity = b[23] >> 4;
  h->recordType = b[25] >> 4;
  int length = HundredsPlus(b[25], b[26]);
  h->recordLength = length == kBcdInvalid ? -1.0 : length * 0.1024;
  h->scanTypes = DecodeBcdByte(b[27]);
  h->channelSets = DecodeBcdByte(b[28]);
  h->skewBlocks = DecodeBcdByte(b[29]);
  h->extendedBlocks = DecodeBcdByte(b[30]);
  h->externalBlocks = DecodeBcdByte(b[31]);
  ReportInvalidBcd(b, *h);
}

void DecodeSegdHeader2(const uint8_t* b, SegdGeneralHeader* h) {
  h->revisionMajor = b[10];
  h->revisionMinor = b[11];
  int32_t fileNumber = static_cast<int32_t>(LoadBeN(b + 0, 3));
  int32_t channelSets = static_cast<int32_t>(LoadBeN(b + 3, 2));
  LogPrint(LogError, "rev %d.%d", h->revisionMajor, h->revisionMinor);
  LogPrint(LogError, "#2 expanded file number = %d", fileNumber);
  LogPrint(LogError, "#2 num chan sets/scanType = %d", channelSets);
  if (fileNumber != 0) h->fileNumber = fileNumber;
  if (channelSets != 0) h->channelSets = channelSets;
  if (h->revisionMajor == 1 || h->revisionMajor == 2) DecodeRev12(b, h);
  if (h->revisionMajor == 3) DecodeRev3(b, h);
  if (h->revisionMajor > 1) {
    h->sequenceNumber = static_cast<int32_t>(LoadBeN(b + 20, 2));
    LogPrint(LogError, "#2-3 sequence number = %d", h->sequenceNumber);
  }
}

void LogSegdSummary(const SegdGeneralHeader& h) {
  LogPrint(LogError, "\nfilename = %d", h.fileNumber);
  LogPrint(LogError, "fmtCode = %d", h.formatCode);
  LogPrint(LogError, "year = %d", h.year);
  LogPrint(LogError, "num add blocks in GH = %d", h.additionalBlocks);
  LogPrint(LogError, "day = %d", h.day);
  LogPrint(LogError, "hour = %d", h.hour);
  LogPrint(LogError, "min  = %d", h.minute);
  LogPrint(LogError, "scnd = %d", h.second);
  LogPrint(LogError, "manufacturer code = %d", h.manufacturerCode);
  LogPrint(LogError, "manufacturer serialNum = %d", h.manufacturerSerial);
  LogPrint(LogError, "scanInterval = %d x 1/16ms = %.3lfms", h.baseScanInterval, h.baseScanInterval * 0.0625);
  LogPrint(LogError, "polarity = %d", h.polarity);
  LogPrint(LogError, "recType = %d", h.recordType);
  LogPrint(LogError, "recLen=%.9lf s", h.recordLength);
  LogPrint(LogError, "numscanType = %d", h.scanTypes);
  LogPrint(LogError, "numChanSet = %d", h.channelSets);
  LogPrint(LogError, "numSkew = %d", h.skewBlocks);
  LogPrint(LogError, "num extendedHeader = %d", h.extendedBlocks);
  LogPrint(LogError, "num externalHeader = %d", h.externalBlocks);
  LogPrint(LogError, "num Ext Additional blks in Gen Hdr = %d", h.extAdditionalBlocks);
}

int DecodeSegdGeneralHeaders(std::FILE* file, SegdGeneralHeader* h) {
  *h = SegdGeneralHeader{};
  uint8_t block[kSegdGeneralHeaderBytes];
  if (ReadBlock(file, block, "1") != 0) return kStatusReadFailed;
  DecodeSegdHeader1(block, h);
  if (h->additionalBlocks == 0) return 0;
  if (ReadBlock(file, block, "2") != 0) return kStatusReadFailed;
  DecodeSegdHeader2(block, h);
  LogSegdSummary(*h);
  return kSegdHeadersLogged;
}

int ReadSegdHeaders(SeismicSection& section, const std::string& path, SegdGeneralHeader* h) {
  LogPrint(LogStep, "\n\nLoading SEG-D file '%s'\n", path.c_str());
  SeismicFile file = OpenSeismicFile(&section, path, "rbS");
  if (!file) return kStatusOpenFailed;
  return DecodeSegdGeneralHeaders(file.Stream(), h);
}

int ReadSegd(SeismicSection& section, const std::string& path, LoadParams& /*params*/) {
  SegdGeneralHeader h;
  int rc = ReadSegdHeaders(section, path, &h);
  // Otherwise the user sees header lines and then "no data" with no reason.
  if (rc != kStatusOpenFailed)
    LogPrint(LogWarning,
             "WARNING: SEG-D file '%s': only its general headers are decoded; no traces are loaded",
             path.c_str());
  return rc;
}
