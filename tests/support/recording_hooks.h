#pragma once
// AcquisitionHooks that record every call in order; the auto-save is
// scripted: each call takes the next result (default: succeed) and a
// successful one keeps the saved rows' AN1 codes.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "acquisition/acquisition_hooks.h"
#include "acquisition/acquisition_state.h"
#include "support/fake_device_library.h"

namespace trelvan::testing {

class RecordingHooks : public AcquisitionHooks {
 public:
  explicit RecordingHooks(AcquisitionState& state) : state_(state) {}

  std::vector<std::string> calls;
  std::vector<std::pair<std::string, uint32_t>> log;  // text, colour
  std::deque<bool> autoSaveResults;
  std::vector<uint32_t> saved;  // sequence numbers of every row saved, in order
  std::vector<std::string> messages;
  bool timerEnabled = false;
  int timerInterval = 0;
  int64_t nowUs = 0;  // the steady clock, driven by the test
  int autoSaveReportsForgotten = 0;

  void ResetWaveStart() override { calls.push_back("ResetWaveStart"); }
  void ResetTableView() override {
    calls.push_back("ResetTableView cc=" + std::to_string(state_.store.cycleCount));
  }
  void ClearStatsDisplay() override { calls.push_back("ClearStatsDisplay"); }
  void ClearWaveSeries() override { calls.push_back("ClearWaveSeries"); }
  void UpdateStatusPanels() override { calls.push_back("UpdateStatusPanels"); }
  void RefreshWaveLabels() override { calls.push_back("RefreshWaveLabels"); }
  bool AutoSave() override {
    calls.push_back("AutoSave");
    bool ok = true;
    if (!autoSavedResultsEmpty()) {
      ok = autoSaveResults.front();
      autoSaveResults.pop_front();
    }
    if (!ok) return false;
    for (uint32_t r = 0; r < state_.store.cycleCount; ++r) saved.push_back(SequenceOf(state_.store.rawRow(r)));
    state_.store.cycleCount = 0;
    ++state_.storeEmptyings;
    return true;
  }
  void ClearLog() override {
    calls.push_back("ClearLog");
    log.clear();
  }
  void ShowNewestRows(uint32_t n) override { calls.push_back("ShowNewestRows " + std::to_string(n)); }
  void ShowChannelStats() override { calls.push_back("ShowChannelStats"); }
  void AppendWaveRows(uint32_t n) override { calls.push_back("AppendWaveRows " + std::to_string(n)); }
  void LimitWaveZoom() override { calls.push_back("LimitWaveZoom"); }
  void LogMessage(const std::string& text, uint32_t colour) override {
    calls.push_back("Log " + text);
    log.emplace_back(text, colour);
  }
  void RefreshControls() override { calls.push_back("RefreshControls"); }
  void SetPollTimer(bool enabled, int intervalMs) override {
    calls.push_back(std::string("SetPollTimer ") + (enabled ? "on " : "off ") +
                    std::to_string(intervalMs));
    timerEnabled = enabled;
    timerInterval = intervalMs;
  }
  int64_t NowUs() override { return nowUs; }
  void ForgetAutoSaveReports() override { ++autoSaveReportsForgotten; }
  void ShowMessage(const std::string& text) override {
    calls.push_back("ShowMessage " + text);
    messages.push_back(text);
  }

 private:
  bool autoSavedResultsEmpty() const { return autoSaveResults.empty(); }
  AcquisitionState& state_;
};

}  // namespace trelvan::testing
