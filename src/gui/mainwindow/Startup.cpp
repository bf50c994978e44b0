#include "gui/mainwindow/Startup.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

#include "app/Workspace.h"
#include "gui/mainwindow/MainWindow.h"

QString SettingsFilePath() {
  QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (docs.isEmpty()) docs = QDir::homePath();
  QDir().mkpath(docs);
  return docs + "/" + kSettingsFileName;
}

QRect VirtualScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
}

std::unique_ptr<MainWindow> StartMainWindow(Workspace& workspace, ConsoleWidget* console,
                                            const SettingsFileValues& values, const QStringList& args,
                                            const QRect& screen) {
  workspace.SetLastInputDir(values.lastInputDir);
  workspace.SetLastFilter(values.lastFilter);
  if (!values.headerMap.Empty()) workspace.SetHeaderMap(values.headerMap);
  ScreenRect r = ClampWindowRect({values.wndX, values.wndY, values.wndW, values.wndH},
                                 {screen.x(), screen.y(), screen.width(), screen.height()});
  auto window = std::make_unique<MainWindow>(workspace, console);
  window->setGeometry(r.left, r.top, std::max(r.width, MainWindow::kMinWidth),
                      std::max(r.height, MainWindow::kMinHeight));
  if (args.size() > 1 && !args[1].isEmpty()) window->LoadCommandLineFile(args[1]);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

SettingsFileValues SettingsAtExit(const Workspace& workspace, const MainWindow& window,
                                  SettingsFileValues values) {
  values.lastInputDir = workspace.LastInputDir();
  values.lastFilter = workspace.LastFilter();
  values.headerMap = *workspace.HeaderMap();
  window.RecordPlacement(&values);
  return values;
}
