#include "formats/TraceStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "formats/HeaderByteMap.h"
#include "log/Log.h"
#include "section/ByteOrder.h"

TraceStream::TraceStream(FILE* fp, int64_t fileSize, int64_t position, const SegyFileInfo& info)
    : m_fp(fp), m_size(fileSize), m_pos(position), m_info(info) {}

bool TraceStream::Read(void* dst, std::size_t n) {
  std::size_t got = fread_unlocked(dst, 1, n, m_fp);
  m_pos += static_cast<int64_t>(got);
  return got == n;
}

bool TraceStream::Skip(int64_t n) {
  if (n == 0) return true;
  // A seek lands anywhere past the end; what follows would then be sized by garbage.
  if (m_size >= 0 && n > m_size - m_pos) {
    errno = 0;
    return false;
  }
  if (fseeko(m_fp, n, SEEK_CUR) != 0) return false;
  m_pos += n;
  return true;
}

bool TraceStream::SeekTo(int64_t offset) {
  if (fseeko(m_fp, offset, SEEK_SET) != 0) return false;
  m_pos = offset;
  return true;
}

int64_t TraceStream::JumpEqualTraces(int64_t want, int traceNumber) {
  // Extension headers may vary per trace; a short rest is left to the walk, which reports it.
  if ((m_info.revision == 2 && m_info.maxExtensions > 0) || m_size < 0 ||
      Remaining() < kSegyTraceHeaderBytes || want <= 0)
    return 0;
  const int64_t start = m_pos;
  auto stay = [&] {
    SeekTo(start);
    return 0;
  };
  uint32_t ns = 0, landedNs = 0;
  double dt = 0.0;
  if (ReadHeader(traceNumber, false) != kOk) return stay();
  Sampling(&ns, &dt);
  const int64_t traceBytes = kSegyTraceHeaderBytes + static_cast<int64_t>(ns) * m_info.bytesPerSample;
  const int64_t rest = m_size - start;
  if (ns == 0 || rest % traceBytes != 0) return stay();
  const int64_t traces = rest / traceBytes;
  const int64_t n = std::min(want, traces);
  const int64_t target = start + n * traceBytes;
  if (n < traces) {
    if (!SeekTo(target) || ReadHeader(traceNumber, false) != kOk) return stay();
    Sampling(&landedNs, &dt);
    if (landedNs != ns) return stay();
  }
  if (!SeekTo(target)) return stay();
  return n;
}

TraceStream::Status TraceStream::ReadHeader(int traceNumber, bool clearUndefined) {
  m_hasExtension = false;
  errno = 0;
  std::size_t got = fread_unlocked(m_header, 1, kSegyTraceHeaderBytes, m_fp);
  m_pos += static_cast<int64_t>(got);
  if (got == 0 && feof(m_fp)) return kEnd;
  if (got != kSegyTraceHeaderBytes) {
    LogPrint(LogError, "\nERROR: Failed to read Trace Header, trace #%d", traceNumber);
    LogSystemError(errno, 0);
    return kError;
  }
  if (m_info.revision == 2 && m_info.maxExtensions > 0) {
    got = fread_unlocked(m_extension, 1, kSegyTraceHeaderBytes, m_fp);
    m_pos += static_cast<int64_t>(got);
    if (got == 0 && feof(m_fp)) return kEnd;
    if (got != kSegyTraceHeaderBytes) {
      LogPrint(LogError, "\nERROR: Failed to read Trace Header Extended 1, trace #%d", traceNumber);
      LogSystemError(errno, 0);
      return kError;
    }
    m_hasExtension = true;
    int64_t count = LoadWord<uint16_t>(m_extension + ExtensionOffset(kTx1HeaderCount), m_info.bigEndian);
    if (count == 0) count = m_info.maxExtensions;
    long long further = count - 1;
    if (further > 0 && !Skip(further * kSegyTraceHeaderBytes)) {
      LogPrint(LogError, "\nERROR: Failed to skip %lld proprietary THExtended, trace #%d", further,
               traceNumber);
      LogSystemError(errno, 0);
      return kError;
    }
  }
  uint8_t raw[kSegyTraceHeaderBytes];
  if (m_map) std::memcpy(raw, m_header, sizeof raw);
  if (clearUndefined && m_info.revision == 0)
    std::memset(m_header + TraceHeaderOffset(kTrCdpx), 0, kSegyTraceHeaderBytes - TraceHeaderOffset(kTrCdpx));
  if (clearUndefined && m_info.revision == 1)
    std::memset(m_header + TraceHeaderOffset(kTrSega), 0, kSegyTraceHeaderBytes - TraceHeaderOffset(kTrSega));
  if (m_map) {
    int unfit = m_map->Apply(raw, m_header, m_info.bigEndian);
    if (clearUndefined) m_unfitMapped += unfit;  // a peek (jump check, dump) is read again or not loaded
  }
  return kOk;
}

void TraceStream::Sampling(uint32_t* ns, double* intervalUs) const {
  if (m_info.binarySampling) {
    *ns = static_cast<uint32_t>(m_info.samples);
    *intervalUs = m_info.intervalUs;
    return;
  }
  uint32_t n = LoadWord<uint16_t>(m_header + TraceHeaderOffset(kTrNs), m_info.bigEndian);
  double dt = LoadWord<int16_t>(m_header + TraceHeaderOffset(kTrDt), m_info.bigEndian);
  if (m_hasExtension) {
    uint32_t xn = LoadWord<uint32_t>(m_extension + ExtensionOffset(kTx1Samples), m_info.bigEndian);
    double xdt = std::bit_cast<double>(
        LoadWord<uint64_t>(m_extension + ExtensionOffset(kTx1Interval), m_info.bigEndian));
    if (xn != 0) n = xn;
    if (xdt > 0.0) dt = xdt;
  }
  if (n == 0) n = static_cast<uint32_t>(m_info.samples);
  if (dt == 0.0) dt = m_info.intervalUs;
  *ns = n;
  *intervalUs = dt;
}
