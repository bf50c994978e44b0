// The keyword strings of SEG-2 descriptor blocks: walking a strings section,
// and what each keyword means for the file headers and the trace record.
// Bad values never stop a load: they give the keyword's default and are counted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct TraceRecord;

// One keyword/value pair of a strings section.
struct Seg2String {
  std::string keyword;  // the run of characters above the blank
  std::string value;    // after exactly one separator, up to the terminator
};

// Walks a strings section of len bytes: each string is preceded by a 16-bit
// offset (in the file's byte order) to the next one; an offset of 0 ends the
// list. Strings whose offset is 5 or less or that begin with a blank or a
// control character are skipped. terminator: the string terminator character.
void ForEachSeg2String(const uint8_t* data, std::size_t len, bool bigEndian, char terminator,
                       const std::function<void(const Seg2String&)>& fn);
// The same for a block of plain text lines without offsets.
void ForEachSeg2Line(const uint8_t* data, std::size_t len, const std::function<void(const Seg2String&)>& fn);
// Trace blocks: plain lines when the very first offset is 0, else offsets.
void ForEachSeg2TraceString(const uint8_t* data, std::size_t len, bool bigEndian, char terminator,
                            const std::function<void(const Seg2String&)>& fn);

struct Seg2Date {
  int year = 0, dayOfYear = 0, month = 0, day = 0;
};
struct Seg2Time {
  int hour = 0, minute = 0, second = 0;
  int32_t nano = 0;
};
// "07/03/2001" or "07-MAR-2001" (day, month, year; any single separators).
// False, with zeros, when neither form fits.
bool ParseSeg2Date(std::string_view value, Seg2Date* date);
// "10:05:09.25": hour, minute, real seconds. False, with zeros, when it does not fit.
bool ParseSeg2Time(std::string_view value, Seg2Time* time);

// TRACE_SORT and UNITS codes of a value (blanks and tabs trimmed); 0 when unknown.
int Seg2TraceSortCode(std::string_view value);
int Seg2UnitsCode(std::string_view value);

// Keyword matching: case-insensitive, on the table keyword's own length, so a
// longer name that begins with it matches too.
bool Seg2KeywordIs(std::string_view keyword, std::string_view name);

// What the File Descriptor Block strings say.
struct Seg2FileInfo {
  Seg2Date date;
  Seg2Time time;
  int32_t jobId = 0;
  int traceSort = 0;
  int units = 0;
};
// Applies one File Descriptor Block string; returns the 0-based textual header
// line that receives its value, or -1.
int ApplySeg2FileString(const Seg2String& s, Seg2FileInfo* info);

// Applies one Trace Descriptor Block string to the record; returns 1 when the
// value was bad (the field got the keyword's default), else 0.
int ApplySeg2TraceString(const Seg2String& s, TraceRecord* rec);
