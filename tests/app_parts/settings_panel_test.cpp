#include "app/parts/settings_panel.h"

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "acquisition/set_config.h"
#include "device/input_error.h"
#include "support/fake_device_library.h"

namespace trelvan {
namespace {

bool SameBytes(const AdcConfig& a, const AdcConfig& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The settings group's controls, and the Set Config handler wired as the
// window wires it: the refresh shows adcConfig, the status bar is a copy of
// the panel texts.
class SettingsPanelTest : public ::testing::Test, public AcquisitionHooks {
 protected:
  SettingsPanelTest() : state(16) {
    for (QComboBox*& box : {std::ref(w.comboBox8), std::ref(w.comboBox6), std::ref(w.comboBox5),
                            std::ref(w.comboBox4), std::ref(w.comboBox3), std::ref(w.comboBox1),
                            std::ref(w.comboBox2)}) {
      box = new QComboBox(&group);
    }
    w.edit2 = new QLineEdit(&group);
    w.edit1 = new QLineEdit(&group);
    w.edit4 = new QLineEdit(&group);
    w.edit4->setMaxLength(4);  // as a design might have it
    panel = std::make_unique<SettingsPanel>(w);
    state.deviceIndex = 0;
    SetDefaultConfig(state.adcConfig);
    state.adcConfig.reserved2[1] = 0x42;
    state.adcConfig.trigCnt = 77;
    RefreshControls();
    UpdateStatusPanels();
  }

  void RefreshControls() override { panel->ShowAdcConfig(state.adcConfig); }
  void UpdateStatusPanels() override { panels = panel->StatusPanelTexts(state.adcConfig); }
  void LogMessage(const std::string& text, uint32_t) override { log.push_back(text); }

  // Button2Click: packing may throw (the window's guard shows the message).
  void SetConfigClick() { SetConfig(state, device, *this, panel->PackAdcSettings(state.adcConfig)); }

  static void Type(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), text);
  }
  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  QWidget group;
  SettingsWidgets w{};
  std::unique_ptr<SettingsPanel> panel;
  AcquisitionState state;
  testing::FakeDeviceLibrary device;
  std::array<std::string, 9> panels;
  std::vector<std::string> log;
};

TEST_F(SettingsPanelTest, StartUpRecordShown) {
  EXPECT_EQ(w.comboBox8->currentText(), "AN1");
  EXPECT_EQ(w.edit2->text(), "0");
  EXPECT_EQ(w.edit1->text(), "100");
  EXPECT_EQ(w.comboBox6->currentText(), "MS");
  EXPECT_EQ(w.comboBox5->currentText(), "Period");
  EXPECT_EQ(w.comboBox4->currentText(), "Falling");
  EXPECT_EQ(w.edit4->text(), "0");
  EXPECT_EQ(w.comboBox3->currentText(), ">");
  EXPECT_EQ(w.comboBox1->currentText(), "-10~+10V");
  EXPECT_EQ(w.comboBox2->currentText(), "NO OS");
  EXPECT_EQ(w.comboBox5->itemText(0), "IO ");
  EXPECT_EQ(w.comboBox2->count(), 8);
}

// Qt keeps the old index while the user types; the item comes from the text.
TEST_F(SettingsPanelTest, TypedItemTextIsSentAndTheControlsFollowTheRecord) {
  Type(w.comboBox4, "Both");
  w.comboBox8->setEditText("AN5");
  Type(w.edit1, "500001");  // five digits typed at most
  QTest::keyClick(w.comboBox4->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(w.comboBox4->count(), 3);  // Enter never inserts typed text
  EXPECT_EQ(w.edit1->text(), "50000");
  SetConfigClick();
  ASSERT_EQ(device.sentConfigs.size(), 1u);
  const AdcConfig& sent = device.sentConfigs[0];
  EXPECT_EQ(IoEdge(sent), 2u);
  EXPECT_EQ(sent.mainChannel, 4);
  EXPECT_EQ(sent.wPeriod, 50000);
  EXPECT_EQ(sent.reserved2[1], 0x42);
  EXPECT_EQ(sent.trigCnt, 77u);
  EXPECT_TRUE(SameBytes(state.adcConfig, sent));
  EXPECT_EQ(log, std::vector<std::string>{"successful SetConfig!"});
  EXPECT_EQ(panels[2], "Main Chan: AN5");
  EXPECT_EQ(panels[3], "Period: 50000ms");
  EXPECT_EQ(w.edit1->text(), "50000");
  EXPECT_EQ(panels[5], "IoType: Both");
}

TEST_F(SettingsPanelTest, TypedTextThatIsNoItemIsRefusedAndNothingSent) {
  Type(w.comboBox5, "Vol");
  EXPECT_EQ(w.comboBox5->currentIndex(), 1);  // still the old item's index
  try {
    SetConfigClick();
    FAIL() << "no refusal";
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(), "'Vol' is not an item of the Trig Mode box");
  }
  w.comboBox5->setEditText("period");  // exact text only
  EXPECT_THROW(SetConfigClick(), InputError);
  EXPECT_TRUE(device.calls.empty());
  EXPECT_TRUE(log.empty());
}

// Panels 3, 5, 6, 8, 9 show the boxes' texts at each rewrite; a successful
// Set Config shows the record's items again, a failed one keeps the entries.
TEST_F(SettingsPanelTest, PanelsFollowTypedTextsUntilTheRecordIsShownAgain) {
  w.comboBox8->setEditText("xyz");
  w.comboBox2->setEditText("16");
  Type(w.edit1, "250");
  UpdateStatusPanels();
  EXPECT_EQ(panels[2], "Main Chan: xyz");
  EXPECT_EQ(panels[8], "OS: 16");
  EXPECT_EQ(panels[3], "Period: 100ms");  // the record's, not the box's

  w.comboBox8->setEditText("AN1");  // the shown item, typed over
  device.setConfigResult = 0;
  SetConfigClick();
  EXPECT_EQ(log, std::vector<std::string>{"Fail to SetConfig!"});
  EXPECT_EQ(w.comboBox2->currentText(), "16");
  EXPECT_EQ(w.edit1->text(), "250");
  EXPECT_EQ(state.adcConfig.wPeriod, 100);

  device.setConfigResult = 1;
  w.comboBox2->setEditText("4");  // stays index 4 ("16") inside Qt
  SetConfigClick();
  EXPECT_EQ(OversamplingIndex(state.adcConfig), 2u);
  EXPECT_EQ(w.comboBox2->currentText(), "4");
  EXPECT_EQ(panels[8], "OS: 4");
  EXPECT_EQ(panels[3], "Period: 250ms");

  w.comboBox2->setEditText("foo");  // same index as the record's item
  RefreshControls();
  EXPECT_EQ(w.comboBox2->currentText(), "4");
}

// A 4-digit box shows 65535 whole and packs it back; typing stays limited
// to digits, and the shown number may be edited.
TEST_F(SettingsPanelTest, NumbersLongerThanTheTypingLimitShowWhole) {
  state.adcConfig.trigVolMv = 65535;
  state.adcConfig.maxCycles = 4294967295u;
  state.adcConfig.wPeriod = 65535;
  RefreshControls();
  EXPECT_EQ(w.edit4->text(), "65535");
  EXPECT_EQ(w.edit2->text(), "4294967295");
  EXPECT_TRUE(SameBytes(panel->PackAdcSettings(state.adcConfig), state.adcConfig));

  w.edit4->end(false);
  QTest::keyClicks(w.edit4, "x7");
  EXPECT_EQ(w.edit4->text(), "65535");
  QTest::keyClick(w.edit4, Qt::Key_Backspace);
  QTest::keyClicks(w.edit4, "4");
  EXPECT_EQ(w.edit4->text(), "65534");

  Type(w.edit4, "123456");
  EXPECT_EQ(w.edit4->text(), "12345");  // the longest number shown last
  state.adcConfig.trigVolMv = 7;
  RefreshControls();
  Type(w.edit4, "123456");
  EXPECT_EQ(w.edit4->text(), "1234");
  Type(w.edit2, "-12a3");
  EXPECT_EQ(w.edit2->text(), "123");
}

TEST_F(SettingsPanelTest, RecordWithoutItemsLeavesBoxesEmptyAndRefusesThem) {
  state.adcConfig.trigBits = 0x0C;  // IO edge 3
  state.adcConfig.mainChannel = 200;
  RefreshControls();
  EXPECT_EQ(w.comboBox4->currentIndex(), -1);
  EXPECT_EQ(w.comboBox4->currentText(), "");
  EXPECT_EQ(w.comboBox8->currentText(), "");
  try {
    SetConfigClick();
    FAIL() << "no refusal";
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(), "'' is not an item of the MainChan box");
  }
}

TEST_F(SettingsPanelTest, BadNumbersNamedInBoxOrder) {
  w.edit2->clear();
  w.edit1->setText("12a");  // text the program could be handed
  try {
    SetConfigClick();
    FAIL() << "no refusal";
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
  Type(w.edit2, "5");
  Type(w.edit1, "65536");
  EXPECT_EQ(w.edit1->text(), "65536");
  try {
    SetConfigClick();
    FAIL() << "no refusal";
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(), "'65536' is out of the range of the Period box (0 to 65535)");
  }
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(device.calls.empty());
}

}  // namespace
}  // namespace trelvan
