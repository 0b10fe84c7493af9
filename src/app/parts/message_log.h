#pragma once
// The message log RichEdit1: one coloured line per message, "[" + date + " " +
// time + "] " + text. A QPlainTextEdit holds it: its line-by-line layout
// keeps appending cheap over hours of one line per poll. It keeps the newest
// lines only (a week at a slow period must not grow without end): the oldest
// are dropped in blocks, and one grey line at the top counts them.

#include <QPlainTextEdit>
#include <QString>
#include <vector>

#include "app/parts/dialogs.h"
#include "app/parts/log_rtf.h"

namespace trelvan {

QColor ColourFromBgr(uint32_t colour);

constexpr int LogLinesKept = 100'000;
constexpr int LogLinesDroppedAtOnce = 1'000;  // about 30 ms of work at a time
constexpr uint32_t LogGrey = 0x808080;

class MessageLog {
 public:
  explicit MessageLog(QPlainTextEdit* richEdit1, int linesKept = LogLinesKept,
                      int linesDroppedAtOnce = LogLinesDroppedAtOnce);

  void LogMessage(const QString& text, uint32_t colour);
  void Clear();                              // "&Clear"
  std::vector<LogLine> Lines() const;        // text and colour of every line
  uint64_t DroppedLines() const { return dropped_; }
  // "&Save as": the dialog, the ".txt" rule, the lines kept as RTF. A file that
  // cannot be written throws "Cannot create file "%s". %s".
  void SaveAs(Dialogs& dialogs);

 private:
  void DropOldest();

  QPlainTextEdit* box_;
  int linesKept_;
  int linesDroppedAtOnce_;
  uint64_t dropped_ = 0;  // lines dropped since the last clear
};

}  // namespace trelvan
