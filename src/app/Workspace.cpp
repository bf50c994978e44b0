#include "app/Workspace.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <new>
#include <system_error>

#include "app/AppSettings.h"
#include "app/LoadRefusalText.h"
#include "app/TextInput.h"
#include "app/TraceViewObserver.h"
#include "app/WorkspaceObserver.h"
#include "display/DisplayRules.h"
#include "formats/DumpHeaders.h"
#include "formats/LoadFileList.h"
#include "formats/ProbeFiles.h"
#include "formats/SegyDump.h"
#include "log/Log.h"
#include "log/Status.h"
#include "processing/ActiveFilter.h"
#include "section/SeismicSection.h"
#include "section/Utf8Text.h"

namespace {
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

// The dialog returns files that exist; a single path naming a folder means
// the whole folder was chosen.
bool NamesFolder(const std::vector<std::string>& paths) {
  std::error_code ec;
  return paths.size() == 1 && std::filesystem::is_directory(paths[0], ec);
}

std::string PathListText(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& p : paths) text += (text.empty() ? "" : "  ") + p;
  return text;
}

std::filesystem::path AbsolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? std::filesystem::path(path) : p;
}

std::string CutChars(const std::string& text, std::size_t maxChars) {
  return text.substr(0, Utf8PrefixBytes(text, maxChars));
}
}  // namespace

// What the view showed before a load, for keep-view-position.
struct Workspace::SavedView {
  bool valid = false;
  int selectedTrace = -1;
  int32_t firstTrace = 0;
  double startTime = 0.0;
  double pixPerTrace = 5.0;
  double pixPerSec = 1000.0;
};

Workspace::Workspace() = default;

// Each call goes to the observers registered when the notification began
// that are still registered when their turn comes.
template <typename... Params, typename... Args>
void Workspace::Notify(void (WorkspaceObserver::*method)(Params...), const Args&... args) {
  const std::vector<WorkspaceObserver*> observers = m_observers;
  for (WorkspaceObserver* o : observers)
    if (std::find(m_observers.begin(), m_observers.end(), o) != m_observers.end()) (o->*method)(args...);
}

void Workspace::AddObserver(WorkspaceObserver* observer) {
  if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
    m_observers.push_back(observer);
}

void Workspace::RemoveObserver(WorkspaceObserver* observer) {
  std::erase(m_observers, observer);
}

void Workspace::NotifyActiveFilterChanged() {
  Notify(&WorkspaceObserver::ActiveFilterChanged);
}

void Workspace::NotifyHighlightChanged(int absoluteTrace) {
  Notify(&WorkspaceObserver::HighlightChanged, absoluteTrace);
}

void Workspace::RescanSectionInfo() {
  if (!m_section) return;
  m_section->Scan();
  Notify(&WorkspaceObserver::SetSectionInfo, m_section->m_sectionInfo);
}

void Workspace::NotifySelectionChanged(const ViewSelection& selection) {
  Notify(&WorkspaceObserver::SelectionChanged, selection);
}

Workspace::~Workspace() {
  JoinWorker();
}

int Workspace::TraceCount() const {
  return m_section ? m_section->Count() : 0;
}

LoadParams Workspace::DefaultLoadParams() {
  LoadParams p;
  p.resetDisplay = 1;
  return p;
}

void Workspace::SetHeaderMap(HeaderByteMap map) {
  // A load in progress keeps the map it started with.
  m_headerMap = std::make_shared<const HeaderByteMap>(std::move(map));
  if (m_headerMap->Empty())
    LogPrint(LogStep, "header mapping: standard positions");
  else
    LogPrint(LogStep, "header mapping: %s", m_headerMap->Text().c_str());
}

void Workspace::SetLastInputDir(const std::string& dir) {
  m_lastInputDir = CutChars(dir, 384);
}

void Workspace::SetLastFilter(int index) {
  if (index >= 1 && index <= 5) m_lastFilter = index;
}

std::string Workspace::DialogStartFolder() const {
  std::error_code ec;
  if (m_lastInputDir.empty() || !std::filesystem::is_directory(m_lastInputDir, ec)) return "";
  return m_lastInputDir.back() == '/' ? m_lastInputDir : m_lastInputDir + "/";
}

int Workspace::LoadChosenFiles(const std::vector<std::string>& paths, int filterIndex) {
  return LoadChosenFiles(paths, filterIndex, DefaultLoadParams());
}

int Workspace::LoadChosenFiles(const std::vector<std::string>& paths, int filterIndex,
                               const LoadParams& params) {
  if (paths.empty()) return kStatusRefused;
  // The dialog's folder is remembered whatever the load then finds.
  std::filesystem::path first = AbsolutePath(paths[0]);
  SetLastInputDir(NamesFolder(paths) ? first.string() : first.parent_path().string());
  SetLastFilter(filterIndex);
  Clock::time_point t0 = Clock::now();
  int rc = LoadDataset(paths, params);
  LogPrint(LogStep, "Load Dataset in %.3lfs (file count=%d)", SecondsSince(t0),
           static_cast<int>(paths.size()));
  return rc;
}

int Workspace::LoadAgainTolerantly(const LoadRefusal& refusal) {
  // A copy: the load tells its observers of a new refusal, and the one passed in may be theirs.
  const LoadRefusal asked = refusal;
  if (asked.paths.empty()) return kStatusRefused;
  Clock::time_point t0 = Clock::now();
  int rc = LoadDataset(asked.paths, TolerantRetryParams(asked));
  LogPrint(LogStep, "Load Dataset in %.3lfs (file count=%d)", SecondsSince(t0),
           static_cast<int>(asked.paths.size()));
  return rc;
}

int Workspace::LoadDataset(const std::vector<std::string>& paths, LoadParams params) {
  if (m_workerActive) {
    // The worker owns the section; destroying it now would pull it away mid-run.
    LogPrint(LogWarning, "WARNING: load refused while a background operation runs");
    return kStatusRefused;
  }
  Clock::time_point t0 = Clock::now();
  if (!params.headerMap) params.headerMap = m_headerMap;
  Notify(&WorkspaceObserver::SetBusyCursor, true);
  // The old section goes before the new one is read, to free its memory; the
  // check that the files hold data needs none, so a file that cannot be read
  // leaves the section on screen, and any unsaved processing of it, alone.
  ProbeResult probe = ProbeFileList(paths, params);
  if (probe.firstReadable < 0) {
    Notify(&WorkspaceObserver::SetBusyCursor, false);
    RefuseLoad(paths, params, std::move(probe.reasons));
    return kStatusRefused;
  }
  SavedView saved = ClearViews(params);
  DestroySection(params);
  const bool ownProgress = !params.progress;
  if (ownProgress) {
    BeginProgress("loading");
    params.progress = ProgressCallback();
  }
  // The old section is gone before the new one is read: views never see two.
  std::unique_ptr<SeismicSection> section(new (std::nothrow) SeismicSection(1));
  if (!section) LogPrint(LogError, "\nERROR: memory allocation of %zu bytes FAILED", sizeof(SeismicSection));
  int timed = 0;
  if (section) {
    LoadFileList(*section, paths, params);
    timed = section->Scan();
  }
  if (ownProgress) {
    params.progress = nullptr;
    EndProgress();
  }
  if (timed > 0) {
    m_section = std::move(section);
    ShowLoadedSection(paths, params, saved, t0);
  } else {
    section.reset();
  }
  Notify(&WorkspaceObserver::SetBusyCursor, false);
  if (m_section) return 0;
  LoadFailed(params);
  TellRefusal(paths, params, false, {});
  return kStatusRefused;
}

void Workspace::RefuseLoad(const std::vector<std::string>& paths, const LoadParams& params,
                           std::vector<std::string> reasons) {
  if (!m_section) {
    // Nothing on screen to keep: the usual end of a load without data.
    LoadFailed(params);
  } else {
    LogPrint(LogError, "\n\nNO SEISMIC DATA loaded\n");
    LogPrint(LogError, "the section on screen (%d traces) is kept", m_section->Count());
    ConsoleRaise();
  }
  TellRefusal(paths, params, m_section != nullptr, std::move(reasons));
}

void Workspace::TellRefusal(const std::vector<std::string>& paths, const LoadParams& params, bool kept,
                            std::vector<std::string> reasons) {
  LoadRefusal r;
  r.paths = paths;
  r.params = params;
  r.params.progress = nullptr;
  r.params.heap = nullptr;
  r.sectionKept = kept;
  r.reasons = std::move(reasons);
  Notify(&WorkspaceObserver::LoadRefused, r);
}

Workspace::SavedView Workspace::ClearViews(const LoadParams& params) {
  SavedView saved;
  if (m_view && m_view->HasData()) {
    const DisplayParams& p = m_view->Params();
    saved = {true, m_view->SelectedTrace(), p.m_firstTrace, p.m_startTime, p.m_pixPerTrace, p.m_pixPerSec};
  }
  // The next file is fitted by its own rule, not shown at the last one's scales.
  if (m_view && params.resetDisplay && !params.keepViewPosition) ResetForNewDataset(&m_view->Params());
  if (saved.valid) {
    m_view->Clear();
    if (params.resetDisplay) {
      m_view->RefreshDisplay();
      Notify(&WorkspaceObserver::SetSectionInfo, kNoDataInfoText);
      Notify(&WorkspaceObserver::SetTraceInfo, -1);
    }
  }
  Notify(&WorkspaceObserver::SectionClearing);
  return saved;
}

void Workspace::DestroySection(const LoadParams& params) {
  if (!m_section) return;
  Clock::time_point t0 = Clock::now();
  m_section.reset();
  LogPrint(LogError, "\ndeleted SeismicSection in %.3lf ms", SecondsSince(t0) * 1000.0);
  if (params.resetDisplay) Notify(&WorkspaceObserver::SetTitle, kMainWindowTitle);
}

void Workspace::ShowLoadedSection(const std::vector<std::string>& paths, const LoadParams& params,
                                  const SavedView& saved, Clock::time_point t0) {
  double readSeconds = SecondsSince(t0);
  SeismicSection& s = *m_section;
  ActiveFilterDatasetLoaded(s.Summary().minInterval);
  m_resample.currentInterval = s.Summary().minInterval;
  Notify(&WorkspaceObserver::ActiveFilterChanged);
  if (m_view) {
    m_view->ShowTraces(s.Traces(), s.Summary(), s.Ensembles());
    DisplayParams& p = m_view->Params();
    double span = s.Summary().maxTime - s.Summary().minTime;
    if (p.m_agcWindow > 0.5 * span || p.m_agcWindow < 11.0 * s.Summary().minInterval)
      p.m_agcWindow = DBLE_UNDEF;
    ApplyViewPosition(params, saved);
  }
  m_title = PathListText(paths);
  Notify(&WorkspaceObserver::SetSectionInfo, s.m_sectionInfo);
  Notify(&WorkspaceObserver::SetTitle, m_title);
  Notify(&WorkspaceObserver::EnableDataMenus, true);
  if (m_splash) {
    m_splash = false;
    Notify(&WorkspaceObserver::ShowPanelsAndView);
  } else if (!params.keepDisplay && m_view) {
    m_view->RefreshDisplay();
  }
  int selected = m_view ? m_view->SelectedTrace() : -1;
  if (selected >= 0 || !params.resetDisplay) Notify(&WorkspaceObserver::SetTraceInfo, selected);
  Notify(&WorkspaceObserver::SectionLoaded, s, params);
  RememberInput(paths);
  LogPrint(LogError, "%d traces read in %.3lfs", s.Count(), readSeconds);
  LogPrint(LogError, "max smp=%d  Tmin=%.3lfms  Tmax=%.3lfms  max|Amp|=%14.7e", s.Summary().maxSamples,
           s.Summary().minTime * 1000.0, s.Summary().maxTime * 1000.0,
           static_cast<double>(s.Summary().maxAmplitude));
  LogPrint(LogError, "Total load & display time = %.3lfs\n", SecondsSince(t0));
}

void Workspace::ApplyViewPosition(const LoadParams& params, const SavedView& saved) {
  DisplayParams& p = m_view->Params();
  int count = m_view->TraceCount();
  if (params.keepViewPosition && saved.valid) {
    p.m_firstTrace = saved.firstTrace < count ? saved.firstTrace : 0;
    p.m_startTime = saved.startTime;
    p.m_pixPerTrace = saved.pixPerTrace;
    p.m_pixPerSec = saved.pixPerSec;
    // A trace number beyond the new section selects nothing.
    m_view->SetSelectedTrace(saved.selectedTrace < count ? saved.selectedTrace : -1);
    return;
  }
  const SeismicSection& s = *m_section;
  p.m_firstTrace = 0;
  p.m_startTime = s.Summary().minTime;
  if (count > 24) return;
  p.m_displayMode = kDisplayWiggle;
  int width = 0, height = 0;
  m_view->PlotSize(&width, &height);
  p.m_pixPerTrace = FitPixPerTrace(width, count);
  p.m_pixPerSec = FitPixPerSec(height, s.Summary().minTime, s.Summary().maxTime, m_view->SampleCount());
}

void Workspace::RememberInput(const std::vector<std::string>& paths) {
  namespace fs = std::filesystem;
  if (paths.empty()) return;
  // Absolute, so that the folder still means the same after a start elsewhere.
  fs::path first = AbsolutePath(paths[0]);
  if (NamesFolder(paths)) {
    fs::path folder = first.has_filename() ? first : first.parent_path();
    SetLastInputDir(folder.string());
    m_displayName = CutChars(folder.filename().string() + "/*", kDisplayNameMaxChars);
    return;
  }
  SetLastInputDir(first.parent_path().string());
  m_displayName = CutChars(first.stem().string() + first.extension().string(), kDisplayNameMaxChars);
}

void Workspace::LoadFailed(const LoadParams& params) {
  Notify(&WorkspaceObserver::SectionLost);
  if (!params.resetDisplay) {
    if (m_view) m_view->RefreshDisplay();
    Notify(&WorkspaceObserver::SetSectionInfo, kNoDataInfoText);
    Notify(&WorkspaceObserver::SetTraceInfo, -1);
  }
  Notify(&WorkspaceObserver::EnableDataMenus, false);
  LogPrint(LogError, "\n\nNO SEISMIC DATA loaded\n");
  ConsoleRaise();
}

int Workspace::DumpHeadersCommand(const std::string& path, int flags, int firstTrace, int lastTrace) {
  if (!(flags & 0x33)) return 0;
  // The dump prints its banner, reports unknown types, ends with blank lines
  // and raises the console.
  return DumpHeadersFile(path, flags, firstTrace, lastTrace);
}

int Workspace::DumpCurrentHeaders(bool textual, bool binary) {
  if (!m_section) return kStatusRefused;
  if (textual) DumpTextualHeader(m_section->m_textualHeader, LogAlways);
  if (binary || !textual) DumpBinaryHeader(m_section->m_binaryHeader, LogAlways);
  ConsoleRaise();
  return 0;
}

void Workspace::ChangeBusy(bool busy) {
  m_busy = busy;
  Notify(&WorkspaceObserver::BusyChanged, busy);
}

int Workspace::ResampleTraces(double newInterval, ResampleProgress progress) {
  if (m_busy || m_workerActive || !m_section) {
    LogPrint(LogWarning, "WARNING: resampling refused: %s", m_section ? "busy" : "no section loaded");
    return kResampleRefused;
  }
  m_resample.newInterval = newInterval;
  BeginProgress("resampling");
  ResampleProgress report = [bar = ProgressCallback(), progress = std::move(progress)](int32_t d, int32_t t) {
    bar(d, t);
    if (progress) progress(d, t);
  };
  // The worker reads its own copies: the dialog may change the kept settings meanwhile.
  auto work = [this, newInterval, lowPass = m_resample.applyLowPass, threads = Settings().numThreads,
               report = std::move(report)] {
    ResampleReport r;
    m_resampleStatus = ResampleSection(*m_section, newInterval, lowPass, threads, report, &r);
    m_resampleReport = r;
    m_resampleTarget = newInterval;
  };
  return StartBackground("ResampleTraces", std::move(work), [this] { FinishResample(); });
}

void Workspace::FinishResample() {
  if (m_resampleStatus == 0 && m_section) {
    const SeismicSection& s = *m_section;
    m_resample.currentInterval = m_resampleTarget;
    // The corners stay fractions of Nyquist, so their Hz follow the new rate.
    ActiveFilterDatasetLoaded(m_resampleTarget);
    if (m_view) {
      m_view->ShowTraces(s.Traces(), s.Summary(), s.Ensembles());
      m_view->SetSelectedTrace(-1);
      m_view->RefreshDisplay();
    }
    Notify(&WorkspaceObserver::SetTitle, m_title);
    Notify(&WorkspaceObserver::ActiveFilterChanged);
    Notify(&WorkspaceObserver::SetSectionInfo, s.m_sectionInfo);
    Notify(&WorkspaceObserver::SetTraceInfo, -1);
    Notify(&WorkspaceObserver::TracesChanged, s);
    if (m_resampleReport.failed > 0)
      LogPrint(LogError, "\nERROR: %d traces could not be resampled (no memory) and keep their interval",
               m_resampleReport.failed);
  } else if (m_resampleStatus != 0) {
    LogPrint(LogError, "\nERROR: resampling failed (status %d), the section is unchanged", m_resampleStatus);
  }
  EndProgress();
  m_workerActive = false;
  ChangeBusy(false);
}

int Workspace::ShiftTraces(const ShiftSettings& settings) {
  if (m_busy || m_workerActive || !m_section) {
    LogPrint(LogWarning, "WARNING: time shift refused: %s", m_section ? "busy" : "no section loaded");
    return kResampleRefused;
  }
  m_shift = settings;
  // The worker reads its own copies: the dialog may change the kept settings meanwhile.
  const int threads = Settings().numThreads;
  BeginProgress("shifting");
  auto work = [this, settings, threads, bar = ProgressCallback()] {
    m_shiftStatus = ShiftSection(*m_section, settings, threads, bar);
  };
  return StartBackground("ShiftTraces", work, [this] { FinishShift(); });
}

void Workspace::FinishShift() {
  if (m_section) HandTracesBack();
  if (m_shiftStatus == kStatusNoMemory)
    LogPrint(LogError, "\nERROR: some traces could not be shifted (no memory) and stay as they were");
  EndProgress();
  m_workerActive = false;
  ChangeBusy(false);
}

void Workspace::HandTracesBack() {
  const SeismicSection& s = *m_section;
  Notify(&WorkspaceObserver::SetTitle, m_title);
  if (m_view) {
    m_view->ShowTraces(s.Traces(), s.Summary(), s.Ensembles());
    m_view->SetSelectedTrace(-1);
    m_view->RefreshDisplay();
  }
  Notify(&WorkspaceObserver::SetSectionInfo, s.m_sectionInfo);
  Notify(&WorkspaceObserver::SetTraceInfo, -1);
  Notify(&WorkspaceObserver::TracesChanged, s);
}

int Workspace::StartBackground(const char* what, std::function<void()> work, std::function<void()> finish) {
  JoinWorker();  // the previous run's thread, already past its work
  m_workerActive = true;
  ChangeBusy(true);
  // The Trace Info panel reads a trace that is about to be replaced.
  Notify(&WorkspaceObserver::SetTraceInfo, -1);
  try {
    m_worker = std::thread([this, work = std::move(work), finish]() mutable {
      work();
      // The poster's queue orders the work's writes before the completion reads them.
      if (m_poster) m_poster(std::move(finish));
    });
  } catch (const std::system_error& e) {
    LogPrint(LogError, "\n\nERROR: %s thread creation failed\n", what);
    LogPrint(LogError, "%s", e.what());
    ConsoleRaise();
    EndProgress();
    m_workerActive = false;
    ChangeBusy(false);
    return kResampleNoThread;
  }
  if (!m_poster) {
    JoinWorker();
    finish();
  }
  return 0;
}

void Workspace::BeginProgress(const std::string& label) {
  ++m_progressGeneration;
  m_progressOn = true;
  m_progressLabel = label;
  m_progressThread = std::this_thread::get_id();
  m_progressDone = 0;
  m_progressTotal = 0;
  m_progressLastNs = 0;
  Notify(&WorkspaceObserver::ProgressChanged, ProgressInfo{true, label, 0, 0, false});
}

void Workspace::EndProgress() {
  if (!m_progressOn) return;
  ++m_progressGeneration;
  m_progressOn = false;
  Notify(&WorkspaceObserver::ProgressChanged, ProgressInfo{false, m_progressLabel, 0, 0, false});
}

std::function<void(int64_t, int64_t)> Workspace::ProgressCallback() {
  const uint32_t generation = m_progressGeneration;
  return [this, generation](int64_t done, int64_t total) { ReportProgress(generation, done, total); };
}

void Workspace::ReportProgress(uint32_t generation, int64_t done, int64_t total) {
  if (generation != m_progressGeneration) return;
  m_progressDone = done;
  m_progressTotal = total;
  const int64_t now =
      std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
  int64_t last = m_progressLastNs;
  const bool end = total > 0 && done >= total;
  if (!end && last != 0 && now - last < kProgressIntervalMs * 1000000LL) return;
  // One reporter wins a slot; OpenMP threads may report together.
  if (!m_progressLastNs.compare_exchange_strong(last, now)) return;
  if (std::this_thread::get_id() == m_progressThread) {
    DeliverProgress(true);
    return;
  }
  if (!m_poster || m_progressPosted.exchange(true)) return;
  m_poster([this, generation] {
    m_progressPosted = false;
    if (generation == m_progressGeneration) DeliverProgress(false);
  });
}

void Workspace::DeliverProgress(bool blocking) {
  Notify(&WorkspaceObserver::ProgressChanged,
         ProgressInfo{true, m_progressLabel, m_progressDone.load(), m_progressTotal.load(), blocking});
}

void Workspace::JoinWorker() {
  if (m_worker.joinable() && m_worker.get_id() != std::this_thread::get_id()) m_worker.join();
}

bool Workspace::CanSort() const {
  if (m_busy || m_workerActive) return false;
  if (!m_section || m_section->Count() < 2) {
    LogPrint(LogWarning, "WARNING: a section of fewer than 2 traces cannot be sorted");
    return false;
  }
  return true;
}

int Workspace::SortTraces(const SortParams& params) {
  if (!CanSort()) return kStatusRefused;
  int rc = SortSection(*m_section, params);
  ShowSortedTraces();
  return rc;
}

int Workspace::RevertSortTraces() {
  if (!CanSort()) return kStatusRefused;
  // The user's keys stay as they are: the revert sorts on its own key.
  int rc = RevertSort(*m_section);
  ShowSortedTraces();
  return rc;
}

void Workspace::ShowSortedTraces() {
  const SeismicSection& s = *m_section;
  if (m_view) {
    // A sort moves the traces under the view, not the view: keep its window
    // onto the section (the full view's, when an ensemble was shown).
    DisplayParams& p = m_view->Params();
    bool ensemble = p.m_ensembleView != 0;
    int first = ensemble ? p.m_otherView.firstTrace : p.m_firstTrace;
    double start = ensemble ? p.m_otherView.startTime : p.m_startTime;
    m_view->ShowTraces(s.Traces(), s.Summary(), s.Ensembles());
    p.m_firstTrace = first < s.Count() ? first : 0;
    p.m_startTime = start;
    m_view->SetSelectedTrace(-1);
    m_view->RefreshDisplay();
  }
  Notify(&WorkspaceObserver::SetTraceInfo, -1);
  Notify(&WorkspaceObserver::TracesReordered, s);
}

Workspace& TheWorkspace() {
  static Workspace workspace;
  return workspace;
}
