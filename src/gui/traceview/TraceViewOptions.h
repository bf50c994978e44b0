// How a trace view widget is made: its number (named in messages and in the
// signals), its role, its decorations and window kind, and which events it
// reports to its owner.
#pragma once

#include "display/VTracePlotter.h"

struct TraceViewOptions {
  enum Style : int {
    kTimeAxis = VTracePlotter::kTimeAxis,          // 0x10000
    kHeaderLabels = VTracePlotter::kHeaderLabels,  // 0x20000
    kHorizontalBar = 0x100000,
    kVerticalBar = 0x400000,
    kTopLevel = 0x1000000,    // framed window of its own
    kOwnedFrame = 0x2000000,  // framed window owned by the parent
    kChild = 0x4000000,       // child without frame
  };
  enum Notify : int {
    kNotifyCursor = 0x20000,
    kNotifyFirstTrace = 0x100000,
    kNotifyClose = 0x400000,
    kNotifyHighlight = 0x1000000,
  };

  int viewNumber = 1;
  int role = 1;  // 1 the main view; 2 the selective-stack and binning views
  int style = kTimeAxis | kHeaderLabels | kHorizontalBar | kVerticalBar | kChild;
  int notify = kNotifyCursor | kNotifyFirstTrace | kNotifyHighlight;

  // The main view: number 1, a child with both bars, reporting cursor moves,
  // first-trace and highlight changes.
  static TraceViewOptions MainView() { return {}; }
  // The stack and binning views: number 2, framed top-level windows with the
  // same decorations that report nothing but a close request.
  static TraceViewOptions SecondView() {
    TraceViewOptions o;
    o.viewNumber = 2;
    o.role = 2;
    o.style = kTimeAxis | kHeaderLabels | kHorizontalBar | kVerticalBar | kTopLevel;
    o.notify = kNotifyClose;
    return o;
  }
};
