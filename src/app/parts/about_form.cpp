#include "app/parts/about_form.h"

#include <array>
#include <utility>

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>

namespace trelvan {

namespace {
constexpr int GroupLeft = 8, GroupTop = 8, GroupWidth = 375, GroupHeight = 114;
constexpr int LabelX = 12, LeftFieldX = 81, RightFieldX = 213;
constexpr int FirstRowY = 18, RowStep = 18, RowHeight = 16;
constexpr int LabelWidth = LeftFieldX - LabelX - 4;
constexpr int LeftFieldWidth = RightFieldX - LeftFieldX - 4;
constexpr int RightFieldWidth = GroupWidth - RightFieldX - 6;

const QString TenMarks = QStringLiteral("??????????");
const QString NineMarks = QStringLiteral("?????????");

QFont PixelFont(const char* family, int pixels, bool bold) {
  QFont font{QString::fromLatin1(family)};
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// The module's version texts are 8-bit text.
QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

TForm1::TForm1(QWidget* owner, DeviceLibrary& device, uint8_t deviceIndex, LogFunction log,
               QString buildDateTime)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      device_(device),
      deviceIndex_(deviceIndex),
      log_(std::move(log)),
      buildDateTime_(std::move(buildDateTime)) {
  setWindowTitle(QStringLiteral("About Trelvan"));
  setFont(PixelFont("Tahoma", 11, false));
  QPalette background = palette();
  background.setColor(QPalette::Window, background.color(QPalette::HighlightedText));
  setPalette(background);
  setAutoFillBackground(true);
  setFixedSize(GroupLeft * 2 + GroupWidth, GroupTop * 2 + GroupHeight);

  GroupBox1 = new QGroupBox(QStringLiteral("Software Information"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(GroupLeft, GroupTop, GroupWidth, GroupHeight);

  auto rowY = [](int row) { return FirstRowY + row * RowStep; };
  StaticText12 = MakeText("StaticText12", QStringLiteral("APP:"), LabelX, rowY(0), LabelWidth, true);
  StaticText13 = MakeText("StaticText13", QStringLiteral("DLL:"), LabelX, rowY(1), LabelWidth, true);
  StaticText14 = MakeText("StaticText14", QStringLiteral("SYS:"), LabelX, rowY(2), LabelWidth, true);
  StaticText15 = MakeText("StaticText15", QStringLiteral("MCU:"), LabelX, rowY(3), LabelWidth, true);
  StaticText4 = MakeText("StaticText4", QStringLiteral("DFU:"), LabelX, rowY(4), LabelWidth, true);

  StaticText16 = MakeText("StaticText16", QString(), LeftFieldX, rowY(0), LeftFieldWidth, false);
  StaticText17 = MakeText("StaticText17", QString(), RightFieldX, rowY(0), RightFieldWidth, false);
  StaticText18 = MakeText("StaticText18", TenMarks, LeftFieldX, rowY(1), LeftFieldWidth, false);
  StaticText21 = MakeText("StaticText21", TenMarks, RightFieldX, rowY(1), RightFieldWidth, false);
  StaticText19 = MakeText("StaticText19", NineMarks, LeftFieldX, rowY(2), LeftFieldWidth, false);
  StaticText22 = MakeText("StaticText22", NineMarks, RightFieldX, rowY(2), RightFieldWidth, false);
  StaticText20 = MakeText("StaticText20", NineMarks, LeftFieldX, rowY(3), LeftFieldWidth, false);
  StaticText23 = MakeText("StaticText23", NineMarks, RightFieldX, rowY(3), RightFieldWidth, false);
  StaticText6 = MakeText("StaticText6", NineMarks, LeftFieldX, rowY(4), LeftFieldWidth, false);
  StaticText5 = MakeText("StaticText5", NineMarks, RightFieldX, rowY(4), RightFieldWidth, false);

  StaticText17->setText(buildDateTime_);
  StaticText16->setText(QString::fromLatin1(VersionTag));
  FormCreate();
}

QLabel* TForm1::MakeText(const char* name, const QString& text, int x, int y, int width,
                         bool bold) {
  auto* label = new QLabel(text, GroupBox1);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setFont(PixelFont("Courier New", 12, bold));
  label->setGeometry(x, y, width, RowHeight);
  return label;
}

void TForm1::FormCreate() {
  StaticText16->setText(QString::fromLatin1(VersionTag));
  StaticText17->setText(buildDateTime_);
  const std::array<std::pair<QLabel*, QLabel*>, 4> rows{{{StaticText18, StaticText21},
                                                         {StaticText19, StaticText22},
                                                         {StaticText20, StaticText23},
                                                         {StaticText6, StaticText5}}};
  for (uint8_t selector = 0; selector < rows.size(); ++selector) {
    VersionTexts texts;
    if (ReadVersionTexts(device_, deviceIndex_, selector, texts, log_)) {
      rows[selector].first->setText(Latin1(texts.text1));
      rows[selector].second->setText(Latin1(texts.text2));
    }
  }
}

}  // namespace trelvan
