#include "app/parts/message_log.h"

#include <QDateTime>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <stdexcept>

#include "app/parts/locale_texts.h"

namespace trelvan {

QColor ColourFromBgr(uint32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

MessageLog::MessageLog(QPlainTextEdit* richEdit1) : box_(richEdit1) {
  box_->setReadOnly(true);
  box_->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // a vertical scroll bar only
  box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box_->setMaximumBlockCount(0);
  box_->setUndoRedoEnabled(false);
}

void MessageLog::LogMessage(const QString& text, uint32_t colour) {
  const DateTimeTexts now = LocaleDateTimeTexts(QDateTime::currentDateTime());
  QTextCharFormat format;
  format.setForeground(ColourFromBgr(colour));
  QTextCursor cursor(box_->document());
  cursor.movePosition(QTextCursor::End);
  if (!box_->document()->isEmpty()) cursor.insertBlock();
  cursor.insertText("[" + now.date + " " + now.time + "] " + text, format);
  QScrollBar* bar = box_->verticalScrollBar();
  bar->setValue(bar->maximum());
}

void MessageLog::Clear() { box_->clear(); }

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
