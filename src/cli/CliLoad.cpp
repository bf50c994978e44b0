#include "cli/CliLoad.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "formats/LoadFileList.h"
#include "log/Log.h"
#include "log/Status.h"

namespace {
struct CliTolerance {
  bool on = false;
  int32_t intervalUs = 0;
};
CliTolerance& Tolerance() {
  static CliTolerance t;
  return t;
}
std::shared_ptr<const HeaderByteMap>& CliHeaderMap() {
  static std::shared_ptr<const HeaderByteMap> map;
  return map;
}
}  // namespace

void SetCliTolerantReading(bool tolerant, int32_t intervalUs) {
  Tolerance() = {tolerant, intervalUs};
}

void SetCliHeaderMap(std::shared_ptr<const HeaderByteMap> map) {
  CliHeaderMap() = std::move(map);
}

std::unique_ptr<SeismicSection> LoadSectionForCli(const std::vector<std::string>& files, int* status,
                                                  LoadParams params, int64_t* skipped) {
  params.tolerant = params.tolerant || Tolerance().on;
  if (params.tolerantIntervalUs <= 0) params.tolerantIntervalUs = Tolerance().intervalUs;
  if (!params.headerMap) params.headerMap = CliHeaderMap();
  auto start = std::chrono::steady_clock::now();
  auto section = std::make_unique<SeismicSection>(1);
  int rc = LoadFileList(*section, files, params);
  LogPrint(LogStep, "Load Dataset in %.3lfs (file count=%d)",
           std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), params.fileCount);
  if (rc != 0) {
    *status = rc;
    return nullptr;
  }
  if (skipped) *skipped = params.skipped;
  if (skipped && section->Count() == 0 && params.skipped > 0) {
    *status = 0;
    return section;
  }
  if (section->Scan() <= 0) {
    LogPrint(LogError, "\n\nNO SEISMIC DATA loaded\n");
    *status = kStatusRefused;
    return nullptr;
  }
  *status = 0;
  return section;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string JsonNumber(double v) {
  if (!std::isfinite(v)) return "null";
  if (v == std::trunc(v) && std::fabs(v) < 9.0e15) return StrPrintf("%.0f", v);
  return StrPrintf("%.17g", v);
}
