// Sequential access to the traces of an open SEG-Y or SU file: the header
// (with revision 2 extensions), the sample count and interval rule, and the
// samples. Shared by the reader and the header scan.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "formats/SegyBinaryHeader.h"
#include "formats/SegyLayout.h"

class HeaderByteMap;

class TraceStream {
 public:
  // revision: 0 for SU files. position: the current offset of fp.
  TraceStream(FILE* fp, int64_t fileSize, int64_t position, const SegyFileInfo& info);

  enum Status { kOk, kEnd, kError };

  // Reads the next trace header (and extension 1, skipping the further
  // extensions) in file order; clears the bytes the revision leaves undefined.
  // traceNumber is 1-based, for messages. kEnd at a clean end of file.
  // clearUndefined false keeps those bytes as they are (dumps, exports). A header
  // map reads from the bytes as they were read, so it may take undefined ones.
  Status ReadHeader(int traceNumber, bool clearUndefined = true);
  // Skips n bytes; false on failure.
  bool Skip(int64_t n);
  // Moves to an absolute file offset; false on failure.
  bool SeekTo(int64_t offset);
  // Passes over up to want traces (1-based traceNumber: the next one) in one seek when they
  // all have the next trace's length: that length must divide the rest of the file exactly and
  // the trace landed on must have the same sample count. Returns the traces passed over, or 0
  // with the stream where it was (the caller then walks the headers).
  int64_t JumpEqualTraces(int64_t want, int traceNumber);
  // Every header read from now on has map applied (null: none); map must outlive the stream.
  void SetHeaderMap(const HeaderByteMap* map) { m_map = map; }
  // Mapped values that did not fit their word so far, in headers read with clearUndefined.
  int64_t UnfitMappedValues() const { return m_unfitMapped; }
  // Reads n bytes; false on a short read.
  bool Read(void* dst, std::size_t n);

  const uint8_t* Header() const { return m_header; }
  // Extension 1 in file order, or null when the file has none.
  const uint8_t* Extension() const { return m_hasExtension ? m_extension : nullptr; }
  // Sample count and interval (µs) of the current trace, before validation.
  void Sampling(uint32_t* ns, double* intervalUs) const;
  // Bytes left after the current position; -1 when the size is unknown.
  int64_t Remaining() const { return m_size < 0 ? -1 : std::max<int64_t>(0, m_size - m_pos); }
  int64_t Position() const { return m_pos; }
  FILE* Stream() const { return m_fp; }
  const SegyFileInfo& Info() const { return m_info; }

 private:
  FILE* m_fp;
  int64_t m_size;
  int64_t m_pos;
  SegyFileInfo m_info;
  bool m_hasExtension = false;
  const HeaderByteMap* m_map = nullptr;
  int64_t m_unfitMapped = 0;
  uint8_t m_header[kSegyTraceHeaderBytes];
  uint8_t m_extension[kSegyTraceHeaderBytes];
};
