// The section scan: the SEIS marks, the summary and the Section Info text.
#include <chrono>

#include "log/Log.h"
#include "section/SectionInfo.h"
#include "section/SeismicSection.h"

int SeismicSection::Scan() {
  auto start = std::chrono::steady_clock::now();
  int32_t scanned = 0, timed = 0;
  for (TraceRecord* t : Traces()) {
    if (!t) continue;
    ++scanned;
    t->SEIS = IsSeismicTrid(t->TRID) ? 1 : 0;
    if (t->DT > 0.0 && t->NS > 0) ++timed;
  }
  m_summary = SummarizeTraces(Traces());
  if (scanned > 0)
    BuildSectionInfo(*this);
  else
    m_sectionInfo = kEmptySectionInfo;
  const int32_t count = Count();
  LogPrint(LogError, "traces seen as seismic     = %d", m_summary.seismicCount);
  LogPrint(LogError, "traces seen as unknown     = %d", m_summary.unknownCount);
  LogPrint(LogError, "traces seen as non seismic = %d",
           count - m_summary.seismicCount - m_summary.unknownCount);
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  LogPrint(LogInfo, "Scan SectionInfo, %d traces in %.3lf ms", count, ms);
  return timed;
}
