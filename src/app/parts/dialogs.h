#pragma once
// Every dialog the window asks, behind one interface: the production one
// uses QFileDialog and QMessageBox (their modal exec() keeps the event loop,
// and so the poll timer, running); widget tests answer them.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace trelvan {

// A progress window of long file work; it goes when this object goes.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void SetPercent(int percent) = 0;
};

struct FileChoice {
  QString path;         // empty: cancelled
  int filterIndex = 0;  // 0-based entry of the chosen filter
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A save dialog. `filters` are entries like "bin file (*.bin)"; the chosen
  // entry comes back. `confirmOverwrite`: ask before replacing a file.
  virtual FileChoice SaveFile(const QString& title, const QStringList& filters,
                              int selectedFilter, bool confirmOverwrite) = 0;
  virtual FileChoice OpenFile(const QString& title, const QStringList& filters) = 0;
  // A folder picker (existing folders only); empty when cancelled.
  virtual QString PickFolder(const QString& startFolder) = 0;
  // OK/Cancel with Cancel the default button; true for OK.
  virtual bool Confirm(const QString& text) = 0;
  // A question answered with one of `buttons`: the index of the one pressed,
  // or -1 when the box was closed without an answer.
  virtual int Choose(const QString& text, const QStringList& buttons, int defaultButton) = 0;
  // A progress window (not modal: the window goes on working) with a Cancel
  // button, shown once the work has lasted `showAfterMs`; `cancel` runs when
  // Cancel is pressed. `percent` false: a busy indicator without a figure.
  virtual std::unique_ptr<ProgressView> Progress(const QString& title, const QString& text, int showAfterMs,
                                                 bool percent, std::function<void()> cancel) = 0;
  virtual void Information(const QString& text) = 0;
  virtual void Error(const QString& title, const QString& text) = 0;
};

}  // namespace trelvan
