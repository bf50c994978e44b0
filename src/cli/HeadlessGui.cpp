#include "cli/HeadlessGui.h"

#include <cstdlib>

#include "cli/Options.h"
#include "log/Log.h"

std::unique_ptr<QGuiApplication> StartHeadlessGui() {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "kxtool";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

bool ParseImageSize(const std::string& text, int* w, int* h) {
  std::size_t x = text.find_first_of("xX");
  long long a = 0, b = 0;
  if (x == std::string::npos || !ParseInteger(text.substr(0, x), &a) ||
      !ParseInteger(text.substr(x + 1), &b) || a < 16 || b < 16 || a > 16384 || b > 16384) {
    LogPrint(LogError, "\nERROR: --size needs WxH, each from 16 to 16384, not \"%s\"", text.c_str());
    return false;
  }
  *w = static_cast<int>(a);
  *h = static_cast<int>(b);
  return true;
}
