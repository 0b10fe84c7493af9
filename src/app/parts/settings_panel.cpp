#include "app/parts/settings_panel.h"

#include <algorithm>
#include <span>
#include <string_view>

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

#include "device/adc_settings.h"
#include "device/status_texts.h"

namespace trelvan {

// Digits only, at most `limit` of them. The limit is the design's typing
// limit, raised to the length of the number last shown in the box, so a
// shown number (65535 in a 4-digit box) stays acceptable and can be edited
// without letting other characters in.
class TypedLengthValidator : public QValidator {
 public:
  TypedLengthValidator(int typedLength, QObject* parent)
      : QValidator(parent), typedLength_(typedLength), limit_(typedLength) {}

  void AllowShownText(const QString& text) {
    limit_ = std::max(typedLength_, static_cast<int>(text.size()));
  }

  State validate(QString& input, int& /*pos*/) const override {
    for (const QChar c : input) {
      if (c < u'0' || c > u'9') return Invalid;
    }
    if (input.size() > limit_) return Invalid;
    return input.isEmpty() ? Intermediate : Acceptable;
  }

 private:
  int typedLength_;
  int limit_;
};

namespace {

void FillItems(QComboBox* box, std::span<const std::string_view> items) {
  box->clear();
  for (const std::string_view item : items) {
    box->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
  }
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
}

TypedLengthValidator* DigitsOnly(QLineEdit* edit, int typedLength) {
  auto* validator = new TypedLengthValidator(typedLength, edit);
  edit->setMaxLength(32767);  // Qt's default: a maximum length would cut shown numbers
  edit->setValidator(validator);
  return validator;
}

// Qt keeps the last index while the user types: the item is found from the text.
ComboChoice ChoiceOf(const QComboBox* box) {
  const QString text = box->currentText();
  ComboChoice choice{-1, text.toStdString()};
  for (int i = 0; i < box->count(); ++i) {
    if (box->itemText(i) == text) {
      choice.index = i;
      break;
    }
  }
  return choice;
}

void ShowNumber(QLineEdit* edit, TypedLengthValidator* validator, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  validator->AllowShownText(shown);
  edit->setText(shown);
}

// Selects the item (or nothing, index -1) and shows its text, replacing a
// typed text also when the index stays the same.
void Select(QComboBox* box, const ComboChoice& choice) {
  box->setCurrentIndex(choice.index);
  box->setEditText(QString::fromStdString(choice.text));
}

}  // namespace

SettingsPanel::SettingsPanel(SettingsWidgets w) : w_(w) {
  FillItems(w_.comboBox8, MainChanItems);
  FillItems(w_.comboBox6, PeriodUnitItems);
  FillItems(w_.comboBox5, TrigModeItems);
  FillItems(w_.comboBox4, IoTypeItems);
  FillItems(w_.comboBox3, TrigDirectionItems);
  FillItems(w_.comboBox1, RangeItems);
  FillItems(w_.comboBox2, OversamplingItems);
  edit2Validator_ = DigitsOnly(w_.edit2, MaxCyclesTypedLength);
  edit1Validator_ = DigitsOnly(w_.edit1, PeriodTypedLength);
  edit4Validator_ = DigitsOnly(w_.edit4, TrigVolTypedLength);
}

void SettingsPanel::ShowAdcConfig(const AdcConfig& config) {
  const AdcSettings s = trelvan::ShowAdcConfig(config);
  ShowNumber(w_.edit1, edit1Validator_, s.period);
  ShowNumber(w_.edit4, edit4Validator_, s.trigVol);
  ShowNumber(w_.edit2, edit2Validator_, s.maxCycles);
  Select(w_.comboBox1, s.range);
  Select(w_.comboBox2, s.oversampling);
  Select(w_.comboBox6, s.periodUnit);
  Select(w_.comboBox4, s.ioType);
  Select(w_.comboBox5, s.trigMode);
  Select(w_.comboBox3, s.trigDirection);
  Select(w_.comboBox8, s.mainChan);
}

AdcConfig SettingsPanel::PackAdcSettings(const AdcConfig& current) const {
  AdcSettings s;
  s.mainChan = ChoiceOf(w_.comboBox8);
  s.maxCycles = w_.edit2->text().toStdString();
  s.period = w_.edit1->text().toStdString();
  s.periodUnit = ChoiceOf(w_.comboBox6);
  s.trigMode = ChoiceOf(w_.comboBox5);
  s.ioType = ChoiceOf(w_.comboBox4);
  s.trigVol = w_.edit4->text().toStdString();
  s.trigDirection = ChoiceOf(w_.comboBox3);
  s.range = ChoiceOf(w_.comboBox1);
  s.oversampling = ChoiceOf(w_.comboBox2);
  return trelvan::PackAdcSettings(current, s);
}

std::array<std::string, 9> SettingsPanel::StatusPanelTexts(const AdcConfig& config) const {
  const StatusComboTexts texts{
      w_.comboBox8->currentText().toStdString(), w_.comboBox5->currentText().toStdString(),
      w_.comboBox4->currentText().toStdString(), w_.comboBox1->currentText().toStdString(),
      w_.comboBox2->currentText().toStdString()};
  return trelvan::StatusPanelTexts(config, texts);
}

}  // namespace trelvan
