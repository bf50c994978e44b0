#include "section/TraceRecordList.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "log/Status.h"

TraceRecordList& TraceRecordList::operator=(TraceRecordList&& other) noexcept {
  if (this == &other) return *this;
  Clear();
  m_records = std::move(other.m_records);
  other.m_records.clear();
  return *this;
}

int TraceRecordList::Reserve(std::size_t slots) {
  try {
    m_records.reserve(slots);
  } catch (const std::bad_alloc&) {
    return kStatusNoMemory;
  } catch (const std::length_error&) {
    return kStatusNoMemory;
  }
  return 0;
}

int TraceRecordList::Append(TraceRecordPtr rec) {
  if (m_records.size() == m_records.capacity() && Reserve(m_records.empty() ? 1 : 2 * m_records.size()) != 0)
    return kStatusNoMemory;
  m_records.push_back(rec.release());
  return 0;
}

void TraceRecordList::Replace(std::size_t i, TraceRecordPtr rec) {
  TraceRecord* old = std::exchange(m_records[i], rec.release());
  TraceRecord::Free(old);
}

void TraceRecordList::Clear() {
  for (std::size_t i = m_records.size(); i-- > 0;) TraceRecord::Free(m_records[i]);
  m_records.clear();
}
