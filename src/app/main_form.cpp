#include "app/main_form.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "acquisition/acquisition_engine.h"
#include "acquisition/connection.h"
#include "acquisition/poll.h"
#include "acquisition/run_health.h"
#include "acquisition/sampling_control.h"
#include "acquisition/set_config.h"
#include "acquisition/store_clear.h"
#include "app/build_stamp.h"
#include "app/chart_image_menu.h"
#include "app/device_notify.h"
#include "app/error_guard.h"
#include "app/input_focus.h"
#include "app/keyboard.h"
#include "app/parts/about_form.h"
#include "app/parts/auto_save_folder.h"
#include "app/parts/file_operations.h"
#include "app/parts/locale_texts.h"
#include "app/parts/log_copy_actions.h"
#include "app/parts/mnemonics.h"
#include "app/parts/settings_panel.h"
#include "device/input_error.h"
#include "device/log_colours.h"
#include "views/qt/table_view_adapter.h"
#include "views/qt/wave_chart_adapter.h"

namespace trelvan {

TMainForm::TMainForm(DeviceLibrary& device, Dialogs& dialogs, uint32_t storeCapacity,
                     PollMode pollMode)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                  Qt::WindowCloseButtonHint),
      acq(storeCapacity),
      device_(device),
      dialogs_(dialogs) {
  BuildLayout();
  log_ = std::make_unique<MessageLog>(RichEdit1);
  settings_ = std::make_unique<SettingsPanel>(SettingsWidgets{
      ComboBox8, ComboBox6, ComboBox5, ComboBox4, ComboBox3, ComboBox1, ComboBox2, Edit2, Edit1,
      Edit4});
  table_ = std::make_unique<TableViewAdapter>(
      acq.store, acq.channelStats,
      TableWidgets{RichEdit2, ScrollBar1, Button8, PageControl1, TabSheet2, currentBoxes, maxBoxes,
                   minBoxes, pkpkBoxes});
  const auto logFn = [this](const std::string& text, uint32_t colour) { LogMessage(text, colour); };
  wave_ = std::make_unique<WaveChartAdapter>(
      acq.store,
      WaveWidgets{Chart1, Edit13, Button11, Button12, Button13, Button14, Button15, Button16,
                  Button17, Button18, Button19, Button21, Button22, Button23, Button24, traceChecks},
      logFn);
  table_->SetErrorHandler(ErrorBox(dialogs_));
  wave_->SetErrorHandler(ErrorBox(dialogs_));
  files_ = std::make_unique<FileOperations>(acq, *this, dialogs_, Edit45);
  files_->onUnwrittenChanged = [this] { UpdateConnectionPanel(); };
  chartMenu_ = new ChartImageMenu(Chart1, dialogs_, logFn, ErrorBox(dialogs_));
  logCopy_ = new LogCopyActions(RichEdit1, PopupMenu1);
  ConnectHandlers();
  InstallKeyboard(*this);
  acq.deviceIndex = NoDevice;
  if (pollMode == PollMode::Engine) {
    engine_ = std::make_unique<AcquisitionEngine>(
        device_, acq.reads, [this] { return NowUs(); }, [this] { EngineRead(); });
  }
}

TMainForm::~TMainForm() {
  engine_.reset();  // no report is posted to a window being destroyed
  SetNotifyTarget(nullptr);
}

void TMainForm::EngineRead() {
  if (readReported_.exchange(true)) return;  // one report waits already
  QMetaObject::invokeMethod(
      this,
      [this] {
        readReported_ = false;
        if (Timer1->isActive()) Guard([&] { Timer1Timer(); });
      },
      Qt::QueuedConnection);
}

void TMainForm::SyncEngine() {
  if (!engine_) return;
  if (IsRunning(acq.adcConfig) && !closed_) {
    engine_->Hold(!MayReadFifo(acq));
    engine_->Run(acq.deviceIndex, engineIntervalMs_);
  } else {
    engine_->End();
  }
}

template <class Work>
void TMainForm::Guard(Work&& work) {
  Guarded(dialogs_, [&] {
    try {
      work();
    } catch (const InputError& e) {
      ErrorBox(dialogs_)(e.what());
      FocusRefusedBox(*this, e);  // once the box has closed
    }
  });
  SyncEngine();
}

void TMainForm::ConnectHandlers() {
  const auto on = [this](QPushButton* button, void (TMainForm::*handler)()) {
    connect(button, &QPushButton::clicked, this, [this, handler] { Guard([&] { (this->*handler)(); }); });
  };
  on(Button1, &TMainForm::Button1Click);
  on(Button2, &TMainForm::Button2Click);
  on(Button3, &TMainForm::Button3Click);
  on(Button4, &TMainForm::Button4Click);
  on(Button5, &TMainForm::Button5Click);
  on(Button6, &TMainForm::Button6Click);
  on(Button7, &TMainForm::Button7Click);
  on(Button9, &TMainForm::Button9Click);
  on(Button20, &TMainForm::Button20Click);
  on(Button25, &TMainForm::Button25Click);
  on(Button26, &TMainForm::Button26Click);
  on(Button27, &TMainForm::Button27Click);
  connect(Timer1, &QTimer::timeout, this, [this] { Guard([&] { Timer1Timer(); }); });
  connect(RichEdit1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) {
            Guard([&] { PopupMenu1->popup(RichEdit1->mapToGlobal(at)); });
          });
  const auto actions = PopupMenu1->actions();
  connect(actions[0], &QAction::triggered, this, [this] { Guard([&] { Save1Click(); }); });
  connect(actions[1], &QAction::triggered, this, [this] { Guard([&] { Save2Click(); }); });
}

void TMainForm::FormCreate() {
  LogMessage("Welcome to use Trelvan software", LogBlue);
  SetDefaultConfig(acq.adcConfig);
  if (!device_.SetUSBNotify(1, &USBNotifyCallback)) {
    LogMessage("Kavrel_SetUSBNotify failed: unplugging the module will not be noticed!", LogRed);
  }
  SetNotifyTarget(this);
  acq.store.Restart();
  RefreshControls();
  Button9Click();
  wave_->Button13Click();
  Edit45->setText(DefaultAutoSaveFolder());
}

// ---- Handlers --------------------------------------------------------------

void TMainForm::Button1Click() {
  if (IsRunning(acq.adcConfig)) {
    files_->RetryAutoSaveNow();  // Stop makes one try to end a pause, whatever the retry delay
    if (engine_) {
      // The reads the engine took before the press are stored first (behind
      // a pause they wait with its cycles).
      engine_->End();
      if (MayReadFifo(acq) && !acq.reads.Empty()) trelvan::Timer1Timer(acq, *this);
    }
    StopSample(acq, device_, *this);
    SyncEngine();
    return;
  }
  if (!Edit45->text().isEmpty() && !files_->MayEmptyStore()) return;
  const DateTimeTexts now = LocaleDateTimeTexts(QDateTime::currentDateTime());
  StartInputs inputs;
  inputs.autoSavePath = Edit45->text().toStdString();
  inputs.factorTexts = FactorTexts();
  inputs.startDateTime = (now.date + " " + now.time).toStdString();
  StartSample(acq, device_, *this, inputs);
  SyncEngine();
}

void TMainForm::Button2Click() {
  const AdcConfig packed = settings_->PackAdcSettings(acq.adcConfig);
  SetConfig(acq, device_, *this, packed);
}

void TMainForm::Button3Click() {
  TForm1 about(this, device_, acq.deviceIndex,
               [this](const std::string& text, uint32_t colour) { LogMessage(text, colour); },
               QString::fromLatin1(BuildDateTime()));
  about.exec();
}

void TMainForm::Button4Click() { files_->Button4Click(); }

void TMainForm::Button5Click() {
  if (!dialogs_.Confirm("Are you sure to enter dfu mode?")) return;
  EnterDfuMode(acq, device_, *this);
}

void TMainForm::Button6Click() {
  if (files_->LoadingIntoStore()) {
    LogMessage(LoadRunningMessage(), LogRed);
    return;
  }
  ReadOnce(acq, device_, *this, FactorTexts());
}

void TMainForm::Button7Click() {
  if (acq.deviceIndex == NoDevice) BeginConnection();
  ConnectOrDisconnect(acq, device_, *this);
  SyncEngine();
}

void TMainForm::Button9Click() {
  if (files_->MayEmptyStore()) ClearBuff(acq, device_, *this);
}

void TMainForm::Button20Click() { device_.ADCReset(acq.deviceIndex); }

void TMainForm::Button25Click() {
  device_.DFUPinSet(acq.deviceIndex, CheckBox17->isChecked() ? 1 : 0);
}

void TMainForm::Button26Click() { files_->Button26Click(); }

void TMainForm::Button27Click() { files_->Button27Click(); }

void TMainForm::Timer1Timer() {
  if (engine_) {
    trelvan::Timer1Timer(acq, *this);
  } else {
    trelvan::Timer1Timer(acq, device_, *this);
  }
  SyncEngine();
}

void TMainForm::Save1Click() { log_->Clear(); }

void TMainForm::Save2Click() { log_->SaveAs(dialogs_); }

void TMainForm::FormClose() {
  SetNotifyTarget(nullptr);
  if (engine_) engine_->End();
  CloseOnExit(acq, device_);
}

void TMainForm::OnDeviceNotify(uint32_t wParam, uint32_t lParam) {
  trelvan::OnDeviceNotify(acq, *this, wParam, lParam);
  SyncEngine();
}

bool TMainForm::event(QEvent* e) {
  if (e->type() == DeviceNotifyEvent::Kind) {
    const auto* notice = static_cast<DeviceNotifyEvent*>(e);
    if (IsCurrentConnection(*notice)) Guard([&] { OnDeviceNotify(notice->wParam, notice->lParam); });
    return true;
  }

  return QWidget::event(e);
}

void TMainForm::closeEvent(QCloseEvent* e) {
  if (!closed_ && !files_->ReadyToClose([this] { close(); })) {
    e->ignore();  // file work ends first; then the window closes again
    return;
  }
  if (!closed_) {
    closed_ = true;
    Guard([&] { FormClose(); });
  }
  e->accept();
}

// ---- Hooks of the acquisition core -----------------------------------------

void TMainForm::ResetWaveStart() { wave_->ResetWaveStart(); }
void TMainForm::ResetTableView() { table_->ResetTableView(); }
void TMainForm::ClearStatsDisplay() { table_->ClearStatsDisplay(); }
void TMainForm::ClearWaveSeries() { wave_->ClearWaveSeries(); }
void TMainForm::RefreshWaveLabels() { wave_->RefreshWaveLabels(); }
bool TMainForm::AutoSave() { return files_->AutoSave(); }
void TMainForm::ClearLog() { log_->Clear(); }
void TMainForm::ShowNewestRows(uint32_t newCycles) { table_->ShowNewestRows(newCycles); }
void TMainForm::ShowChannelStats() { table_->ShowChannelStats(); }
void TMainForm::AppendWaveRows(uint32_t newCycles) { wave_->AppendWaveRows(newCycles); }
void TMainForm::LimitWaveZoom() { wave_->LimitWaveZoom(); }

void TMainForm::UpdateStatusPanels() {
  const auto texts = settings_->StatusPanelTexts(acq.adcConfig);
  for (int i = 0; i < 9; ++i) statusPanels_[i + 1]->setText(QString::fromStdString(texts[i]));
  UpdateConnectionPanel();
}

void TMainForm::UpdateConnectionPanel() {
  const ConnectionPanel panel = ComputeConnectionPanel(acq, files_ ? files_->UnsavedWriterCycles() : 0);
  QLabel* label = statusPanels_[0];
  const QString text = QString::fromStdString(panel.text);
  if (label->text() != text) label->setText(text);
  const QString style = panel.red ? QStringLiteral("color: red;") : QString();
  if (label->styleSheet() != style) label->setStyleSheet(style);
}

int64_t TMainForm::NowUs() { return steadyClock_ ? steadyClock_() : AcquisitionHooks::NowUs(); }

void TMainForm::ForgetAutoSaveReports() { files_->ForgetAutoSaveReports(); }
uint32_t TMainForm::UnsavedWriterCycles() { return files_->UnsavedWriterCycles(); }

void TMainForm::LogMessage(const std::string& text, uint32_t colour) {
  log_->LogMessage(QString::fromStdString(text), colour);
}

void TMainForm::RefreshControls() {
  const ControlStates s = ComputeControlStates(acq);
  Button1->setText(WithMnemonic(QString::fromStdString(s.button1Caption)));
  RefreshAcquisitionValues(acq);
  // "[*]" in a title is Qt's modified-mark placeholder; "[*][*]" shows it as text.
  setWindowTitle(QString::fromLatin1(s.windowCaption).replace("[*]", "[*][*]"));
  Button7->setText(WithMnemonic(QString::fromStdString(s.button7Caption)));
  UpdateConnectionPanel();
  Button1->setEnabled(s.button1);
  Button2->setEnabled(s.button2);
  Button3->setEnabled(s.button3);
  Button5->setEnabled(s.button5);
  Button6->setEnabled(s.button6);
  Button9->setEnabled(s.button9);
  Button20->setEnabled(s.button20);
  Button25->setEnabled(s.button25);
  settings_->ShowAdcConfig(acq.adcConfig);
}

void TMainForm::SetPollTimer(bool enabled, int intervalMs) {
  Timer1->setInterval(intervalMs);
  if (enabled) {
    Timer1->start();
  } else {
    Timer1->stop();
  }
}

void TMainForm::ShowMessage(const std::string& text) {
  dialogs_.Information(QString::fromStdString(text));
}

void TMainForm::ShowDfuPin(bool on) { CheckBox17->setChecked(on); }

std::array<std::string, 8> TMainForm::FactorTexts() const {
  std::array<std::string, 8> texts;
  for (int c = 0; c < 8; ++c) texts[c] = factorBoxes[c]->text().toStdString();
  return texts;
}

}  // namespace trelvan
