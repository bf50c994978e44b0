// Shared by the commands that change a section (resample, shift, sort): the
// output writer chosen by the output file's extension, and progress lines on
// standard error for long runs.
#pragma once

#include <cstdint>
#include <string>

class SeismicSection;

// The output format: a SaveFormat (app/SaveParams.h), kOutputKxf, or 0 when
// none fits. formatOption ("segy", "su", "seg2", "kxf", any case) wins over
// the extension of path.
inline constexpr int kOutputKxf = 100;
int OutputFormatFor(const std::string& formatOption, const std::string& path);

// Refusals of the commands' output step, before any writer runs.
enum OutputRefusal : int {
  kOutputTooManyTraces = -1,  // more traces than SEG-2 can hold
  kOutputUnknownFormat = -2,  // no writer for the output's extension
};

// Writes the section as SEG-Y rev 1 (.segy, .sgy), SU (.su), SEG-2 (.seg2,
// .sg2, .dat) or KXF (.kxf). Returns 0, an OutputRefusal, or the writer's
// negative status (a writer replaces OUT only when complete). Logs the reason
// of a failure.
int WriteProcessedSection(const SeismicSection& section, const std::string& path);

// Prints "<what>: N% (done/total traces)" at every tenth of a run with at
// least minTraces traces; called on one thread.
class CliProgress {
 public:
  CliProgress(const char* what, int32_t minTraces = 1000) : m_what(what), m_minTraces(minTraces) {}
  void operator()(int32_t done, int32_t total);

 private:
  const char* m_what;
  int32_t m_minTraces;
  int32_t m_lastTenth = 0;
};
