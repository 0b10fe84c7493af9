#include "app/parts/log_copy_actions.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace trelvan {

LogCopyActions::LogCopyActions(QPlainTextEdit* richEdit1, QMenu* popupMenu1)
    : QObject(richEdit1), box_(richEdit1) {
  popupMenu1->addSeparator();
  copy_ = popupMenu1->addAction("&Copy");
  copy_->setObjectName("LogCopy");
  selectAll_ = popupMenu1->addAction("Select &All");
  selectAll_->setObjectName("LogSelectAll");
  connect(box_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    menuPoint_ = at;
  });
  connect(copy_, &QAction::triggered, this, [this] { Copy(); });
  connect(selectAll_, &QAction::triggered, box_, &QPlainTextEdit::selectAll);
}

QString LogCopyActions::CopyText(QPoint pointer) const {
  const QTextCursor selection = box_->textCursor();
  if (selection.hasSelection()) {
    // Lines are blocks: their separators become line breaks.
    return selection.selectedText().replace(QChar::ParagraphSeparator, u'\n');
  }
  return box_->cursorForPosition(pointer).block().text();
}

void LogCopyActions::Copy() {
  const QString text = CopyText(menuPoint_);
  if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
}

}  // namespace trelvan
