#include "app/keyboard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <vector>

#include "app/main_form.h"
#include "app/parts/mnemonics.h"

namespace trelvan {

namespace {

const char* const ExtraKeysProperty = "trelvanKeys";

// `key` presses `button` while the window is active and the button enabled.
void PressWith(TMainForm& form, QPushButton* button, const QKeySequence& key) {
  auto* shortcut = new QShortcut(key, &form);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, button, [button] {
    if (button->isEnabled()) button->click();
  });
  button->setProperty(ExtraKeysProperty, key.toString(QKeySequence::NativeText));
}

void ChainTabOrder(const std::vector<QWidget*>& widgets) {
  for (std::size_t i = 1; i < widgets.size(); ++i) QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

}  // namespace

QString ButtonKeysText(const QPushButton& button) {
  QStringList keys;
  const QString extra = button.property(ExtraKeysProperty).toString();
  if (!extra.isEmpty()) keys << extra;
  const QKeySequence alt = QKeySequence::mnemonic(button.text());
  if (!alt.isEmpty()) keys << alt.toString(QKeySequence::NativeText);
  return keys.join(", ");
}

void InstallKeyboard(TMainForm& f) {
  const auto buttons = f.findChildren<QPushButton*>();
  for (QPushButton* button : buttons) button->setText(WithMnemonic(button->text()));

  PressWith(f, f.Button1, QKeySequence(Qt::Key_F5));
  PressWith(f, f.Button4, QKeySequence(QKeySequence::Save));
  PressWith(f, f.Button27, QKeySequence(QKeySequence::Open));
  QObject::connect(f.Edit13, &QLineEdit::returnPressed, f.Button19, [button = f.Button19] {
    if (button->isEnabled()) button->click();
  });
  f.Button19->setProperty(ExtraKeysProperty, QStringLiteral("Enter in the box beside"));

  for (QPushButton* button : buttons) {
    const QString keys = ButtonKeysText(*button);
    if (!keys.isEmpty()) button->setToolTip(keys);
  }

  // Tab goes through what a user types into or presses, in reading order.
  for (const auto* column : {&f.currentBoxes, &f.maxBoxes, &f.minBoxes, &f.pkpkBoxes}) {
    for (QLineEdit* box : *column) box->setFocusPolicy(Qt::ClickFocus);
  }
  f.Edit45->setFocusPolicy(Qt::ClickFocus);
  std::vector<QWidget*> order{f.PageControl1, f.RichEdit2};
  order.insert(order.end(), f.factorBoxes.begin(), f.factorBoxes.end());
  order.insert(order.end(), {f.CheckBox17, f.ComboBox8, f.Edit2, f.Edit1, f.ComboBox6, f.ComboBox5,
                             f.ComboBox4, f.Edit4, f.ComboBox3, f.ComboBox1, f.ComboBox2, f.Button26});
  order.insert(order.end(), f.traceChecks.begin(), f.traceChecks.end());
  order.insert(order.end(), {f.Button21, f.Button22, f.Button23, f.Button24, f.Button11, f.Button12,
                             f.Button15, f.Button16, f.Button17, f.Button18, f.Button13, f.Button14,
                             f.Edit13, f.Button19, f.RichEdit1, f.Button7, f.Button2, f.Button1,
                             f.Button6, f.Button8, f.Button27, f.Button4, f.Button9, f.Button5,
                             f.Button25, f.Button20, f.Button3});
  ChainTabOrder(order);
}

}  // namespace trelvan
