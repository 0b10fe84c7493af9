#include "views/qt/table_qt_widgets.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <climits>

namespace trelvan {
namespace {

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PlainTextTableBox::PlainTextTableBox(QPlainTextEdit* edit) : edit_(edit) {}

void PlainTextTableBox::Clear() { edit_->clear(); }

void PlainTextTableBox::AppendLines(std::string_view lines) {
  const QString text = Latin1(lines);
  QTextCursor cursor(edit_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text);
}

void PlainTextTableBox::Select(uint32_t start, uint32_t length) {
  QTextDocument* document = edit_->document();
  const int last = std::max(0, document->characterCount() - 1);  // the end position
  const int from = static_cast<int>(std::min<uint64_t>(start, static_cast<uint64_t>(last)));
  const int to = static_cast<int>(std::min<uint64_t>(uint64_t{start} + length, static_cast<uint64_t>(last)));
  QTextCursor cursor(document);
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  edit_->setTextCursor(cursor);
}

uint32_t PlainTextTableBox::CaretLine() const {
  return static_cast<uint32_t>(std::max(0, edit_->textCursor().blockNumber()));
}

void QtTableScrollBar::SetMaximum(uint32_t maximum) {
  bar_->setMaximum(static_cast<int>(std::min<uint32_t>(maximum, INT_MAX)));
}

void QtTableScrollBar::SetPosition(uint32_t position) {
  bar_->setValue(static_cast<int>(std::min<uint32_t>(position, INT_MAX)));
}

uint32_t QtTableScrollBar::Position() const {
  return static_cast<uint32_t>(std::max(0, bar_->value()));
}

void QtStatsBoxes::SetText(StatsColumn column, int channel, std::string_view text) {
  QLineEdit* box = boxes_[static_cast<int>(column)][channel];
  if (!box) return;
  box->setText(Latin1(text));
  box->setCursorPosition(0);
}

void QtTableSurroundings::SetModeCaption(std::string_view caption) {
  if (!button8_) return;
  // The captions differ only after "Switch to ": a keyboard mark ("&") set
  // on the button stays at its place, so the button keeps its key.
  QString text = Latin1(caption);
  const qsizetype mark = button8_->text().indexOf(QLatin1Char('&'));
  if (mark >= 0 && mark < text.size()) text.insert(mark, QLatin1Char('&'));
  button8_->setText(text);
}

bool QtTableSurroundings::WaveformPageActive() const {
  return pages_ && waveformPage_ && pages_->currentWidget() == waveformPage_;
}

}  // namespace trelvan
