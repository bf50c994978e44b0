// An owning list of trace records: every record listed is freed exactly once,
// when it is replaced, when the list is cleared or when the list goes. The
// records themselves stay mutable through the view; the list changes only
// through the methods below.
//
// Empty slots (null) are allowed where a record was taken away. Distinct
// slots may be replaced from different threads at once; nothing else may
// run beside that. Functions return 0 or kStatusNoMemory and never throw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "section/TraceRecord.h"

class TraceRecordList {
 public:
  TraceRecordList() = default;
  ~TraceRecordList() { Clear(); }
  TraceRecordList(TraceRecordList&& other) noexcept : m_records(std::move(other.m_records)) {
    other.m_records.clear();
  }
  TraceRecordList& operator=(TraceRecordList&& other) noexcept;
  TraceRecordList(const TraceRecordList&) = delete;
  TraceRecordList& operator=(const TraceRecordList&) = delete;

  std::span<TraceRecord* const> View() const { return m_records; }
  TraceRecord* operator[](std::size_t i) const { return m_records[i]; }
  int32_t Count() const { return static_cast<int32_t>(m_records.size()); }
  std::size_t Capacity() const { return m_records.capacity(); }

  // Room for `slots` records in all; 0, or kStatusNoMemory with the list unchanged.
  int Reserve(std::size_t slots);
  // Takes the record; 0, or kStatusNoMemory when the list cannot grow (the record is freed).
  int Append(TraceRecordPtr rec);
  // Puts rec (may be null) in slot i and frees the record that was there.
  void Replace(std::size_t i, TraceRecordPtr rec);
  // Hands the whole list to `permute`, which may only exchange entries: every
  // record must stay listed exactly once.
  template <typename Permute>
  void Reorder(Permute&& permute) {
    permute(std::span<TraceRecord*>(m_records));
  }
  // Frees every record, last first, and empties the list (capacity kept).
  void Clear();

 private:
  std::vector<TraceRecord*> m_records;
};
