// The ensemble view of TraceNavigator: one ensemble shown at a time, with its
// own scales and zoom history, and stepping between ensembles.
#include <algorithm>
#include <cmath>
#include <utility>

#include "display/TraceNavigator.h"

namespace {

void SwapSavedView(DisplayParams* p) {
  SavedViewState& o = p->m_otherView;
  std::swap(o.pixPerSec, p->m_pixPerSec);
  std::swap(o.startTime, p->m_startTime);
  std::swap(o.pixPerTrace, p->m_pixPerTrace);
  std::swap(o.firstTrace, p->m_firstTrace);
}

}  // namespace

int TraceNavigator::AbsoluteTrace(int shown) const {
  return shown < 0 ? shown : shown + m_plotter.ShownFirst();
}

uint32_t TraceNavigator::HighlightAbsolute(int absoluteTrace) {
  const int shown = absoluteTrace < 0 ? -1 : absoluteTrace - m_plotter.ShownFirst();
  const int before = m_plotter.Highlighted();
  m_plotter.SetHighlighted(shown);
  if (m_plotter.Highlighted() == before) return kChangeNone;
  m_plotter.Redraw();
  return kChangeRedrawn | kChangeHighlight;
}

void TraceNavigator::SetEnsembles(const std::vector<ViewEnsemble>& ensembles) {
  if (m_plotter.Params().m_ensembleView != 0) SetEnsembleView(false);
  m_history[1].Clear();
  m_ensembles.clear();
  const int all = m_plotter.AllTraceCount();
  for (const ViewEnsemble& e : ensembles) {
    // Ensembles that do not lie inside the section cannot be shown.
    if (e.firstTrace >= 0 && e.count > 0 && e.firstTrace < all && e.count <= all - e.firstTrace)
      m_ensembles.push_back(e);
  }
  m_currentEnsemble = m_ensembles.empty() ? -1 : 0;
  P().m_ensembleKey = m_ensembles.empty() ? DBLE_UNDEF : m_ensembles[0].key;
}

uint32_t TraceNavigator::SetEnsembleView(bool on) {
  DisplayParams& p = P();
  if (on == (p.m_ensembleView != 0)) return kChangeNone;
  if (on && (m_currentEnsemble < 0 || m_currentEnsemble >= static_cast<int>(m_ensembles.size())))
    return kChangeNone;
  const Snapshot before = Take();
  SwapSavedView(&p);
  m_plotter.SetHighlighted(-1);
  // Selections are kept in shown trace numbers, which the switch changes.
  m_plotter.SetSelection(VTracePlotter::Selection{});
  if (on) {
    const ViewEnsemble& e = m_ensembles[m_currentEnsemble];
    m_plotter.ShowTraces(e.firstTrace, e.count);
    p.m_ensembleKey = e.key;
  } else {
    m_plotter.ShowTraces(0, 0);
  }
  p.m_ensembleView = on ? 1 : 0;
  m_cursorTrace = -1;
  return Finish(before) | kChangeScales | kChangeControls;
}

uint32_t TraceNavigator::EnsembleStep(int step, double key) {
  const int n = static_cast<int>(m_ensembles.size());
  if (n == 0) return kChangeNone;
  switch (step) {
    case 1:
      return m_currentEnsemble + 1 < n ? GoToEnsemble(m_currentEnsemble + 1) : kChangeNone;
    case 2:
      return m_currentEnsemble > 0 ? GoToEnsemble(m_currentEnsemble - 1) : kChangeNone;
    case 3: {
      // The ensemble with that key, else the nearest (the first of equals).
      int best = 0;
      for (int i = 0; i < n; ++i) {
        if (m_ensembles[i].key == key) {
          best = i;
          break;
        }
        if (std::fabs(m_ensembles[i].key - key) < std::fabs(m_ensembles[best].key - key)) best = i;
      }
      return GoToEnsemble(best);
    }
    default:
      return kChangeNone;
  }
}

uint32_t TraceNavigator::GoToEnsemble(int index) {
  if (index < 0 || index >= static_cast<int>(m_ensembles.size())) return kChangeNone;
  DisplayParams& p = P();
  const ViewEnsemble& e = m_ensembles[index];
  const bool moved = index != m_currentEnsemble;
  m_currentEnsemble = index;
  p.m_ensembleKey = e.key;
  if (p.m_ensembleView == 0 || !moved) return kChangeEnsemble;
  const Snapshot before = Take();
  const int h = m_plotter.Highlighted();
  m_plotter.ShowTraces(e.firstTrace, e.count);
  m_plotter.SetHighlighted(h >= 0 ? std::min(h, e.count - 1) : -1);
  m_cursorTrace = -1;
  // The highlight's absolute index changes with the ensemble even when its
  // place in the ensemble does not.
  return Finish(before) | kChangeEnsemble | (h >= 0 ? kChangeHighlight : kChangeNone);
}
