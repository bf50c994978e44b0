// The one process-wide application object: owns the loaded section (at most
// one), the load and header dump commands, the remembered input folder and
// filter, the splash and busy flags. Windows see it through the observer
// interfaces; with none installed (kxtool, tests) it still loads and logs.
//
// Threads: user-interface thread only. No lock guards the section; while a
// background operation changes it the busy flag is set and the commands that
// would read it are refused by the main window.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "formats/LoadParams.h"

class SeismicSection;
class TraceViewObserver;
class WorkspaceObserver;

inline constexpr const char* kMainWindowTitle = " Kestrix  v1.85 April 2024";
inline constexpr const char* kNoDataInfoText = "\n\n\n  NO Data Loaded";
inline constexpr std::size_t kDisplayNameMaxChars = 128;

class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // Observers stay owned by their windows; pass nullptr before a window goes.
  void SetObserver(WorkspaceObserver* observer) { m_observer = observer; }
  void SetTraceView(TraceViewObserver* view) { m_view = view; }

  SeismicSection* Section() { return m_section.get(); }
  const SeismicSection* Section() const { return m_section.get(); }
  int TraceCount() const;

  // The load command's parameters: reset-display on, everything else default.
  static LoadParams DefaultLoadParams();
  // Replaces the section with the files read in order. Returns 0 when a section
  // with at least one timed trace is loaded, else -1 (no section then).
  int LoadDataset(const std::vector<std::string>& paths, LoadParams params);
  // The load command once its dialog returned: remembers the folder and filter, loads
  // with the default parameters and logs the load's duration.
  int LoadChosenFiles(const std::vector<std::string>& paths, int filterIndex);
  // The folder the open dialog starts in: the last input folder when it still
  // exists, with a trailing '/', else empty.
  std::string DialogStartFolder() const;

  // Prints the headers of one file (flags: 1 textual, 2 binary, 0x10 trace
  // headers first..last, 0x20 trace header scan; nothing unless one of 0x33).
  // Returns 0, -101 when the file cannot be opened, or -9902 for a type
  // without a header dump.
  int DumpHeadersCommand(const std::string& path, int flags, int firstTrace, int lastTrace);
  // Prints the loaded section's own header copies; with neither box the binary
  // header alone. Returns -1 without a section.
  int DumpCurrentHeaders(bool textual, bool binary);

  const std::string& LastInputDir() const { return m_lastInputDir; }
  void SetLastInputDir(const std::string& dir);
  int LastFilter() const { return m_lastFilter; }
  void SetLastFilter(int index);
  const std::string& DisplayName() const { return m_displayName; }

  bool Splash() const { return m_splash; }
  void SetSplash(bool on) { m_splash = on; }
  bool Busy() const { return m_busy; }
  void SetBusy(bool busy) { m_busy = busy; }

 private:
  struct SavedView;
  SavedView ClearViews(const LoadParams& params);
  void DestroySection(const LoadParams& params);
  void ShowLoadedSection(const std::vector<std::string>& paths, const LoadParams& params,
                         const SavedView& saved, std::chrono::steady_clock::time_point start);
  void ApplyViewPosition(const LoadParams& params, const SavedView& saved);
  void RememberInput(const std::vector<std::string>& paths);
  void LoadFailed(const LoadParams& params);

  std::unique_ptr<SeismicSection> m_section;
  WorkspaceObserver* m_observer = nullptr;
  TraceViewObserver* m_view = nullptr;
  std::string m_lastInputDir;
  std::string m_displayName;
  int m_lastFilter = 1;
  bool m_splash = true;
  bool m_busy = false;
};

// The process-wide workspace, constructed on first use and destroyed at exit.
Workspace& TheWorkspace();
