#pragma once
// "&Copy" and "Select &All" in the log's pop-up menu, beside "&Clear" and
// "&Save as". Copy puts the selected text on the clipboard, or, with nothing
// selected, the whole line under the pointer where the menu was opened.

#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QPlainTextEdit;

namespace trelvan {

class LogCopyActions : public QObject {
  Q_OBJECT

 public:
  // Appends the two entries to `popupMenu1`; the menu is opened by the box's
  // customContextMenuRequested, whose position is kept for Copy.
  LogCopyActions(QPlainTextEdit* richEdit1, QMenu* popupMenu1);

  QAction* copyAction() const { return copy_; }
  QAction* selectAllAction() const { return selectAll_; }

  // What Copy puts on the clipboard; the line under `pointer` (in the
  // coordinates of the box's viewport, as the menu request gives them) when
  // nothing is selected.
  QString CopyText(QPoint pointer) const;
  void Copy();

 private:
  QPlainTextEdit* box_;
  QAction* copy_;
  QAction* selectAll_;
  QPoint menuPoint_;
};

}  // namespace trelvan
