#include "app/tools/SaveDatasetFields.h"

#include <charconv>
#include <cstdio>

#include "app/SavePrep.h"

const std::array<ChoiceItem, 5> kSaveCropModes = {{
    {" by crossline / inline number", kCropLines},
    {" by CDP number / line number", kCropCdpLine},
    {" by CDP x / CDP y coord", kCropCdpCoord},
    {" by FFID / chan number ", kCropFfidChan},
    {" by trace index as sorted", kCropTraceIndex},
}};

const std::array<ChoiceItem, 3> kSaveFormats = {{
    {" SEG-Y rev 1", kSaveSegy},
    {" SEG-2", kSaveSeg2},
    {" SU", kSaveSuFormat},
}};

namespace {
constexpr int kIntChars = 15;
constexpr int kRealChars = 47;
constexpr int kOffsetChars = 31;

std::string IntText(int32_t v) {
  return v == kNotGiven ? std::string() : std::to_string(v);
}

// Coordinates and the offset in their shortest exact form: a window reset to
// the section's extremes must keep the traces at its edges.
template <typename T>
std::string RealText(T v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// Times to ten digits: the writers' crop tolerates far more than the
// rounding, and 98.00000000000001 ms reads better as 98.
std::string TimeText(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

// The two integer ranges of a mode; null for the coordinate and the missing second row.
std::array<IntRange*, 2> RangesOf(SaveParams& p, int32_t mode) {
  switch (mode) {
    case kCropLines:
      return {&p.crossline, &p.inline_};
    case kCropCdpLine:
      return {&p.cdp, &p.line};
    case kCropFfidChan:
      return {&p.ffid, &p.channel};
    case kCropTraceIndex:
      return {&p.traceIndex, nullptr};
    default:
      return {nullptr, nullptr};
  }
}

// Reads one text into value; a bad text is cut back and counts when counted.
struct FieldReader {
  bool counted;
  int bad = 0;
  void Int(std::string& text, int32_t* value) {
    std::string prefix;
    int32_t v = kNotGiven;
    if (ParseIntField(text, kIntChars, &v, &prefix)) {
      *value = v;
    } else if (counted) {
      text = prefix;
      ++bad;
    }
  }
  void Real(std::string& text, int maxChars, double* value) {
    std::string prefix;
    double v = 0.0;
    if (ParseRealField(text, maxChars, &v, &prefix)) {
      *value = v;
    } else if (counted) {
      text = prefix;
      ++bad;
    }
  }
};

void FillRows(SaveDatasetFields& f, SaveParams& p) {
  f.rows = {};
  if (f.cropMode == kCropCdpCoord) {
    f.rows[0] = {RealText(p.cdpXFrom), RealText(p.cdpXTo), ""};
    f.rows[1] = {RealText(p.cdpYFrom), RealText(p.cdpYTo), ""};
    return;
  }
  std::array<IntRange*, 2> r = RangesOf(p, f.cropMode);
  for (std::size_t i = 0; i < r.size(); ++i)
    if (r[i]) f.rows[i] = {IntText(r[i]->from), IntText(r[i]->to), IntText(r[i]->step)};
}

int ReadRows(SaveDatasetFields& f, SaveParams& p) {
  FieldReader read{f.traceOn};
  if (f.cropMode == kCropCdpCoord) {
    read.Real(f.rows[0].from, kRealChars, &p.cdpXFrom);
    read.Real(f.rows[0].to, kRealChars, &p.cdpXTo);
    read.Real(f.rows[1].from, kRealChars, &p.cdpYFrom);
    read.Real(f.rows[1].to, kRealChars, &p.cdpYTo);
    return read.bad;
  }
  std::array<IntRange*, 2> r = RangesOf(p, f.cropMode);
  for (std::size_t i = 0; i < r.size(); ++i) {
    if (!r[i]) continue;
    read.Int(f.rows[i].from, &r[i]->from);
    read.Int(f.rows[i].to, &r[i]->to);
    read.Int(f.rows[i].step, &r[i]->step);
  }
  return read.bad;
}
}  // namespace

CropRowsLayout CropRowsOf(int32_t mode) {
  switch (mode) {
    case kCropCdpLine:
      return {"CDP num", "line num", true};
    case kCropCdpCoord:
      return {"CDP coord X", "coord Y", false};
    case kCropFfidChan:
      return {"FFID", "channel", true};
    case kCropTraceIndex:
      return {"trace index", "", true};
    default:
      return {"crossline", "inline", true};
  }
}

SaveDatasetFields SaveFieldsFromParams(const SaveParams& params) {
  SaveParams p = params;
  SaveDatasetFields f;
  f.offsetOn = p.offsetLimitOn != 0;
  f.timeOn = p.timeCropOn != 0;
  f.traceOn = p.traceCropOn != 0;
  f.offset = RealText(p.offsetLimit);
  f.timeFrom = TimeText(p.timeStart);
  f.timeTo = TimeText(p.timeEnd);
  f.cropMode = CropRowsOf(p.cropMode).title1 == "crossline" ? kCropLines : p.cropMode;
  f.format = p.format;
  f.applyFilter = p.applyFilter != 0;
  FillRows(f, p);
  return f;
}

int ReadSaveFields(SaveDatasetFields& f, SaveParams& p) {
  p.offsetLimitOn = f.offsetOn;
  p.timeCropOn = f.timeOn;
  p.traceCropOn = f.traceOn;
  p.cropMode = f.cropMode;
  p.format = f.format;
  p.applyFilter = f.applyFilter;
  int bad = 0;
  FieldReader offset{f.offsetOn};
  double limit = p.offsetLimit;
  offset.Real(f.offset, kOffsetChars, &limit);
  p.offsetLimit = static_cast<float>(limit);
  bad += offset.bad;
  if (f.offsetOn && offset.bad == 0 && !(p.offsetLimit > 0.0f)) ++bad;
  FieldReader time{f.timeOn};
  time.Real(f.timeFrom, kRealChars, &p.timeStart);
  time.Real(f.timeTo, kRealChars, &p.timeEnd);
  return bad + time.bad + ReadRows(f, p);
}

void ChangeSaveCropMode(SaveDatasetFields& f, SaveParams& p, int32_t mode) {
  ReadSaveFields(f, p);
  f.cropMode = CropRowsOf(mode).title1 == "crossline" ? kCropLines : mode;
  p.cropMode = f.cropMode;
  FillRows(f, p);
}

SaveFileChoice SaveFileChoiceOf(int32_t format) {
  switch (format) {
    case kSaveSuFormat:
      return {"Save dataset as SU file", "SEG-Y (*.su)", "su"};
    case kSaveSeg2:
      return {"Save dataset as SEG-2 file", "SEG-2 (*.seg2 *.sg2 *.dat)", "seg2"};
    default:
      return {"Save dataset as SEG-Y rev 1 file", "SEG-Y (*.segy *.sgy)", "segy"};
  }
}
