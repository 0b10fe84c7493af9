#include "app/input_focus.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include "app/main_form.h"
#include "device/input_error.h"

namespace trelvan {

namespace {

QWidget* RefusedBox(TMainForm& f, const InputError& error) {
  switch (error.box()) {
    case InputBox::MaxCycles: return f.Edit2;
    case InputBox::Period: return f.Edit1;
    case InputBox::TrigVol: return f.Edit4;
    case InputBox::MainChan: return f.ComboBox8;
    case InputBox::PeriodUnit: return f.ComboBox6;
    case InputBox::TrigMode: return f.ComboBox5;
    case InputBox::IoType: return f.ComboBox4;
    case InputBox::TrigDirection: return f.ComboBox3;
    case InputBox::Range: return f.ComboBox1;
    case InputBox::Oversampling: return f.ComboBox2;
    case InputBox::Factor:
      return error.channel() >= 0 && error.channel() < Channels ? f.factorBoxes[error.channel()]
                                                                 : nullptr;
    case InputBox::Unknown: break;
  }
  return nullptr;
}

}  // namespace

void FocusRefusedBox(TMainForm& form, const InputError& error) {
  QWidget* box = RefusedBox(form, error);
  if (!box) return;
  form.PageControl1->setCurrentWidget(form.TabSheet1);  // every such box is on the Data page
  box->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(box)) {
    edit->selectAll();
  } else if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) {
    combo->lineEdit()->selectAll();
  }
}

}  // namespace trelvan
