// The desktop program: kestrix [seismic file]
#include <QApplication>
#include <cstdlib>

#include "app/SettingsFile.h"
#include "app/Workspace.h"
#include "gui/console/ConsoleWidget.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/mainwindow/ScreenFit.h"
#include "gui/mainwindow/Startup.h"
#include "gui/mainwindow/TerminationSignals.h"
#include "log/Log.h"

int main(int argc, char** argv) {
  // The log outlives everything else: it closes last, at exit.
  std::atexit(ConsoleClose);
  Workspace& workspace = TheWorkspace();
  ConsoleOpen();
  LogSetThreshold(LogStep);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kestrix");
  QApplication::setDesktopFileName("kestrix");
  ScreenFitFilter screenFit;
  app.installEventFilter(&screenFit);

  ConsoleWidget console;  // hidden until raised
  console.InstallRaiseHook();

  QString settingsPath = SettingsFilePath();
  SettingsFileValues values;
  ReadSettingsFile(settingsPath.toStdString(), values);
  std::unique_ptr<MainWindow> window =
      StartMainWindow(workspace, &console, values, app.arguments(), VirtualScreen());
  MainWindow* w = window.get();
  CloseOnTerminationSignals(&app, [w] { w->close(); });
  QObject::connect(window.get(), &MainWindow::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  int rc = app.exec();
  // A file that cannot be written is skipped without a word.
  WriteSettingsFile(settingsPath.toStdString(), SettingsAtExit(workspace, *window, values));
  window.reset();
  return rc;
}
