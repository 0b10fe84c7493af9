#include "app/parts/message_log.h"

#include <QDateTime>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <stdexcept>

#include "app/parts/locale_texts.h"

namespace trelvan {

QColor ColourFromBgr(uint32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

namespace {

QString Prefix() {
  const DateTimeTexts now = LocaleDateTimeTexts(QDateTime::currentDateTime());
  return "[" + now.date + " " + now.time + "] ";
}

QTextCharFormat Coloured(uint32_t colour) {
  QTextCharFormat format;
  format.setForeground(ColourFromBgr(colour));
  return format;
}

}  // namespace

MessageLog::MessageLog(QPlainTextEdit* richEdit1, int linesKept, int linesDroppedAtOnce)
    : box_(richEdit1),
      linesKept_(std::max(1, linesKept)),
      linesDroppedAtOnce_(std::clamp(linesDroppedAtOnce, 1, std::max(1, linesKept))) {
  box_->setReadOnly(true);
  box_->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // a vertical scroll bar only
  box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box_->setMaximumBlockCount(0);
  box_->setUndoRedoEnabled(false);
}

void MessageLog::LogMessage(const QString& text, uint32_t colour) {
  QTextCursor cursor(box_->document());
  cursor.movePosition(QTextCursor::End);
  if (!box_->document()->isEmpty()) cursor.insertBlock();
  cursor.insertText(Prefix() + text, Coloured(colour));
  const int lines = box_->document()->blockCount() - (dropped_ > 0 ? 1 : 0);
  if (lines > linesKept_) DropOldest();
  QScrollBar* bar = box_->verticalScrollBar();
  bar->setValue(bar->maximum());
}

void MessageLog::DropOldest() {
  QTextDocument* doc = box_->document();
  const int lines = doc->blockCount() - (dropped_ > 0 ? 1 : 0);
  const int drop = std::max(lines - linesKept_, linesDroppedAtOnce_);
  QTextCursor cursor(doc);
  cursor.beginEditBlock();
  cursor.movePosition(QTextCursor::Start);
  if (dropped_ > 0) cursor.movePosition(QTextCursor::NextBlock);
  cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, drop);
  cursor.removeSelectedText();
  dropped_ += static_cast<uint64_t>(drop);
  const QString note =
      Prefix() + QString::number(dropped_) + " older lines of the log were dropped";
  cursor.movePosition(QTextCursor::Start);
  if (dropped_ > static_cast<uint64_t>(drop)) {
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(note, Coloured(LogGrey));
  } else {
    cursor.insertText(note, Coloured(LogGrey));
    cursor.insertBlock();
  }
  cursor.endEditBlock();
}

void MessageLog::Clear() {
  box_->clear();
  dropped_ = 0;
}

std::vector<LogLine> MessageLog::Lines() const {
  std::vector<LogLine> lines;
  const QTextDocument* doc = box_->document();
  if (doc->isEmpty()) return lines;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    uint32_t colour = 0xFF0000;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QColor c = it.fragment().charFormat().foreground().color();
      colour = static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
               (static_cast<uint32_t>(c.blue()) << 16);
      break;
    }
    lines.push_back({block.text().toStdString(), colour});
  }
  return lines;
}

void MessageLog::SaveAs(Dialogs& dialogs) {
  const FileChoice choice =
      dialogs.SaveFile("Save as", {"txt file (*.txt)", "all file (*)"}, 0, false);
  if (choice.path.isEmpty()) return;
  const QString name = QString::fromStdString(LogFileName(choice.path.toStdString()));
  const std::string rtf = LogToRtf(Lines());
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(rtf.data(), static_cast<qint64>(rtf.size())) != static_cast<qint64>(rtf.size()) ||
      !file.flush()) {
    throw std::runtime_error(
        QString("Cannot create file \"%1\". %2").arg(name, file.errorString()).toStdString());
  }
}

}  // namespace trelvan
