// The window's keys: shortcuts, Alt letters, Enter in the Go box, tooltips,
// tab order, and the focus after an input error.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <functional>

#include "app/keyboard.h"
#include "app/main_form.h"
#include "app/parts/mnemonics.h"
#include "support/fake_device_library.h"
#include "support/scripted_dialogs.h"
#include "views/qt/wave_chart_adapter.h"

namespace trelvan {
namespace {

struct KeyboardTest : ::testing::Test {
  testing::FakeDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  std::unique_ptr<TMainForm> form;

  void SetUp() override {
    device.config.modeBits = 0x30;
    device.config.trigBits = 0x01;
    device.config.wPeriod = 100;
    form = std::make_unique<TMainForm>(device, dialogs, 1000, PollMode::ByHand);
    form->FormCreate();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  void TearDown() override {
    form->close();
    form.reset();
  }
  void Press(QKeyCombination key) { QTest::keyClick(form.get(), key.key(), key.keyboardModifiers()); }
  // An Alt letter presses its button as a click animated on the screen does.
  void PressAlt(Qt::Key letter, const std::function<bool()>& done) {
    Press(Qt::ALT | letter);
    EXPECT_TRUE(QTest::qWaitFor(done, 5000));
  }
};

TEST_F(KeyboardTest, ShortcutsPressTheirButtonsOnlyWhenEnabled) {
  Press(Qt::Key_F5);  // Button1 is disabled without a module
  EXPECT_EQ(device.count("ADCStart"), 0);
  form->Button7->click();
  Press(Qt::Key_F5);
  EXPECT_EQ(device.count("ADCStart"), 1);
  EXPECT_EQ(PlainCaption(form->Button1->text()), "StopSample");
  Press(Qt::Key_F5);
  EXPECT_EQ(device.count("ADCStop"), 1);
  EXPECT_EQ(PlainCaption(form->Button1->text()), "StartSample");

  form->Button6->click();  // one cycle, so that Save As opens its dialog
  Press(Qt::CTRL | Qt::Key_S);
  Press(Qt::CTRL | Qt::Key_O);
  EXPECT_EQ(dialogs.asked, (QStringList{"SaveFile Save As",
                                        "Confirm This operation will clear all the previous sample data!!!"}));
}

TEST_F(KeyboardTest, AltLettersPressButtonsAndCaptionsStay) {
  PressAlt(Qt::Key_O, [&] { return form->acq.deviceIndex == 0; });  // connects
  EXPECT_EQ(form->Button7->text(), "Disc&onnect");
  PressAlt(Qt::Key_T, [&] { return device.count("ADCStart") == 1; });  // starts
  EXPECT_EQ(form->Button1->text(), "S&topSample");
  PressAlt(Qt::Key_W, [&] { return form->Button8->text() == "S&witch to TXT"; });
  PressAlt(Qt::Key_W, [&] { return form->Button8->text() == "S&witch to HEX"; });

  // Every shown caption is the design's; no letter serves two buttons of
  // one page.
  const QList<QPushButton*> buttons = form->findChildren<QPushButton*>();
  for (QWidget* page : {form->TabSheet1, form->TabSheet2}) {
    QSet<QString> keys;
    for (QPushButton* b : buttons) {
      if (!page->isAncestorOf(b) && !form->GroupBox3->isAncestorOf(b)) continue;
      const QString key = QKeySequence::mnemonic(b->text()).toString();
      if (key.isEmpty()) continue;
      EXPECT_FALSE(keys.contains(key)) << key.toStdString();
      keys.insert(key);
    }
  }
  EXPECT_EQ(PlainCaption(form->Button21->text()), "Zoom In(Y)");
  EXPECT_EQ(PlainCaption(form->Button12->text()), "Zoom Out (X)");
}

TEST_F(KeyboardTest, TooltipsNameTheKeys) {
  EXPECT_EQ(form->Button1->toolTip(), "F5, Alt+T");
  EXPECT_EQ(form->Button4->toolTip(), "Ctrl+S, Alt+S");
  EXPECT_EQ(form->Button27->toolTip(), "Ctrl+O, Alt+L");
  EXPECT_EQ(form->Button7->toolTip(), "Alt+O");
  EXPECT_EQ(form->Button13->toolTip(), "Alt+H");
  EXPECT_EQ(form->Button19->toolTip(), "Enter in the box beside");
}

TEST_F(KeyboardTest, EnterInTheGoBoxPressesGo) {
  form->PageControl1->setCurrentWidget(form->TabSheet2);
  form->Edit13->setFocus();
  form->Edit13->setText("");
  QTest::keyClick(form->Edit13, Qt::Key_Return);
  EXPECT_TRUE(form->log().Lines().back().text.ends_with("Please input a number!"));
  form->Edit13->setText("5");
  QTest::keyClick(form->Edit13, Qt::Key_Enter);  // the keypad's Enter too
  EXPECT_TRUE(form->log().Lines().back().text.ends_with("Out of the size!"));
}

TEST_F(KeyboardTest, TabFollowsTheLayout) {
  // From the last Factor box to the settings, top to bottom.
  QWidget* w = form->factorBoxes[7];
  std::vector<QString> names;
  for (int i = 0; i < 4; ++i) {
    w = w->nextInFocusChain();
    while (w->focusPolicy() == Qt::NoFocus || !(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
    names.push_back(w->objectName());
  }
  EXPECT_EQ(names, (std::vector<QString>{"CheckBox17", "ComboBox8", "Edit2", "Edit1"}));
  // The Factor boxes follow each other; the read-only statistics are skipped by Tab.
  for (int c = 0; c < 7; ++c) {
    QWidget* next = form->factorBoxes[c]->nextInFocusChain();
    while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    EXPECT_EQ(next, form->factorBoxes[c + 1]);
  }
  EXPECT_EQ(form->currentBoxes[0]->focusPolicy(), Qt::ClickFocus);
  // The Operations buttons in reading order.
  QWidget* b = form->Button7;
  for (QPushButton* expected : {form->Button2, form->Button1, form->Button6, form->Button8}) {
    b = b->nextInFocusChain();
    while (!(b->focusPolicy() & Qt::TabFocus)) b = b->nextInFocusChain();
    EXPECT_EQ(b, expected);
  }
}

TEST_F(KeyboardTest, AnInputErrorPutsTheFocusOnItsBox) {
  form->Button7->click();
  form->PageControl1->setCurrentWidget(form->TabSheet2);
  form->factorBoxes[5]->setText("1.5y");
  form->Button6->click();  // Read Once reads the factors
  EXPECT_EQ(dialogs.asked.last(), "Error Trelvan: '1.5y' is not a valid floating point value");
  EXPECT_EQ(form->PageControl1->currentWidget(), form->TabSheet1);
  EXPECT_EQ(QApplication::focusWidget(), form->factorBoxes[5]);
  EXPECT_EQ(form->factorBoxes[5]->selectedText(), "1.5y");
  form->factorBoxes[5]->setText("1");

  struct Case {
    QWidget* box;
    const char* text;
    const char* message;
  } cases[] = {
      {form->Edit1, "", "'' is not a valid integer value"},
      {form->Edit2, "99999999999", "'99999999999' is not a valid integer value"},
      {form->Edit1, "65536", "'65536' is out of the range of the Period box (0 to 65535)"},
      {form->ComboBox5, "Sometimes", "'Sometimes' is not an item of the Trig Mode box"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box->objectName().toStdString());
    auto* combo = qobject_cast<QComboBox*>(c.box);
    QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(c.box);
    const QString before = edit->text();
    edit->setText(c.text);
    form->Button7->setFocus();
    form->Button2->click();  // Set Config
    EXPECT_EQ(dialogs.asked.last(), QString("Error Trelvan: ") + c.message);
    EXPECT_TRUE(QApplication::focusWidget() == c.box || QApplication::focusWidget() == edit);
    EXPECT_EQ(edit->selectedText(), c.text);
    edit->setText(before);
  }
}

}  // namespace
}  // namespace trelvan
