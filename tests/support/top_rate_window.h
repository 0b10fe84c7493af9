#pragma once
// A window made ready for a run at the module's top rate: auto-saves into
// `folder`, the simulated module connected, a 1 us period set.

#include <QComboBox>
#include <QLineEdit>
#include <QString>

#include "app/main_form.h"

namespace trelvan::testing {

inline void ConnectAtOneMicrosecond(TMainForm& form, const QString& folder) {
  form.Edit45->setText(folder + "/");
  form.Button7Click();
  form.Edit1->setText("1");
  form.ComboBox6->setCurrentIndex(0);  // microseconds
  form.Button2Click();
}

}  // namespace trelvan::testing
