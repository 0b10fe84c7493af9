#pragma once
// Every dialog the window asks, behind one interface: the production one
// uses QFileDialog and QMessageBox (their modal exec() keeps the event loop,
// and so the poll timer, running); widget tests answer them.

#include <QString>
#include <QStringList>

namespace trelvan {

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
  virtual void Information(const QString& text) = 0;
  virtual void Error(const QString& title, const QString& text) = 0;
};

}  // namespace trelvan
