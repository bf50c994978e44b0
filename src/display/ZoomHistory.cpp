#include "display/ZoomHistory.h"

#include <algorithm>

void ZoomHistory::Record(const DisplayParams& params, int kind) {
  if (m_size > 0 && kind != kZoomRectangleKind && m_entries[m_size - 1].kind == kind) return;
  if (m_size == kDepth) {
    std::move(m_entries.begin() + 1, m_entries.end(), m_entries.begin());
    --m_size;
  }
  ZoomEntry& e = m_entries[m_size++];
  e.pixPerTrace = params.m_pixPerTrace;
  e.pixPerSec = params.m_pixPerSec;
  e.firstTrace = params.m_firstTrace;
  e.startTime = params.m_startTime;
  e.kind = kind;
}

bool ZoomHistory::Undo(DisplayParams* params) {
  if (m_size == 0) return false;
  const ZoomEntry& e = m_entries[--m_size];
  params->m_pixPerTrace = e.pixPerTrace;
  params->m_pixPerSec = e.pixPerSec;
  params->m_firstTrace = e.firstTrace;
  params->m_startTime = e.startTime;
  return true;
}
