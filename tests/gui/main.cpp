// Widget tests run on Qt's offscreen platform with the log's console store
// open, as in the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "gui/mainwindow/MainWindow.h"
#include "log/Log.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  ConsoleOpen();
  QApplication app(argc, argv);
  // A refused load tells its window after it returned; no test waits on that box.
  MainWindow::SetDefaultRefusalAsker([](const QString&, const QString&, bool) { return false; });
  int rc = RUN_ALL_TESTS();
  ConsoleClose();
  return rc;
}
