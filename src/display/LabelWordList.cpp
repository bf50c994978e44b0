#include "display/LabelWordList.h"

#include <algorithm>
#include <cstdint>

#include "display/FieldText.h"
#include "section/HeaderLabelTable.h"

bool LabelWordList::Contains(int row) const {
  return std::find(m_rows.begin(), m_rows.end(), row) != m_rows.end();
}

void LabelWordList::Assign(const std::vector<int>& rows) {
  m_rows.clear();
  for (int row : rows)
    if (!Contains(row)) m_rows.push_back(row);
}

void LabelWordList::Insert(int row) {
  Remove(row);
  m_rows.insert(m_rows.begin(), row);
}

int LabelWordList::Remove(int row) {
  auto it = std::find(m_rows.begin(), m_rows.end(), row);
  if (it == m_rows.end()) return -1;
  int pos = static_cast<int>(it - m_rows.begin());
  m_rows.erase(it);
  return pos;
}

int LabelWordList::MoveUp(int pos) {
  if (pos < 0 || pos >= Count()) return -1;
  if (pos == 0) {
    std::rotate(m_rows.begin(), m_rows.begin() + 1, m_rows.end());
    return Count() - 1;
  }
  std::swap(m_rows[pos - 1], m_rows[pos]);
  return pos - 1;
}

int LabelWordList::MoveDown(int pos) {
  if (pos < 0 || pos >= Count()) return -1;
  if (pos == Count() - 1) {
    std::rotate(m_rows.rbegin(), m_rows.rbegin() + 1, m_rows.rend());
    return 0;
  }
  std::swap(m_rows[pos], m_rows[pos + 1]);
  return pos + 1;
}

void LabelWordList::AssignOffered(const std::vector<int>& rows) {
  std::vector<int> offered;
  for (int row : rows)
    if (row >= 0 && row < kHeaderLabelCount && (HeaderLabelRows()[row].flags & kLabelHeaderWords))
      offered.push_back(row);
  Assign(offered);
}

std::vector<int> LabelWordList::AppliedRows() const {
  return std::vector<int>(m_rows.begin(), m_rows.begin() + std::min(Count(), kSlots));
}

int LabelWordList::ParseGraduateStep(const std::string& text) {
  std::string field = text;
  int32_t value = 0;
  if (ReadFieldInt(&field, &value) != 0) return 0;
  return value >= 1 ? value : 0;
}

std::string LabelWordList::FormatGraduateStep(int step) {
  return step >= 1 ? std::to_string(step) : "auto";
}
