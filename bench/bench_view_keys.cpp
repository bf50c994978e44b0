// Responsiveness of the desktop trace view: Right-arrow presses on a shown
// 1280 x 800 view of a 100,000-trace section (1,000 samples each), in wiggle
// and in colour mode. One iteration is one key press handled in full: the
// key event, the scroll and redraw of the raster, and the repaint of the
// widget (the paint event is counted so a step without one is an error).
// The redraw and the repaint are also timed apart.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/AppSettings.h"
#include "app/SynthSurvey.h"
#include "gui/traceview/TraceViewWidget.h"
#include "section/SeismicSection.h"

namespace {

constexpr int kTraces = 100000;
constexpr int kSamples = 1000;
constexpr int kWidth = 1280;
constexpr int kHeight = 800;

// Counts the paint events the widget receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

struct Scene {
  SeismicSection section;
  std::unique_ptr<TraceViewWidget> view;
  PaintCounter counter;
};

// Made once before anything is timed; gone before the application object.
std::unique_ptr<Scene> g_scene;

Scene& TheScene() {
  if (g_scene) return *g_scene;
  g_scene = std::make_unique<Scene>();
  Scene& s = *g_scene;
  SynthParams p;
  p.shots = kTraces / 1000;
  p.channels = 1000;
  p.samples = kSamples;
  if (MakeSynthSurvey(s.section, p) != kTraces) std::abort();
  s.view = std::make_unique<TraceViewWidget>();
  s.view->resize(kWidth, kHeight);
  s.view->show();
  s.view->installEventFilter(&s.counter);
  s.view->ShowTraces(s.section.Traces(), s.section.Summary(), s.section.Ensembles());
  s.view->RefreshDisplay();
  QCoreApplication::processEvents();
  return s;
}

void BM_RightKeySteps(benchmark::State& state) {
  Scene& scene = TheScene();
  TraceViewWidget& view = *scene.view;
  view.Params().m_displayMode = static_cast<int>(state.range(0));
  view.Params().m_firstTrace = 0;
  view.DisplayChanged(1);
  QCoreApplication::processEvents();
  double maxMs = 0.0;
  for (auto _ : state) {
    const int paintsBefore = scene.counter.paints;
    const int firstBefore = view.Params().m_firstTrace;
    const auto t0 = std::chrono::steady_clock::now();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&view, &press);
    QCoreApplication::processEvents();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    maxMs = std::max(maxMs, ms);
    if (scene.counter.paints == paintsBefore || view.Params().m_firstTrace != firstBefore + 1) {
      state.SkipWithError("a key press did not scroll and repaint the view");
      break;
    }
  }
  state.counters["max_ms"] = maxMs;
  state.counters["traces_per_page"] = view.Plotter().TracesPerPage();
  state.counters["display_threads"] = Settings().displayThreads;
}
BENCHMARK(BM_RightKeySteps)
    ->ArgName("mode")
    ->Arg(kDisplayWiggle)
    ->Arg(kDisplayColor)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

// The two halves of a step: the raster redraw alone, and the repaint of the
// widget from an unchanged raster.
void BM_RedrawOnly(benchmark::State& state) {
  TraceViewWidget& view = *TheScene().view;
  view.Params().m_displayMode = static_cast<int>(state.range(0));
  view.DisplayChanged(1);
  for (auto _ : state) view.Plotter().Redraw();
}
BENCHMARK(BM_RedrawOnly)
    ->ArgName("mode")
    ->Arg(kDisplayWiggle)
    ->Arg(kDisplayColor)
    ->Unit(benchmark::kMillisecond);

void BM_RepaintOnly(benchmark::State& state) {
  TraceViewWidget& view = *TheScene().view;
  for (auto _ : state) view.repaint();
}
BENCHMARK(BM_RepaintOnly)->Unit(benchmark::kMillisecond);

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string line;
  std::getline(in, line);
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TheScene();
  std::printf("load average before: %s\n", LoadAverage().c_str());
  benchmark::RunSpecifiedBenchmarks();
  std::printf("load average after: %s\n", LoadAverage().c_str());
  benchmark::Shutdown();
  g_scene.reset();
  return 0;
}
