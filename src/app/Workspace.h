// The one process-wide application object: owns the loaded section (at most
// one), the load and header dump commands, the remembered input folder and
// filter, the splash and busy flags. Windows see it through the observer
// interfaces; with none installed (kxtool, tests) it still loads and logs.
//
// Threads: user-interface thread only, except the resampling and time shift
// workers, which own the section while they run. No lock guards the section; while a
// background operation changes it the busy flag is set and the commands that
// would read it are refused (by the main window, and by the workspace's own
// commands that replace the section).
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/SaveParams.h"
#include "app/tools/HeaderWordsFields.h"
#include "formats/HeaderByteMap.h"
#include "formats/LoadParams.h"
#include "processing/Resample.h"
#include "processing/TimeShift.h"
#include "processing/TraceSort.h"

class MainViewLink;
class SeismicSection;
class TraceViewObserver;
class WorkspaceObserver;
struct LoadRefusal;
struct ViewSelection;

inline constexpr const char* kMainWindowTitle = " Kestrix  v1.85 April 2024";
inline constexpr const char* kNoDataInfoText = "\n\n\n  NO Data Loaded";
inline constexpr std::size_t kDisplayNameMaxChars = 128;

// Runs a task on the user-interface thread. The desktop program installs one
// that queues the task to its event loop and returns at once. Without one
// (kxtool, tests) a background command waits for its worker and finishes on
// the calling thread.
using UiPoster = std::function<void(std::function<void()>)>;

class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // Observers stay owned by their windows and hear every notification in the
  // order they were added. A window removes itself before it goes. Adding one
  // twice or removing one that is not there does nothing; an observer removed
  // during a notification (itself or another) gets no further call of it.
  void AddObserver(WorkspaceObserver* observer);
  void RemoveObserver(WorkspaceObserver* observer);
  // Owned by the main window; pass nullptr before it goes.
  void SetTraceView(TraceViewObserver* view) { m_view = view; }
  // The main trace view as tool windows reach it; null without a window
  // (kxtool, tests). Owned by the main window; pass nullptr before it goes.
  void SetMainView(MainViewLink* view) { m_mainView = view; }
  MainViewLink* MainView() const { return m_mainView; }

  // Changes made outside the workspace, told to every observer: the filter
  // panel redesigned or switched the active filter; the main view's highlight
  // (absolute trace, -1 none) or selection changed.
  void NotifyActiveFilterChanged();
  void NotifyHighlightChanged(int absoluteTrace);
  void NotifySelectionChanged(const ViewSelection& selection);
  // A tool edited header words of the loaded section in place (the binning's
  // midpoints): rescans it and shows its new Section Info text.
  void RescanSectionInfo();

  SeismicSection* Section() { return m_section.get(); }
  const SeismicSection* Section() const { return m_section.get(); }
  int TraceCount() const;

  // The load command's parameters: reset-display on, everything else default.
  static LoadParams DefaultLoadParams();
  // Replaces the section with the files read in order. Returns 0 when a section
  // with at least one timed trace is loaded, else kStatusRefused. When no file
  // gives a timed trace at its start (ProbeFileList) the load is refused before
  // anything changes and the section on screen stays; when the whole read then
  // finds none, there is no section. Either way the observers hear LoadRefused.
  // params without a header map get the workspace's (HeaderMap).
  int LoadDataset(const std::vector<std::string>& paths, LoadParams params);
  // The header byte map of the later loads (the "Header Mapping" dialog, the
  // settings file); never null, empty for the standard positions.
  const std::shared_ptr<const HeaderByteMap>& HeaderMap() const { return m_headerMap; }
  void SetHeaderMap(HeaderByteMap map);
  // The load command once its dialog returned: remembers the folder and filter, loads
  // with the default parameters and logs the load's duration.
  int LoadChosenFiles(const std::vector<std::string>& paths, int filterIndex);
  // The same with the parameters of the tolerant open.
  int LoadChosenFiles(const std::vector<std::string>& paths, int filterIndex, const LoadParams& params);
  // "Open tolerantly" of a refused load: the same files and parameters, tolerant.
  int LoadAgainTolerantly(const LoadRefusal& refusal);
  // The folder the open dialog starts in: the last input folder when it still
  // exists, with a trailing '/', else empty.
  std::string DialogStartFolder() const;

  // Prints the headers of one file (flags: 1 textual, 2 binary, 0x10 trace
  // headers first..last, 0x20 trace header scan; nothing unless one of 0x33).
  // Returns 0, kStatusOpenFailed when the file cannot be opened, or kStatusNoReader for a type
  // without a header dump.
  int DumpHeadersCommand(const std::string& path, int flags, int firstTrace, int lastTrace);
  // Prints the loaded section's own header copies; with neither box the binary
  // header alone. Returns kStatusRefused without a section.
  int DumpCurrentHeaders(bool textual, bool binary);

  const std::string& LastInputDir() const { return m_lastInputDir; }
  void SetLastInputDir(const std::string& dir);
  int LastFilter() const { return m_lastFilter; }
  void SetLastFilter(int index);
  const std::string& DisplayName() const { return m_displayName; }

  bool Splash() const { return m_splash; }
  void SetSplash(bool on) { m_splash = on; }
  bool Busy() const { return m_busy; }
  // The flag alone, without telling the observers.
  void SetBusy(bool busy) { m_busy = busy; }
  // Sets the flag and tells every observer (BusyChanged).
  void ChangeBusy(bool busy);

  // Set while no background command runs. A posted completion must run before
  // the workspace goes (the process-wide one lives until exit).
  void SetUiPoster(UiPoster poster) { m_poster = std::move(poster); }

  // The resample dialog's settings, kept between runs.
  ResampleSettings& Resampling() { return m_resample; }
  // The Save Dataset dialog's choices, and the header word export and import
  // dialogs' shared ones, kept for the run.
  SaveParams& SaveChoices() { return m_saveChoices; }
  HeaderWordsChoices& HeaderWords() { return m_headerWords; }
  // Resamples every trace to newInterval (s) on a worker thread of its own,
  // with the busy flag set until the completion has run on the user-interface
  // thread: active filter moved to the new Nyquist, views and tool windows
  // refreshed. progress is called on the worker thread and must not touch
  // the section. Returns 0 when started (finished already without a poster),
  // or a ResampleStart refusal. The run's own status is LastResampleStatus()
  // once Busy() is false again.
  enum ResampleStart : int {
    kResampleRefused = -1,   // busy, or no section
    kResampleNoThread = -2,  // the worker thread could not be started
  };
  int ResampleTraces(double newInterval, ResampleProgress progress = {});
  // 0, or ResampleSection's status of the last finished run (kStatusRefused bad interval,
  // kStatusNoMemory no memory: the section unchanged then).
  int LastResampleStatus() const { return m_resampleStatus; }
  // The sort dialog's keys, kept for the life of the program.
  SortParams& Sorting() { return m_sort; }
  // Sorts the trace list (SortSection's status) or puts back the load order
  // (RevertSort), then hands the new order and its ensembles to the main
  // view at its position, clears the Trace Info and tells the observers
  // (TracesReordered). kStatusRefused while busy or without a section of at
  // least 2 traces.
  int SortTraces(const SortParams& params);
  int RevertSortTraces();

  // True from the start of a background command until its completion ran.
  bool WorkerActive() const { return m_workerActive; }

  // The time shift dialog's settings, kept between runs.
  ShiftSettings& Shifting() { return m_shift; }
  // Stores settings as the run's and shifts every trace on a worker thread,
  // like ResampleTraces: busy set and the Trace Info cleared first; the
  // completion on the user-interface thread hands the section to the views
  // again (title, traces with their ensembles, Section and Trace Info,
  // TracesChanged) and clears busy. Returns 0 when started (finished already
  // without a poster) or a ResampleStart refusal; the run's own status is
  // LastShiftStatus() once Busy() is false again (ShiftSection's status).
  int ShiftTraces(const ShiftSettings& settings);
  int LastShiftStatus() const { return m_shiftStatus; }

  // Progress of a long operation, shown by the main window as a bar: Begin
  // and End on the user-interface thread, the callback of ProgressCallback()
  // from any thread in between. On the thread that called Begin the
  // observers hear it at once (marked blocking, so that the window repaints);
  // from another thread it goes through the UiPoster, one post pending at a
  // time, and is dropped without a poster. Reports closer than
  // kProgressIntervalMs to the previous one are skipped, except the last
  // (done >= total). A callback handed out before a later Begin or End
  // reports nothing more. A second Begin replaces the label.
  static constexpr int kProgressIntervalMs = 40;
  void BeginProgress(const std::string& label);
  void EndProgress();
  std::function<void(int64_t done, int64_t total)> ProgressCallback();
  bool ProgressRunning() const { return m_progressOn; }

 private:
  struct SavedView;
  SavedView ClearViews(const LoadParams& params);
  void DestroySection(const LoadParams& params);
  void ShowLoadedSection(const std::vector<std::string>& paths, const LoadParams& params,
                         const SavedView& saved, std::chrono::steady_clock::time_point start);
  void ApplyViewPosition(const LoadParams& params, const SavedView& saved);
  void RememberInput(const std::vector<std::string>& paths);
  void LoadFailed(const LoadParams& params);
  void RefuseLoad(const std::vector<std::string>& paths, const LoadParams& params,
                  std::vector<std::string> reasons);
  void TellRefusal(const std::vector<std::string>& paths, const LoadParams& params, bool kept,
                   std::vector<std::string> reasons);
  template <typename... Params, typename... Args>
  void Notify(void (WorkspaceObserver::*method)(Params...), const Args&... args);
  // Runs on the worker with the choices taken when the run started, so that
  // the dialogs may change them meanwhile.
  void FinishResample();
  void FinishShift();
  void JoinWorker();
  // Starts work on the worker thread with busy set; finish runs on the
  // user-interface thread afterwards (posted, or after a join without poster).
  int StartBackground(const char* what, std::function<void()> work, std::function<void()> finish);
  // The completion of a run that replaced traces: views and tools re-read the section.
  void HandTracesBack();
  void ReportProgress(uint32_t generation, int64_t done, int64_t total);
  void DeliverProgress(bool blocking);
  bool CanSort() const;
  void ShowSortedTraces();

  std::unique_ptr<SeismicSection> m_section;
  std::vector<WorkspaceObserver*> m_observers;
  TraceViewObserver* m_view = nullptr;
  MainViewLink* m_mainView = nullptr;
  std::string m_lastInputDir;
  std::string m_displayName;
  std::string m_title;
  int m_lastFilter = 1;
  bool m_splash = true;
  // Read by progress callbacks and tests on other threads.
  std::atomic<bool> m_busy{false};
  std::atomic<bool> m_workerActive{false};

  UiPoster m_poster;
  std::thread m_worker;
  ResampleSettings m_resample;
  SaveParams m_saveChoices;
  HeaderWordsChoices m_headerWords;
  std::shared_ptr<const HeaderByteMap> m_headerMap = std::make_shared<const HeaderByteMap>();
  SortParams m_sort;
  // Written by the worker before it posts its completion, read by the completion.
  ResampleReport m_resampleReport;
  int m_resampleStatus = 0;
  double m_resampleTarget = 0.0;
  ShiftSettings m_shift;
  int m_shiftStatus = 0;

  std::string m_progressLabel;
  bool m_progressOn = false;
  std::thread::id m_progressThread;
  std::atomic<uint32_t> m_progressGeneration{0};
  std::atomic<int64_t> m_progressDone{0};
  std::atomic<int64_t> m_progressTotal{0};
  std::atomic<int64_t> m_progressLastNs{0};  // steady clock of the last report; 0 none yet
  std::atomic<bool> m_progressPosted{false};
};

// The process-wide workspace, constructed on first use and destroyed at exit.
Workspace& TheWorkspace();
