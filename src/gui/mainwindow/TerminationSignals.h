// SIGTERM and SIGINT close the main window as its close box does, so that the
// settings are still written when the program is stopped from outside (a
// session ending, a timeout in a script). The signal handler only writes a
// byte to a pipe; the GUI thread reads it and runs the callback.
#pragma once

#include <QObject>
#include <functional>

// Installs the handlers once; onSignal runs on the GUI thread, owned by parent.
void CloseOnTerminationSignals(QObject* parent, std::function<void()> onSignal);
