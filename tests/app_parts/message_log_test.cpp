#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>

#include "app/parts/locale_texts.h"
#include "app/parts/message_log.h"
#include "device/log_colours.h"
#include "support/scripted_dialogs.h"

namespace trelvan {
namespace {

// Reads an RTF log back: the colour table and each "\cfN text\par" line,
// with the escapes undone.
std::vector<LogLine> ReadRtfLog(const QString& rtf) {
  std::vector<uint32_t> table;
  const QRegularExpression colour("\\\\red(\\d+)\\\\green(\\d+)\\\\blue(\\d+);");
  auto it = colour.globalMatch(rtf);
  while (it.hasNext()) {
    const auto m = it.next();
    table.push_back(m.captured(1).toUInt() | (m.captured(2).toUInt() << 8) |
                    (m.captured(3).toUInt() << 16));
  }
  std::vector<LogLine> lines;
  QRegularExpression line("\\\\cf(\\d+) (.*)\\\\par\\n");
  line.setPatternOptions(QRegularExpression::InvertedGreedinessOption);
  auto li = line.globalMatch(rtf);
  while (li.hasNext()) {
    const auto m = li.next();
    QString body = m.captured(2);
    QString text;
    for (qsizetype i = 0; i < body.size(); ++i) {
      if (body[i] == u'\\' && i + 1 < body.size() && QString("\\{}").contains(body[i + 1])) {
        text += body[++i];
      } else if (body.mid(i, 2) == "\\u") {
        const qsizetype end = body.indexOf(u'?', i);
        text += QChar(static_cast<char16_t>(body.mid(i + 2, end - i - 2).toShort()));
        i = end;
      } else {
        text += body[i];
      }
    }
    lines.push_back({text.toStdString(), table.at(m.captured(1).toUInt() - 1)});
  }
  return lines;
}

struct MessageLogFixture : ::testing::Test {
  QPlainTextEdit box;
  MessageLog log{&box};
  testing::ScriptedDialogs dialogs;
  QTemporaryDir dir;
};

TEST_F(MessageLogFixture, LinesCarryThePrefixAndTheirColours) {
  log.LogMessage("progress", LogBlue);
  log.LogMessage("", LogRed);
  const auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(QString::fromStdString(lines[0].text).contains(QRegularExpression("^\\[.+ .+\\] progress$")));
  EXPECT_TRUE(lines[1].text.ends_with("] "));
  EXPECT_EQ(lines[0].colour, LogBlue);
  EXPECT_EQ(lines[1].colour, LogRed);
  // Blue is 0xFF0000 as 0x00BBGGRR: shown blue, not red.
  QTextCursor c(box.document()->firstBlock());
  c.movePosition(QTextCursor::NextCharacter);
  EXPECT_EQ(c.charFormat().foreground().color(), QColor(Qt::blue));

  log.Clear();
  EXPECT_TRUE(log.Lines().empty());
  log.LogMessage("again", LogBlue);
  EXPECT_EQ(box.document()->blockCount(), 1);
}

TEST_F(MessageLogFixture, SavedLogKeepsEveryCharacterAndColour) {
  log.LogMessage("Welcome to use Trelvan software", LogBlue);
  log.LogMessage("C:\\path {braces} \u00e4\u00f6\u00fc \u20ac \U0001F600", LogRed);
  dialogs.saveAnswers.push_back({dir.filePath("log"), 0});
  log.SaveAs(dialogs);
  EXPECT_EQ(dialogs.lastFilters, (QStringList{"txt file (*.txt)", "all file (*)"}));
  EXPECT_FALSE(dialogs.lastConfirmOverwrite);
  QFile file(dir.filePath("log.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString rtf = QString::fromLatin1(file.readAll());
  EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
  const auto read = ReadRtfLog(rtf);
  const auto shown = log.Lines();
  ASSERT_EQ(read.size(), 2u);
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].text, shown[i].text);
    EXPECT_EQ(read[i].colour, shown[i].colour);
  }
}

TEST_F(MessageLogFixture, SaveNamesAndFailures) {
  struct Case {
    const char* chosen;
    const char* written;
  } cases[] = {{"log", "log.txt"}, {"log.txt", "log.txt"}, {"old.txt.bak", "old.txt.bak"},
               {"LOG.TXT", "LOG.TXT.txt"}};
  log.LogMessage("x", LogBlue);
  for (const Case& c : cases) {
    dialogs.saveAnswers.push_back({dir.filePath(c.chosen), 1});
    log.SaveAs(dialogs);
    EXPECT_TRUE(QFile::exists(dir.filePath(c.written))) << c.chosen;
  }
  // Replaced without a question; a cancelled dialog writes nothing.
  dialogs.saveAnswers.push_back({});
  log.SaveAs(dialogs);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);

  dialogs.saveAnswers.push_back({dir.filePath("missing/sub/log"), 0});
  try {
    log.SaveAs(dialogs);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_TRUE(QString(e.what()).startsWith("Cannot create file \"" + dir.filePath("missing/sub/log.txt") + "\". "))
        << e.what();
  }
}

TEST(LocaleTexts, DropTheTimeZoneField) {
  EXPECT_EQ(WithoutTimeZone("HH:mm:ss t"), "HH:mm:ss");
  EXPECT_EQ(WithoutTimeZone("h:mm:ss AP t"), "h:mm:ss AP");
  EXPECT_EQ(WithoutTimeZone("t HH:mm"), "HH:mm");
  EXPECT_EQ(WithoutTimeZone("HH 'at' mm"), "HH 'at' mm");
  const QDateTime when(QDate(2024, 3, 5), QTime(9, 7, 2));
  const DateTimeTexts texts = LocaleDateTimeTexts(when, QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(texts.date, "05.03.24");
  EXPECT_EQ(texts.time, "09:07:02");
}

// A small bound shows the rule of the 100,000-line one: the newest lines are
// kept, the oldest go in blocks, and one grey line at the top counts them;
// "&Save as" writes what is kept.
TEST(BoundedLog, KeepsTheNewestLinesAndCountsTheDroppedOnes) {
  QPlainTextEdit box;
  MessageLog log(&box, 10, 4);
  testing::ScriptedDialogs dialogs;
  QTemporaryDir dir;
  const auto texts = [&] {
    std::vector<std::string> out;
    for (const LogLine& l : log.Lines()) out.push_back(l.text.substr(l.text.find("] ") + 2));
    return out;
  };
  for (int i = 1; i <= 10; ++i) log.LogMessage(QString::number(i), i % 2 ? LogBlue : LogRed);
  EXPECT_EQ(log.Lines().size(), 10u) << "at the bound nothing is dropped";
  log.LogMessage("11", LogBlue);
  EXPECT_EQ(texts(), (std::vector<std::string>{"4 older lines of the log were dropped", "5", "6", "7",
                                               "8", "9", "10", "11"}));
  EXPECT_EQ(log.Lines()[0].colour, LogGrey);
  EXPECT_EQ(log.Lines()[1].colour, LogBlue);
  EXPECT_EQ(log.Lines()[2].colour, LogRed);
  for (int i = 12; i <= 15; ++i) log.LogMessage(QString::number(i), LogRed);
  const auto kept = texts();
  ASSERT_EQ(kept.size(), 8u);
  EXPECT_EQ(kept[0], "8 older lines of the log were dropped") << "one grey line, its count updated";
  EXPECT_EQ(kept[1], "9");
  EXPECT_EQ(kept.back(), "15");
  EXPECT_EQ(log.DroppedLines(), 8u);

  dialogs.saveAnswers.push_back({dir.filePath("kept.txt"), 0});
  log.SaveAs(dialogs);
  QFile file(dir.filePath("kept.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const auto saved = ReadRtfLog(QString::fromLatin1(file.readAll()));
  const auto shown = log.Lines();
  ASSERT_EQ(saved.size(), shown.size());
  for (std::size_t i = 0; i < saved.size(); ++i) {
    EXPECT_EQ(saved[i].text, shown[i].text);
    EXPECT_EQ(saved[i].colour, shown[i].colour);
  }

  log.Clear();
  log.LogMessage("fresh", LogBlue);
  EXPECT_EQ(texts(), std::vector<std::string>{"fresh"});
  EXPECT_EQ(log.DroppedLines(), 0u);
}

}  // namespace
}  // namespace trelvan
