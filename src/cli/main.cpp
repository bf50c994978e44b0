// kxtool: the command-line tool over the core, for batch work and tests.
// Messages go to standard error, results to standard output or a named file.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "cli/CliLoad.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "formats/HeaderByteMap.h"
#include "log/Log.h"
#include "log/LogErrorCount.h"

std::vector<CommandInfo>& CommandTable() {
  static std::vector<CommandInfo> table;
  return table;
}

namespace {
const CommandInfo* FindCommand(const std::vector<std::string>& words, std::size_t* used) {
  const CommandInfo* best = nullptr;
  std::size_t bestWords = 0;
  for (const auto& c : CommandTable()) {
    // Names may have two words ("headers export"); the longest match wins.
    std::vector<std::string> parts;
    std::string name = c.name;
    for (std::size_t start = 0;;) {
      std::size_t sp = name.find(' ', start);
      parts.push_back(name.substr(start, sp - start));
      if (sp == std::string::npos) break;
      start = sp + 1;
    }
    if (parts.size() > words.size() || parts.size() <= bestWords) continue;
    if (std::equal(parts.begin(), parts.end(), words.begin())) {
      best = &c;
      bestWords = parts.size();
    }
  }
  *used = bestWords;
  return best;
}

// --tolerant and --dt-us N: tolerant reading for the command's loads.
bool ReadTolerantOptions(Options& opts) {
  bool tolerant = opts.Flag("--tolerant");
  long long dtUs = 0;
  if (!opts.Int("--dt-us", &dtUs)) return false;
  if (dtUs < 0 || dtUs > 2147483647) {
    LogPrint(LogError, "\nERROR: --dt-us must be a positive number of microseconds");
    return false;
  }
  if (dtUs > 0 && !tolerant) {
    LogPrint(LogError, "\nERROR: --dt-us applies to tolerant reading: add --tolerant");
    return false;
  }
  SetCliTolerantReading(tolerant, static_cast<int32_t>(dtUs));
  return true;
}

// --map-file F and any number of --map WORD=BYTE:TYPE: one header byte map for every load of the
// command, the file's mappings first.
bool ReadHeaderMapOptions(Options& opts) {
  auto map = std::make_shared<HeaderByteMap>();
  std::string message;
  if (auto file = opts.Value("--map-file")) {
    if (map->AddFile(*file, &message) != 0) {
      LogPrint(LogError, "\nERROR: --map-file: %s", message.c_str());
      return false;
    }
  }
  while (auto text = opts.Value("--map")) {
    if (map->Add(*text, &message) != 0) {
      LogPrint(LogError, "\nERROR: --map: %s", message.c_str());
      return false;
    }
  }
  if (!map->Empty()) {
    LogPrint(LogStep, "header mapping: %s", map->Text().c_str());
    SetCliHeaderMap(std::move(map));
  }
  return true;
}

// Applies --log-level, --log-file, --threads, tolerant reading and the header map options wherever
// they stand.
bool ApplyCommonOptions(Options& opts) {
  long long level = kLogDefaultThreshold;
  if (!opts.Int("--log-level", &level)) return false;
  LogSetThreshold(static_cast<int>(level));
  if (!ReadTolerantOptions(opts)) return false;
  if (auto file = opts.Value("--log-file")) {
    if (!LogFileOpen(*file)) {
      LogPrint(LogError, "\nERROR: cannot open log file %s", file->c_str());
      return false;
    }
  }
  constexpr long long kAbsent = -9223372036854775807LL - 1;
  long long threads = kAbsent;
  if (!opts.Int("--threads", &threads)) return false;
  if (threads != kAbsent) {
    if (threads < 1 || threads > 1024) {
      LogPrint(LogError, "\nERROR: --threads must be from 1 to 1024");
      return false;
    }
    Settings().numThreads = static_cast<int>(threads);
    Settings().displayThreads = static_cast<int>(threads);
  }
  return ReadHeaderMapOptions(opts);
}

// The words after the command without the common options: each command reads
// (and checks) its own options.
std::vector<std::string> WithoutCommonOptions(const std::vector<std::string>& words) {
  static const std::string kCommon[] = {"--log-level", "--log-file", "--threads", "--map", "--map-file"};
  std::vector<std::string> out;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "--tolerant" || words[i].starts_with("--dt-us=")) continue;
    if (words[i] == "--dt-us" && i + 1 < words.size()) {
      ++i;
      continue;
    }
    bool common = false;
    for (const std::string& name : kCommon) {
      if (words[i] == name && i + 1 < words.size()) {
        ++i;
        common = true;
        break;
      }
      if (words[i].compare(0, name.size() + 1, name + "=") == 0) {
        common = true;
        break;
      }
    }
    if (!common) out.push_back(words[i]);
  }
  return out;
}
}  // namespace

int main(int argc, char** argv) {
  // A write past the file-size limit must fail like a full disk (message, temporary file removed,
  // old file kept) instead of killing the process mid-write.
  std::signal(SIGXFSZ, SIG_IGN);
  LogSetStderrEcho(true);
  std::atexit(ConsoleClose);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) args.push_back("help");
  if (args[0] == "--version") args[0] = "version";
  if (args[0] == "--help" || args[0] == "-h") args[0] = "help";

  std::size_t used = 0;
  const CommandInfo* cmd = FindCommand(args, &used);
  if (!cmd) {
    LogPrint(LogError, "\nERROR: unknown command \"%s\"; try kxtool help", args[0].c_str());
    return kExitUsage;
  }
  std::vector<std::string> words(args.begin() + static_cast<long>(used), args.end());
  Options opts(words);
  if (!ApplyCommonOptions(opts)) return kExitUsage;
  CommandArgs rest;
  rest.args = WithoutCommonOptions(words);
  const long long errorsBefore = LogErrorCount();
  int rc = cmd->run(rest);
  if (rc == kExitOk && LogErrorCount() > errorsBefore) {
    LogPrint(LogWarning, "WARNING: %s finished with errors reported above (exit status %d)", cmd->name,
             kExitPartial);
    rc = kExitPartial;
  }
  return rc;
}
