// kxtool dump: the file, binary and trace headers of one file, without loading it.
// The dumps are log messages; for the length of the command the log's echo is
// sent to standard output so that the dump can be piped like any result.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/Command.h"
#include "cli/Options.h"
#include "formats/DumpHeaders.h"
#include "log/Log.h"

namespace {
// "FROM-TO" or "FROM"; false on junk.
bool ParseRange(const std::string& text, long long* from, long long* to) {
  std::size_t dash = text.find('-', 1);
  if (dash == std::string::npos) {
    if (!ParseInteger(text, from)) return false;
    *to = *from;
    return true;
  }
  return ParseInteger(text.substr(0, dash), from) && ParseInteger(text.substr(dash + 1), to);
}

class StderrToStdout {
 public:
  StderrToStdout() {
    std::fflush(stdout);
    std::fflush(stderr);
    m_saved = dup(2);
    if (m_saved >= 0) dup2(1, 2);
  }
  ~StderrToStdout() {
    std::fflush(stderr);
    if (m_saved >= 0) {
      dup2(m_saved, 2);
      close(m_saved);
    }
  }
  StderrToStdout(const StderrToStdout&) = delete;
  StderrToStdout& operator=(const StderrToStdout&) = delete;

 private:
  int m_saved = -1;
};

int RunDump(const CommandArgs& args) {
  Options opts(args.args);
  int32_t flags = 0;
  if (opts.Flag("--text")) flags |= 1;
  if (opts.Flag("--binary")) flags |= 2;
  long long from = 1, to = 1;
  bool traces = false;
  if (auto range = opts.Value("--traces")) {
    if (!ParseRange(*range, &from, &to) || from < 1 || from > 2147483647 || to > 2147483647) {
      LogPrint(LogError, "\nERROR: --traces needs FROM-TO with 1 <= FROM, not \"%s\"", range->c_str());
      return 2;
    }
    traces = true;
    flags |= 0x10;
  }
  // Like the dialog: nothing chosen dumps the binary header and the first trace.
  if (flags == 0) flags = 0x12;
  if (!traces) to = from;
  std::vector<std::string> files;
  if (!opts.Rest(&files)) return 2;
  if (files.size() != 1) {
    LogPrint(LogError, "\nERROR: dump needs exactly one file");
    return 2;
  }
  StderrToStdout redirect;
  int rc = DumpHeadersFile(files[0], flags, static_cast<int32_t>(from), static_cast<int32_t>(to));
  return rc == 0 ? 0 : 1;
}
}  // namespace

KX_COMMAND("dump", "dump [--text] [--binary] [--traces FROM-TO] FILE",
           "print the textual, binary and trace headers of a file", RunDump);
