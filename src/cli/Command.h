// kxtool's command table. Each command lives in its own file and registers
// itself with KX_COMMAND; main() parses the common options and dispatches.
#pragma once

#include <string>
#include <vector>

// kxtool's exit statuses (listed by "kxtool help" and in the README). A command returns 0, 1 or 2;
// main() turns a 0 into 3 when an error was reported meanwhile (LogErrorCount), e.g. a file whose
// data ended early: the traces read before the error were used, but not everything was done.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitPartial = 3;

struct CommandArgs {
  std::vector<std::string> args;  // the words after the command name, common options removed
};

using CommandFn = int (*)(const CommandArgs&);

struct CommandInfo {
  const char* name;     // e.g. "info", or "headers export"
  const char* usage;    // one line: "info [--json] FILE..."
  const char* summary;  // one line
  CommandFn run;
};

std::vector<CommandInfo>& CommandTable();

struct CommandRegistrar {
  explicit CommandRegistrar(const CommandInfo& info) { CommandTable().push_back(info); }
};

#define KX_COMMAND_CONCAT2(a, b) a##b
#define KX_COMMAND_CONCAT(a, b) KX_COMMAND_CONCAT2(a, b)
#define KX_COMMAND(name, usage, summary, fn)                        \
  static CommandRegistrar KX_COMMAND_CONCAT(kxCommand_, __LINE__) { \
    CommandInfo {                                                   \
      name, usage, summary, fn                                      \
    }                                                               \
  }
