#include "app/LoadRefusalText.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {
// Enough lines to say why; the console holds them all.
constexpr std::size_t kMaxReasonLines = 6;

std::string FileName(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  return name.empty() ? path : name;
}

std::string FilesText(const LoadRefusal& r) {
  if (r.paths.size() == 1) return "\"" + FileName(r.paths[0]) + "\"";
  return "the " + std::to_string(r.paths.size()) + " files chosen";
}
}  // namespace

bool OffersTolerantOpen(const LoadRefusal& refusal) {
  return !refusal.params.tolerant && !refusal.paths.empty();
}

LoadParams TolerantRetryParams(const LoadRefusal& refusal) {
  LoadParams p = refusal.params;
  p.tolerant = true;
  return p;
}

std::string LoadRefusalText(const LoadRefusal& r) {
  std::string text = "No seismic data could be read from " + FilesText(r) + ".";
  if (!r.reasons.empty()) {
    text += "\n";
    for (std::size_t i = 0; i < r.reasons.size() && i < kMaxReasonLines; ++i) text += "\n" + r.reasons[i];
    if (r.reasons.size() > kMaxReasonLines) text += "\n...";
  }
  text += "\n\n";
  text += r.sectionKept ? "The section on screen is kept." : "No section is loaded now.";
  text += " The console shows every message of the load.";
  if (OffersTolerantOpen(r))
    text += std::string("\n\n\"") + kOpenTolerantlyButton +
            "\" reads the files again, accepting what the strict rules refuse and logging each "
            "assumption as a warning.";
  return text;
}

bool TolerantIntervalFromField(const std::string& text, int32_t* intervalUs) {
  std::size_t a = text.find_first_not_of(" \t");
  if (a == std::string::npos) {
    *intervalUs = 0;
    return true;
  }
  std::size_t b = text.find_last_not_of(" \t");
  const std::string t = text.substr(a, b - a + 1);
  char* end = nullptr;
  errno = 0;
  double ms = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || errno != 0 || !std::isfinite(ms) || ms < 0.0) return false;
  double us = std::round(ms * 1000.0);
  if (ms > 0.0 && us < 1.0) return false;
  if (us > 2147483647.0) return false;
  *intervalUs = static_cast<int32_t>(us);
  return true;
}
