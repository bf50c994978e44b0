// kestrix_screenshot FILE OUT.png [--wiggle|--color] [--palette N] [--pix-per-trace X] [--size WxH]
//                    [--manual [--anchor HEADING]] [--save-dialog] [--band-pass LOW HIGH] [--spectrum]
//                    [--basemap [--profile P.txt] [--hide SET]] [--file-selector]
// Starts the main window on FILE as the desktop program does, switches the
// display mode, and saves the window's pixels, or those of one tool window
// opened on the file (--manual: the Help > Manual window, scrolled to a
// heading's anchor when given; --save-dialog: the Save Dataset dialog;
// --spectrum: the spectrum window showing all four curves; --basemap: the
// Basemap window). --band-pass sets a band pass (Hz) in the filter panel,
// switches " Use Filter" on and puts the panel beside the window;
// --file-selector shows the File Selector on FILE's folder beside it. Used to
// make the pictures in docs/; not installed.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/MainViewLink.h"
#include "app/SaveParams.h"
#include "app/SettingsFile.h"
#include "app/Workspace.h"
#include "display/DisplayRules.h"
#include "formats/ProfileText.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/ManualWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/settings/SettingsPanel.h"
#include "gui/tools/AmpSpectrumWindow.h"
#include "gui/tools/Basemap.h"
#include "gui/tools/FileSelectorWindow.h"
#include "gui/tools/FilterPanel.h"
#include "gui/tools/SaveDatasetDialog.h"
#include "gui/traceview/TraceViewWidget.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {
struct Options {
  QString file;
  QString out;
  int mode = 0;  // 0 as loaded
  int palette = -1;
  double pixPerTrace = 0.0;  // 0: as loaded
  int width = 1280;
  int height = 800;
  bool manual = false;
  QString anchor;
  bool saveDialog = false;
  QString bandLow, bandHigh;  // empty: no filter panel
  bool spectrum = false;
  bool basemap = false;  // the Basemap window instead of the main window
  QString profile;       // a polyline file shown on the basemap
  QStringList hidden;    // basemap sets left out ("Receivers", ...)
  bool fileSelector = false;
};

// The middle trace, its filtered twin, the whole section and a block of
// traces over the middle of the record.
QWidget* ShowSpectrum(Workspace& workspace, MainWindow& w) {
  w.ShowSpectrum();
  AmpSpectrumWindow* sw = w.SpectrumWindow();
  const SeismicSection* s = workspace.Section();
  if (!sw || !s) return nullptr;
  const int n = s->Count();
  const double t0 = s->Summary().minTime, span = s->Summary().maxTime - t0;
  workspace.MainView()->SelectTrace(n / 2);
  sw->FilteredBox()->setChecked(true);
  sw->WholeBox()->setChecked(true);
  workspace.NotifySelectionChanged({n / 4, n / 2, t0 + 0.2 * span, t0 + 0.6 * span});
  sw->RangeBox()->setChecked(true);
  sw->resize(760, 480);
  return sw;
}

bool ParseArgs(const QStringList& args, Options* o) {
  QStringList plain;
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == "--wiggle")
      o->mode = kDisplayWiggle;
    else if (a == "--spectrum")
      o->spectrum = true;
    else if (a == "--color")
      o->mode = kDisplayColor;
    else if (a == "--file-selector")
      o->fileSelector = true;
    else if (a == "--pix-per-trace" && i + 1 < args.size())
      o->pixPerTrace = args[++i].toDouble();
    else if (a == "--manual")
      o->manual = true;
    else if (a == "--anchor" && i + 1 < args.size())
      o->anchor = args[++i];
    else if (a == "--save-dialog")
      o->saveDialog = true;
    else if (a == "--band-pass" && i + 2 < args.size()) {
      o->bandLow = args[++i];
      o->bandHigh = args[++i];
    } else if (a == "--basemap")
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

// The File Selector opened beside the main window on the loaded file's folder,
// with that file selected, drawn to the right of the main window's picture.
QPixmap WithFileSelector(MainWindow& w, const QPixmap& main, const QString& name) {
  w.ShowFileSelector();
  FileSelectorWindow* selector = w.FileSelector();
  selector->resize(300, main.height());
  QList<QTreeWidgetItem*> found = selector->List()->findItems(name, Qt::MatchExactly);
  if (!found.isEmpty()) selector->List()->setCurrentItem(found.first());
  QTest::qWait(200);
  QPixmap list = selector->grab();
  QPixmap out(main.width() + 4 + list.width(), std::max(main.height(), list.height()));
  out.fill(QColor(0x60, 0x60, 0x60));
  QPainter painter(&out);
  painter.drawPixmap(0, 0, w.grab());
  painter.drawPixmap(main.width() + 4, 0, list);
  return out;
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
                 "[--pix-per-trace X] [--size WxH] [--manual [--anchor HEADING]] [--save-dialog] "
                 "[--band-pass LOW HIGH] [--spectrum] [--basemap [--profile P.txt] [--hide SET]] "
                 "[--file-selector]\n");
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
  QWidget* shown = w.get();
  if (o.basemap && !(shown = ShowBasemap(*w, o))) return 1;
  QPixmap shot;
  if (o.manual) {
    w->ShowManual();
    if (!w->Manual()) return 1;
    shown = w->Manual();
    QTest::qWait(200);
    if (!o.anchor.isEmpty() && !w->Manual()->FollowLink(QUrl("#" + o.anchor))) {
      std::fprintf(stderr, "no heading with the anchor %s\n", qPrintable(o.anchor));
      return 1;
    }
    QTest::qWait(200);
  }
  if (o.saveDialog) {
    w->ShowSaveDataset();
    SaveDatasetDialog* d = w->SaveDialog();
    if (!d) return 1;
    d->TimeBox()->setChecked(true);
    d->TraceBox()->setChecked(true);
    d->ModeChoice()->setCurrentIndex(d->ModeChoice()->findData(kCropFfidChan));
    QTest::qWait(200);
    shown = d;
  }
  if (!o.bandLow.isEmpty()) {
    shot = w->grab();
    w->ShowFreqFilter();
    FilterPanel* panel = w->FreqFilterPanel();
    panel->PassList()->setCurrentIndex(kBandPass - 1);
    panel->FirstField()->setText(o.bandLow);
    panel->SecondField()->setText(o.bandHigh);
    panel->UseFilterBox()->click();
    QTest::qWait(200);
    const QPixmap right = panel->grab();
    QPixmap both(shot.width() + right.width() + 8, std::max(shot.height(), right.height()));
    both.fill(Qt::white);
    QPainter painter(&both);
    painter.drawPixmap(0, 0, w->grab());
    painter.drawPixmap(shot.width() + 8, 0, right);
    painter.end();
    shot = both;
  }
  if (o.spectrum && !(shown = ShowSpectrum(workspace, *w))) return 1;
  QTest::qWait(300);
  if (shot.isNull()) shot = shown->grab();
  if (o.fileSelector) shot = WithFileSelector(*w, shot, QFileInfo(o.file).fileName());
  if (!shot.save(o.out)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(o.out));
    return 1;
  }
  return 0;
}
