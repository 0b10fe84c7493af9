#pragma once
// The main window: owns the acquisition state and every control. Its
// handlers are short: they call core operations and hand them the window as
// their hooks.

#include <QWidget>
#include <array>
#include <atomic>
#include <functional>
#include <memory>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "acquisition/serialized_device.h"
#include "app/parts/message_log.h"
#include "device/device_library.h"

class QCheckBox;
class QComboBox;
class QCustomPlot;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTimer;

namespace trelvan {

class AcquisitionEngine;
class ChartImageMenu;
class Dialogs;
class LogCopyActions;
class FileOperations;
class SettingsPanel;
class TableViewAdapter;
class WaveChartAdapter;

// Who reads the module's FIFO while sampling: the acquisition engine on its
// own thread, or each tick of Timer1 itself (tests that drive the poll by hand).
enum class PollMode { Engine, ByHand };

class TMainForm : public QWidget, public AcquisitionHooks {
  Q_OBJECT

 public:
  TMainForm(DeviceLibrary& device, Dialogs& dialogs, uint32_t storeCapacity = StoreCapacity,
            PollMode pollMode = PollMode::Engine);
  ~TMainForm() override;

  void FormCreate();

  // The acquisition state (read by tests and the About window).
  AcquisitionState acq;

  // Handlers.
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void Button7Click();
  void Button9Click();
  void Button20Click();
  void Button25Click();
  void Button26Click();
  void Button27Click();
  void Timer1Timer();
  void Save1Click();
  void Save2Click();
  void FormClose();
  void OnDeviceNotify(uint32_t wParam, uint32_t lParam);

  // Status-bar panel i (0..9).
  QLabel* StatusPanel(int i) const { return statusPanels_[i]; }
  MessageLog& log() { return *log_; }
  TableViewAdapter& table() { return *table_; }
  WaveChartAdapter& wave() { return *wave_; }
  ChartImageMenu& chartMenu() { return *chartMenu_; }
  LogCopyActions& logCopy() { return *logCopy_; }
  FileOperations& files() { return *files_; }
  // The engine that reads the FIFO while sampling (none in PollMode::ByHand).
  AcquisitionEngine* engine() { return engine_.get(); }
  // For tests: the engine's pace (PollIntervalMs unless set).
  void SetEngineIntervalMs(int ms) { engineIntervalMs_ = ms; }
  // For tests: the steady clock (microseconds) the run's health checks read;
  // the engine calls it on its own thread.
  void SetSteadyClock(std::function<int64_t()> clock) { steadyClock_ = std::move(clock); }

  // Controls, by their design names.
  QTabWidget* PageControl1;
  QWidget *TabSheet1, *TabSheet2;
  QPlainTextEdit *RichEdit2, *RichEdit1;
  QScrollBar* ScrollBar1;
  QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4, *GroupBox5;
  std::array<QLineEdit*, 8> currentBoxes, maxBoxes, minBoxes, pkpkBoxes, factorBoxes;
  QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5, *ComboBox6, *ComboBox8;
  QLineEdit *Edit1, *Edit2, *Edit4, *Edit13, *Edit45;
  QCheckBox* CheckBox17;
  std::array<QCheckBox*, 8> traceChecks;  // AN1..AN8
  QCustomPlot* Chart1;
  QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8,
      *Button9, *Button11, *Button12, *Button13, *Button14, *Button15, *Button16, *Button17,
      *Button18, *Button19, *Button20, *Button21, *Button22, *Button23, *Button24, *Button25,
      *Button26, *Button27;
  QWidget* Panel1;
  QMenu* PopupMenu1;
  QDateTimeEdit* DateTimePicker1;
  QTimer* Timer1;

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void BuildLayout();
  // The engine follows the run: reads while sampling, held while the store
  // cannot take more, stopped otherwise.
  void SyncEngine();
  void EngineRead();
  void ConnectHandlers();
  template <class Work>
  void Guard(Work&& work);

  // Hooks of the acquisition core.
  void ResetWaveStart() override;
  void ResetTableView() override;
  void ClearStatsDisplay() override;
  void ClearWaveSeries() override;
  void UpdateStatusPanels() override;
  void RefreshWaveLabels() override;
  bool AutoSave() override;
  void ClearLog() override;
  void ShowNewestRows(uint32_t newCycles) override;
  void ShowChannelStats() override;
  void AppendWaveRows(uint32_t newCycles) override;
  void LimitWaveZoom() override;
  void LogMessage(const std::string& text, uint32_t colour) override;
  void RefreshControls() override;
  void SetPollTimer(bool enabled, int intervalMs) override;
  void ShowMessage(const std::string& text) override;
  void ShowDfuPin(bool on) override;
  int64_t NowUs() override;
  void UpdateConnectionPanel() override;
  void ForgetAutoSaveReports() override;
  uint32_t UnsavedWriterCycles() override;

  std::array<std::string, 8> FactorTexts() const;

  SerializedDevice device_;
  Dialogs& dialogs_;
  std::array<QLabel*, 10> statusPanels_{};
  std::unique_ptr<MessageLog> log_;
  std::unique_ptr<SettingsPanel> settings_;
  std::unique_ptr<TableViewAdapter> table_;
  std::unique_ptr<WaveChartAdapter> wave_;
  std::unique_ptr<FileOperations> files_;
  ChartImageMenu* chartMenu_ = nullptr;  // a child of Chart1
  LogCopyActions* logCopy_ = nullptr;    // a child of RichEdit1
  std::function<int64_t()> steadyClock_;
  bool closed_ = false;
  std::atomic<bool> readReported_{false};
  int engineIntervalMs_ = PollIntervalMs;
  std::unique_ptr<AcquisitionEngine> engine_;  // last: it reads `device_` and `acq`
};

}  // namespace trelvan
