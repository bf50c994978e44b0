#include "display/BackingStore.h"

#include <cstring>
#include <new>

#include "display/DisplayParams.h"
#include "log/Log.h"
#include "log/Status.h"

int BackingStore::CreateBackingStore(int dpi, const DisplayParams& params) {
  if (m_description) return 0;
  m_description.reset(new (std::nothrow) RasterDescription);
  if (!m_description) {
    LogPrint(LogError, "\nERROR: malloc failed for BITMAPINFO 256 colors\n");
    return kStatusNoMemory;
  }
  int32_t perMetre = static_cast<int32_t>(dpi * 39.37007874015748);
  m_description->xPixelsPerMetre = perMetre;
  m_description->yPixelsPerMetre = perMetre;
  BuildPalette(params);
  return 0;
}

int BackingStore::ResizeBackingStore(int clientWidth, int clientHeight, int viewNumber) {
  clientWidth = clientWidth < 0 ? 0 : clientWidth;
  clientHeight = clientHeight < 0 ? 0 : clientHeight;
  m_clientWidth = clientWidth;
  m_clientHeight = clientHeight;
  if (m_pixels && clientWidth < m_stride && m_rows >= clientHeight) return 0;
  m_pixels.reset();
  m_stride = 0;
  m_rows = 0;
  if (m_description) {
    m_description->width = 0;
    m_description->height = 0;
  }
  // Widths near INT_MAX would overflow the stride; no display is that wide.
  int64_t stride = (static_cast<int64_t>(clientWidth) + 4) & ~int64_t{3};
  int64_t bytes = stride * clientHeight;
  if (stride <= INT32_MAX && bytes <= static_cast<int64_t>(PTRDIFF_MAX)) {
    m_pixels.reset(new (std::nothrow) uint8_t[static_cast<std::size_t>(bytes)]);
  }
  if (!m_pixels) {
    LogPrint(LogError, "\nERROR: VTP[%d] CreateDIBSection %lld x %d x 1) FAILED\n", viewNumber,
             static_cast<long long>(stride), clientHeight);
    return kStatusNoMemory;
  }
  m_stride = static_cast<int>(stride);
  m_rows = clientHeight;
  if (m_description) {
    m_description->width = m_stride;
    m_description->height = m_rows;
  }
  return 0;
}

void BackingStore::BuildPalette(const DisplayParams& params) {
  if (!m_description) return;
  Palette& palette = m_description->palette;
  palette.SetSchemeRow(params.SchemeRow());
  if (params.m_displayMode == kDisplayWiggle) return;
  palette.LayDensityRamps(params.m_palette);
}

void BackingStore::Clear(uint8_t index) {
  if (!m_pixels) return;
  std::memset(m_pixels.get(), index, static_cast<std::size_t>(m_stride) * m_clientHeight);
}
