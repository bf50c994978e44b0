#include <algorithm>
#include <cstdio>

#include "cli/Command.h"
#include "cli/Options.h"

namespace {
int RunHelp(const CommandArgs& args) {
  std::vector<std::string> rest;
  if (!Options(args.args).Rest(&rest)) return 2;
  std::printf("kxtool %s - seismic trace files from the command line\n\n", KX_VERSION);
  std::printf("usage: kxtool COMMAND [OPTIONS] [FILES]\n\ncommands:\n");
  std::vector<CommandInfo> table = CommandTable();
  std::sort(table.begin(), table.end(),
            [](const CommandInfo& a, const CommandInfo& b) { return std::string(a.name) < b.name; });
  for (const auto& c : table) std::printf("  %-44s %s\n", c.usage, c.summary);
  std::printf(
      "\ncommon options:\n"
      "  --log-level N   messages up to level N go to standard error (default 7)\n"
      "  --log-file F    also write the messages to F\n"
      "  --threads N     worker threads of the parallel loops\n"
      "  --tolerant      open files the strict rules refuse (traces without an interval, extended\n"
      "                  textual headers in revision 0, implausible revision 2 fields, SU by content\n"
      "                  in either byte order); each assumption is logged as a WARNING\n"
      "  --dt-us N       with --tolerant: the interval (us) of traces that have none (default: the\n"
      "                  binary header's, else 4000)\n"
      "  --map WORD=BYTE:TYPE\n"
      "                  commands that load SEG-Y/SU files read the trace header word WORD from\n"
      "                  bytes BYTE.. of the 240-byte trace header (1-based) as TYPE: i16, i32, u16,\n"
      "                  u32, f32 (IEEE) or ibm; repeatable; files are written at the standard bytes\n"
      "  --map-file F    the same from a file, one WORD=BYTE:TYPE a line, # starts a comment\n"
      "\nexit status:\n"
      "  0  everything asked for was done cleanly\n"
      "  1  nothing could be done (unreadable file, no traces, failed write); the reason is logged\n"
      "  2  bad usage: unknown command or option, missing or invalid argument\n"
      "  3  done in part: an error was reported on the way, e.g. a file whose data ended early or\n"
      "     was damaged (the traces read before the error were used)\n");
  return 0;
}

int RunVersion(const CommandArgs&) {
  std::printf("kxtool %s\n", KX_VERSION);
  return 0;
}
}  // namespace

KX_COMMAND("help", "help", "this list", RunHelp);
KX_COMMAND("version", "version (or --version)", "the program version", RunVersion);
