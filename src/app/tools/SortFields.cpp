#include "app/tools/SortFields.h"

#include "log/Log.h"

SortFields::SortFields(const SortParams& params) {
  m_slots.fill(-1);
  for (int c = 0; c < kMaxSortKeys; ++c) {
    bool used = c < params.keyCount && FindSortKey(params.keys[c]);
    ChooseKey(c, used ? params.keys[c] : 0);
    ChooseDirection(c, used ? params.directions[c] : kSortAscending);
  }
  m_fields.widthText = ClassWidthText(params.classWidth);
}

void SortFields::ChooseKey(int choice, int32_t id) {
  if (choice < 0 || choice >= kMaxSortKeys) return;
  int32_t old = m_fields.keyChoice[choice];
  if (old > 0 && old < kSortKeyCount && m_slots[old] == choice) m_slots[old] = -1;
  m_fields.keyChoice[choice] = FindSortKey(id) ? id : 0;
  if (m_fields.keyChoice[choice] > 0) m_slots[m_fields.keyChoice[choice]] = choice;
}

void SortFields::ChooseDirection(int choice, int32_t direction) {
  if (choice < 0 || choice >= kMaxSortKeys) return;
  m_fields.direction[choice] = direction == kSortDescending ? kSortDescending : kSortAscending;
}

int SortFields::SlotOf(int32_t id) const {
  return id > 0 && id < kSortKeyCount ? m_slots[id] : -1;
}

bool SortFields::Read(SortParams* params) {
  std::string widthShown = m_fields.widthText;
  bool ok = ReadSortDialog(m_fields, params, &widthShown);
  m_fields.widthText = widthShown;
  return ok;
}

std::string ClassWidthText(float width) {
  return StrPrintf("%g", static_cast<double>(width));
}
