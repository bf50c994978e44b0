#include "gui/mainwindow/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace {
int g_signalFds[2] = {-1, -1};

void OnSignal(int) {
  char byte = 1;
  // Only async-signal-safe calls here; a full pipe means a close is pending anyway.
  ssize_t ignored = ::write(g_signalFds[0], &byte, 1);
  (void)ignored;
}
}  // namespace

void CloseOnTerminationSignals(QObject* parent, std::function<void()> onSignal) {
  if (g_signalFds[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalFds) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, parent);
  QObject::connect(notifier, &QSocketNotifier::activated, parent, [onSignal] {
    char buf[16];
    while (::read(g_signalFds[1], buf, sizeof buf) > 0) {
    }
    onSignal();
  });
  struct sigaction sa = {};
  sa.sa_handler = &OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}
