// kestrix_screenshot FILE OUT.png [--wiggle|--color] [--palette N] [--pix-per-trace X] [--size WxH]
//                    [--file-selector]
// Starts the main window on FILE as the desktop program does, switches the
// display mode, and saves the window's pixels; with --file-selector the File
// Selector on FILE's folder is shown beside it and saved with it. Used to make the pictures in
// docs/; not installed.
#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/SettingsFile.h"
#include "app/Workspace.h"
#include "display/DisplayRules.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/Startup.h"
#include "gui/settings/SettingsPanel.h"
#include "gui/tools/FileSelectorWindow.h"
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
  bool fileSelector = false;
};

bool ParseArgs(const QStringList& args, Options* o) {
  QStringList plain;
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == "--wiggle")
      o->mode = kDisplayWiggle;
    else if (a == "--color")
      o->mode = kDisplayColor;
    else if (a == "--file-selector")
      o->fileSelector = true;
    else if (a == "--pix-per-trace" && i + 1 < args.size())
      o->pixPerTrace = args[++i].toDouble();
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
                 "[--pix-per-trace X] [--size WxH] [--file-selector]\n");
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
  QPixmap picture = w->grab();
  if (o.fileSelector) picture = WithFileSelector(*w, picture, QFileInfo(o.file).fileName());
  if (!picture.save(o.out)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(o.out));
    return 1;
  }
  return 0;
}
