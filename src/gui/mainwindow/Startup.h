// Start-up and shut-down of the desktop program around the message loop:
// where the settings file lives, the main window placed from it, the file
// named on the command line, and the settings written back after the loop.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/SettingsFile.h"

class ConsoleWidget;
class MainWindow;
class Workspace;

// "<documents folder>/_Kestrix.ini"; the folder is created when missing.
QString SettingsFilePath();

// The virtual screen (all monitors) of this session.
QRect VirtualScreen();

// Applies the remembered folder and filter to the workspace, creates the main
// window on the rectangle clamped to the screen, loads args[1] when given and
// shows the window.
std::unique_ptr<MainWindow> StartMainWindow(Workspace& workspace, ConsoleWidget* console,
                                            const SettingsFileValues& values, const QStringList& args,
                                            const QRect& screen);

// The values to write after the loop: the window's recorded placement and the
// workspace's folder and filter over what was read at start.
SettingsFileValues SettingsAtExit(const Workspace& workspace, const MainWindow& window,
                                  SettingsFileValues values);
