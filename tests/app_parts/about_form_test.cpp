#include "app/parts/about_form.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>

#include "device/adc_config.h"
#include "device/log_colours.h"
#include "support/fake_device_library.h"

namespace trelvan {
namespace {

class AboutFormTest : public ::testing::Test {
 protected:
  std::unique_ptr<TForm1> Open(uint8_t deviceIndex) {
    return std::make_unique<TForm1>(
        &owner, device, deviceIndex,
        [this](const std::string& text, uint32_t colour) {
          log.push_back((colour == LogRed ? "red: " : "blue: ") + text);
        },
        QStringLiteral("Jul 21 2023 14:26:46"));
  }

  // Rows 2..5 as "left|right".
  static std::vector<QString> VersionRows(const TForm1& f) {
    return {f.StaticText18->text() + "|" + f.StaticText21->text(),
            f.StaticText19->text() + "|" + f.StaticText22->text(),
            f.StaticText20->text() + "|" + f.StaticText23->text(),
            f.StaticText6->text() + "|" + f.StaticText5->text()};
  }

  QWidget owner;
  testing::FakeDeviceLibrary device;
  std::vector<std::string> log;
};

TEST_F(AboutFormTest, DesignAndEveryReadSucceeding) {
  device.versions[2] = "3.0\xE9;<b>mcu</b>";  // 8-bit text, shown plainly
  const auto form = Open(0);
  EXPECT_EQ(form->windowTitle(), "About Trelvan");
  EXPECT_EQ(form->GroupBox1->title(), "Software Information");
  EXPECT_EQ(form->GroupBox1->size(), QSize(375, 114));
  EXPECT_EQ(form->StaticText12->text(), "APP:");
  EXPECT_EQ(form->StaticText4->text(), "DFU:");
  EXPECT_TRUE(form->StaticText13->font().bold());
  EXPECT_EQ(form->StaticText13->font().pixelSize(), 12);
  EXPECT_FALSE(form->StaticText18->font().bold());
  EXPECT_EQ(form->StaticText21->x(), 213);
  EXPECT_EQ(form->StaticText6->x(), 81);
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(form->findChild<QLabel*>("StaticText23"), form->StaticText23);

  EXPECT_EQ(form->StaticText16->text(), "Trelvan_APP_V09");
  EXPECT_EQ(form->StaticText17->text(), "Jul 21 2023 14:26:46");
  EXPECT_EQ(VersionRows(*form), (std::vector<QString>{"1.0|lib", "2.0|sys",
                                                      QString::fromUtf8("3.0\u00E9|<b>mcu</b>"),
                                                      "4.0|dfu"}));
  EXPECT_EQ(device.ops(), (std::vector<std::string>(4, "GetVersion")));
  for (uint32_t s = 0; s < 4; ++s) EXPECT_EQ(device.calls[s].arg, s);
  EXPECT_TRUE(log.empty());
}

TEST_F(AboutFormTest, NoModuleOpenKeepsTheQuestionMarks) {
  const auto form = Open(NoDevice);
  EXPECT_EQ(form->StaticText16->text(), "Trelvan_APP_V09");
  EXPECT_EQ(VersionRows(*form),
            (std::vector<QString>{"??????????|??????????", "?????????|?????????",
                                  "?????????|?????????", "?????????|?????????"}));
  EXPECT_TRUE(device.calls.empty());
  EXPECT_TRUE(log.empty());
}

TEST_F(AboutFormTest, FailingReadKeepsItsRowAndLogsEachTimeTheWindowOpens) {
  device.versionFails[1] = true;
  for (int opened = 1; opened <= 2; ++opened) {
    const auto form = Open(0);
    EXPECT_EQ(VersionRows(*form), (std::vector<QString>{"1.0|lib", "?????????|?????????",
                                                        "3.0|mcu", "4.0|dfu"}));
    EXPECT_EQ(log, std::vector<std::string>(opened, "red: Fail to read version data!"));
  }
  EXPECT_EQ(device.count("GetVersion"), 8);
}

TEST_F(AboutFormTest, EmptyTextsReplaceTheQuestionMarks) {
  device.versions[0] = "1.0;";
  device.versions[3] = ";";
  const auto form = Open(0);
  EXPECT_EQ(VersionRows(*form), (std::vector<QString>{"1.0|", "2.0|sys", "3.0|mcu", "|"}));
}

TEST_F(AboutFormTest, ShownCentredOverTheOwner) {
  owner.setGeometry(100, 100, 800, 600);
  owner.show();
  const auto form = Open(0);
  form->show();
  EXPECT_LE((form->geometry().center() - owner.geometry().center()).manhattanLength(), 1);
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  form->close();
}

}  // namespace
}  // namespace trelvan
