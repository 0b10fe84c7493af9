#pragma once
// What the acquisition operations ask of the window: view updates, the log,
// the auto-save, the poll timer and message boxes. Every member does nothing
// by default, so the core runs before (and without) the views.

#include <chrono>
#include <cstdint>
#include <string>

namespace trelvan {

// The views that emptying the store resets, called in this order.
struct StoreViews {
  virtual ~StoreViews() = default;
  virtual void ResetWaveStart() {}
  virtual void ResetTableView() {}
  virtual void ClearStatsDisplay() {}
  virtual void ClearWaveSeries() {}
  virtual void UpdateStatusPanels() {}
  virtual void RefreshWaveLabels() {}
};

struct AcquisitionHooks : StoreViews {
  // Writes the full store to a new file and empties it; true when it did.
  virtual bool AutoSave() { return false; }
  virtual void ClearLog() {}
  virtual void ShowNewestRows(uint32_t /*newCycles*/) {}
  virtual void ShowChannelStats() {}
  virtual void AppendWaveRows(uint32_t /*newCycles*/) {}
  virtual void LimitWaveZoom() {}
  virtual void LogMessage(const std::string& /*text*/, uint32_t /*colour*/) {}
  virtual void RefreshControls() {}
  // Timer1: enabled or not, with its interval in milliseconds.
  virtual void SetPollTimer(bool /*enabled*/, int /*intervalMs*/) {}
  // The DFU Pin check box, from the module's pin on connect.
  virtual void ShowDfuPin(bool /*on*/) {}
  // A modal information box.
  virtual void ShowMessage(const std::string& /*text*/) {}
  // The time in microseconds on a steady clock (tests drive it by hand).
  virtual int64_t NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  // Status panel 0 shows the connection, a pause, failing reads or losses.
  virtual void UpdateConnectionPanel() {}
  // The auto-save logs its next failure again, even for the same folder and
  // reason (a new run, a new pause).
  virtual void ForgetAutoSaveReports() {}
  // Cycles the auto-save writer holds after a failed write (not yet in a file).
  virtual uint32_t UnsavedWriterCycles() { return 0; }
};

}  // namespace trelvan
