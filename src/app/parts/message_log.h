#pragma once
// The message log RichEdit1: one coloured line per message, "[" + date + " " +
// time + "] " + text. A QPlainTextEdit holds it: its line-by-line layout
// keeps appending cheap over hours of one line per poll, and it never trims.

#include <QPlainTextEdit>
#include <QString>
#include <vector>

#include "app/parts/dialogs.h"
#include "app/parts/log_rtf.h"

namespace trelvan {

QColor ColourFromBgr(uint32_t colour);

class MessageLog {
 public:
  explicit MessageLog(QPlainTextEdit* richEdit1);

  void LogMessage(const QString& text, uint32_t colour);
  void Clear();                              // "&Clear"
  std::vector<LogLine> Lines() const;        // text and colour of every line
  // "&Save as": the dialog, the ".txt" rule, the whole log as RTF. A file that
  // cannot be written throws "Cannot create file "%s". %s".
  void SaveAs(Dialogs& dialogs);

 private:
  QPlainTextEdit* box_;
};

}  // namespace trelvan
