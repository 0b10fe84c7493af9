#pragma once
// Runs the window's events until its file work (auto-save writer, Save As,
// Load From) has reported, for tests that drive the poll by hand.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/main_form.h"
#include "app/parts/file_operations.h"

namespace trelvan::testing {

inline void SettleFileWork(TMainForm& form) {
  QElapsedTimer waited;
  waited.start();
  while (form.files().Busy() && waited.elapsed() < 30'000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  QCoreApplication::processEvents();
  ASSERT_FALSE(form.files().Busy());
}

}  // namespace trelvan::testing
