// The header words chosen on the "Header Words" tab, in the order their label
// rows are drawn (catalogue rows of HeaderLabelTable.h). The tab keeps the
// list; "Apply" hands the first kSlots entries to the view.
#pragma once

#include <string>
#include <vector>

class LabelWordList {
 public:
  // The view draws at most this many label rows.
  static constexpr int kSlots = 12;

  const std::vector<int>& Rows() const { return m_rows; }
  int Count() const { return static_cast<int>(m_rows.size()); }
  bool Contains(int row) const;

  // Replaces the list; repeated rows keep their first place only.
  void Assign(const std::vector<int>& rows);
  // The same keeping only the words the tab offers (so each can be unchecked).
  void AssignOffered(const std::vector<int>& rows);
  // A newly checked word goes to the top; one already chosen moves there.
  void Insert(int row);
  // Returns the position the row had, -1 when it was not chosen.
  int Remove(int row);
  void Clear() { m_rows.clear(); }

  // Move the entry at pos by one place; the first moves up to the end and the
  // last moves down to the top. Return the entry's new position, -1 when pos
  // names no entry.
  int MoveUp(int pos);
  int MoveDown(int pos);

  // The first kSlots entries in list order: what "Apply" hands the view.
  std::vector<int> AppliedRows() const;

  // "Graduate Step": a whole integer of at least 1, anything else (including
  // "auto") is 0, automatic labelling.
  static int ParseGraduateStep(const std::string& text);
  // The field text for a stored step: "auto" for 0 or less.
  static std::string FormatGraduateStep(int step);

 private:
  std::vector<int> m_rows;
};
