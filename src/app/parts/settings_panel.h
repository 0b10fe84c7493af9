#pragma once
// The "ADC Settings" controls: their items and input limits, the record
// shown in them, the record packed from them, and the status panel texts
// that follow them.

#include <array>
#include <string>

#include "device/adc_config.h"

class QComboBox;
class QLineEdit;

namespace trelvan {

class TypedLengthValidator;

struct SettingsWidgets {
  QComboBox *comboBox8, *comboBox6, *comboBox5, *comboBox4, *comboBox3, *comboBox1, *comboBox2;
  QLineEdit *edit2, *edit1, *edit4;
};

class SettingsPanel {
 public:
  // Fills the combo boxes with their items and makes them editable without
  // ever inserting typed text; the three number boxes take digits only, and
  // their length limits bind typing only (never the numbers shown in them).
  explicit SettingsPanel(SettingsWidgets w);

  // Puts `config` into the controls; a field without an item leaves its box
  // empty with no selection.
  void ShowAdcConfig(const AdcConfig& config);

  // A new record from `current` and the controls. A combo box's index is
  // that of the item whose text equals the box's text exactly, else -1.
  // Throws InputError for a bad number or a combo text that is no item.
  AdcConfig PackAdcSettings(const AdcConfig& current) const;

  // Status panels 1..9 from `config` and the combo boxes' current texts.
  std::array<std::string, 9> StatusPanelTexts(const AdcConfig& config) const;

 private:
  SettingsWidgets w_;
  TypedLengthValidator *edit2Validator_, *edit1Validator_, *edit4Validator_;
};

}  // namespace trelvan
