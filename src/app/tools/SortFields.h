// The " Traces Sorting" dialog's fields on plain values: what it shows when
// it opens (the workspace's kept keys), which key choice shows which key,
// and the check of its keys that both its "Sort" button and the File
// Selector's auto-sort use. The reading rule itself is ReadSortDialog.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "processing/TraceSort.h"
#include "section/SortKeyTable.h"

class SortFields {
 public:
  // The fields showing params; every key slot is reset to -1 first.
  explicit SortFields(const SortParams& params);

  const SortDialogFields& Fields() const { return m_fields; }
  // Choice 0..2 now shows key id (0 " None"); records the slot of the key.
  void ChooseKey(int choice, int32_t id);
  void ChooseDirection(int choice, int32_t direction);
  void SetWidthText(const std::string& text) { m_fields.widthText = text; }
  // Which choice (0..2) shows key id, or -1.
  int SlotOf(int32_t id) const;
  bool WidthVisible() const { return ClassWidthVisible(m_fields); }

  // Reads the fields into params (keys only on success). False for bad input:
  // no key, a key twice, or a bad class width while its field is shown; the
  // width text then shows the width in force again.
  bool Read(SortParams* params);

 private:
  SortDialogFields m_fields;
  std::array<int32_t, kSortKeyCount> m_slots{};
};

// The class width as the dialog shows it.
std::string ClassWidthText(float width);
