#include "views/qt/table_scroll_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>

namespace trelvan {

namespace {
constexpr int NotchAngle = 120;  // eighths of a degree in one wheel notch
}

TableScrollInput::TableScrollInput(QPlainTextEdit* richEdit2, QScrollBar* scrollBar1)
    : QObject(richEdit2), box_(richEdit2), viewport_(richEdit2->viewport()), bar_(scrollBar1) {
  box_->installEventFilter(this);
  viewport_->installEventFilter(this);
}

bool TableScrollInput::eventFilter(QObject* watched, QEvent* event) {
  if (watched == viewport_ && event->type() == QEvent::Wheel) {
    const auto* wheel = static_cast<QWheelEvent*>(event);
    return Wheel(wheel->angleDelta().y());
  }
  if (watched == box_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;  // Ctrl+Home and the like stay the box's
    return Key(key->key());
  }
  return QObject::eventFilter(watched, event);
}

bool TableScrollInput::Wheel(int angleDelta) {
  pendingAngle_ += angleDelta;
  const int notches = pendingAngle_ / NotchAngle;
  if (notches == 0) return true;
  pendingAngle_ -= notches * NotchAngle;
  // Up (a positive angle) shows earlier rows.
  const int rows = notches * QApplication::wheelScrollLines() * bar_->singleStep();
  bar_->setValue(bar_->value() - rows);
  return true;
}

bool TableScrollInput::Key(int key) {
  switch (key) {
    case Qt::Key_PageUp:
      bar_->triggerAction(QAbstractSlider::SliderPageStepSub);
      return true;
    case Qt::Key_PageDown:
      bar_->triggerAction(QAbstractSlider::SliderPageStepAdd);
      return true;
    case Qt::Key_Home:
      bar_->triggerAction(QAbstractSlider::SliderToMinimum);
      return true;
    case Qt::Key_End:
      bar_->triggerAction(QAbstractSlider::SliderToMaximum);
      return true;
    default:
      return false;
  }
}

}  // namespace trelvan
