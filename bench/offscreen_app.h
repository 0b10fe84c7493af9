#pragma once
// The one QApplication of a widget benchmark, on the offscreen platform,
// made at first use.

#include <QApplication>

inline QApplication& OffscreenApp() {
  static int argc = 1;
  static char name[] = "trelvan_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}
