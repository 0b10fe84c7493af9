#pragma once
// The mouse wheel and the paging keys over the data table move ScrollBar1,
// as its own arrows and track do: the box only ever holds one page, so
// scrolling the box itself would show nothing new. A wheel notch moves the
// bar by the desktop's wheel lines (three rows by default), Page Up/Down by
// its large change, Home and End to its ends; the bar's change handler then
// moves the page.

#include <QObject>

class QPlainTextEdit;
class QScrollBar;

namespace trelvan {

class TableScrollInput : public QObject {
  Q_OBJECT

 public:
  TableScrollInput(QPlainTextEdit* richEdit2, QScrollBar* scrollBar1);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Wheel(int angleDelta);
  bool Key(int key);

  QPlainTextEdit* box_;
  // Kept for comparison only: the filter also sees events while the box is
  // being destroyed, when its scroll-area members must not be called.
  QObject* viewport_;
  QScrollBar* bar_;
  int pendingAngle_ = 0;  // high-resolution wheels deliver parts of a notch
};

}  // namespace trelvan
