// kestrix_screenshot FILE OUT.png [--wiggle|--color] [--palette N] [--pix-per-trace X] [--size WxH]
//                    [--basemap [--profile P.txt] [--hide SET]]
// Starts the main window on FILE as the desktop program does, switches the
// display mode, and saves the window's pixels (or the Basemap window's). Used to make the pictures in
// docs/; not installed.
#include <QApplication>
#include <QCheckBox>
#include <QPixmap>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "app/SettingsFile.h"
#include "app/Workspace.h"
#include "display/DisplayRules.h"
#include "formats/ProfileText.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/settings/SettingsPanel.h"
#include "gui/tools/Basemap.h"
#include "gui/traceview/TraceViewWidget.h"
#include "log/Log.h"

namespace {
struct Options {
  QString file;
  QString out;
  int mode = 0;  // 0 as loaded
  int palette = -1;
  double pixPerTrace = 0.0;  // 0: as loaded
  int width = 1280;
  int height = 800;
  bool basemap = false;  // the Basemap window instead of the main window
  QString profile;       // a polyline file shown on the basemap
  QStringList hidden;    // basemap sets left out ("Receivers", ...)
};

bool ParseArgs(const QStringList& args, Options* o) {
  QStringList plain;
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == "--wiggle")
      o->mode = kDisplayWiggle;
    else if (a == "--color")
      o->mode = kDisplayColor;
    else if (a == "--pix-per-trace" && i + 1 < args.size())
      o->pixPerTrace = args[++i].toDouble();
    else if (a == "--basemap")
      o->basemap = true;
    else if (a == "--profile" && i + 1 < args.size())
      o->profile = args[++i];
    else if (a == "--hide" && i + 1 < args.size())
      o->hidden << args[++i];
    else if (a == "--palette" && i + 1 < args.size())
      o->palette = args[++i].toInt();
    else if (a == "--size" && i + 1 < args.size()) {
      const QStringList wh = args[++i].split('x');
      if (wh.size() != 2) return false;
      o->width = wh[0].toInt();
      o->height = wh[1].toInt();
    } else
      plain << a;
  }
  if (plain.size() != 2 || o->width < 444 || o->height < 312) return false;
  o->file = plain[0];
  o->out = plain[1];
  return true;
}

// The Basemap window over the loaded file, with a profile when given.
QWidget* ShowBasemap(MainWindow& w, const Options& o) {
  w.ShowBasemap();
  Basemap* map = w.BasemapWindow();
  map->resize(o.width, o.height);
  for (int set : {kMapCdps, kMapReceivers, kMapSources})
    if (o.hidden.contains(map->SetBox(set)->text())) map->SetBox(set)->setChecked(false);
  if (!o.profile.isEmpty()) {
    std::vector<ProfilePoint> points;
    if (LoadProfileText(o.profile.toStdString(), &points) != 0) return nullptr;
    map->Profile().SetPoints(points);
    map->ProfileBox()->setChecked(true);
    map->ChooseAction(kActionSelect);
  }
  QTest::qWait(200);
  map->FullExtent();
  QTest::qWait(200);
  return map;
}
}  // namespace

int main(int argc, char** argv) {
  std::atexit(ConsoleClose);
  Workspace& workspace = TheWorkspace();
  ConsoleOpen();
  QApplication app(argc, argv);
  Options o;
  if (!ParseArgs(app.arguments(), &o)) {
    std::fprintf(stderr,
                 "usage: kestrix_screenshot FILE OUT.png [--wiggle|--color] [--palette 0..3] "
                 "[--pix-per-trace X] [--size WxH] [--basemap [--profile P.txt] [--hide SET]]\n");
    return 2;
  }
  ConsoleWidget console;
  SettingsFileValues values;
  values.wndX = 0;
  values.wndY = 0;
  values.wndW = o.width;
  values.wndH = o.height;
  std::unique_ptr<MainWindow> w =
      StartMainWindow(workspace, &console, values, {"kestrix", o.file}, QRect(0, 0, 4096, 4096));
  w->resize(o.width, o.height);
  QTest::qWait(200);
  TraceViewWidget* view = w->TraceView();
  if (!view->HasData()) {
    std::fprintf(stderr, "no traces in %s\n", qPrintable(o.file));
    return 1;
  }
  DisplayParams& p = view->Params();
  if (o.palette >= 0) SelectDensityPalette(&p, o.palette);
  if (o.mode != 0) p.m_displayMode = o.mode;
  if (o.pixPerTrace > 0.0) p.m_pixPerTrace = LimitPixPerTrace(o.pixPerTrace);
  view->DisplayChanged(1);
  view->setFocus();
  w->Panel()->AttachView(view);
  QTest::qWait(200);
  QWidget* shown = o.basemap ? ShowBasemap(*w, o) : w.get();
  if (!shown || !shown->grab().save(o.out)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(o.out));
    return 1;
  }
  return 0;
}
