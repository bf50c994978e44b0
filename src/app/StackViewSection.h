// The stacked traces of a section seen as a section of their own, so that a
// trace view can show them: its trace list is the shots' stack list, borrowed,
// with the shots' sample count, time range and time unit. Nothing is copied;
// a restack into the same records shows at the next redraw. The shots'
// section must keep its stack list while this borrows it.
#pragma once

#include "section/SeismicSection.h"

class StackViewSection {
 public:
  StackViewSection() = default;
  ~StackViewSection() { Release(); }
  StackViewSection(const StackViewSection&) = delete;
  StackViewSection& operator=(const StackViewSection&) = delete;

  // Borrows the stack list of shots. Returns the number of stacked traces,
  // or kStatusRefused when shots has none (nothing borrowed then).
  int Borrow(const SeismicSection& shots);
  // Gives the list back; the records stay the shots' own.
  void Release();
  bool Borrowing() const { return m_view.m_count > 0; }
  const SeismicSection& Section() const { return m_view; }

 private:
  SeismicSection m_view;
};
