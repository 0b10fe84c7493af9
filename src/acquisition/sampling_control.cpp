#include "acquisition/sampling_control.h"

#include "acquisition/conversion.h"
#include "acquisition/poll.h"
#include "acquisition/store_clear.h"
#include "device/log_colours.h"

namespace trelvan {

void StartSample(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks,
                 const StartInputs& inputs) {
  if (inputs.autoSavePath.empty()) {
    hooks.ShowMessage("AutoSave path empty!!!");
    return;
  }
  CheckChannelFactors(inputs.factorTexts);
  DropWaitingCycles(state, hooks);
  ResetRunHealth(state.health);
  hooks.ForgetAutoSaveReports();
  ClearSampleStore(state, hooks);
  if (device.ADCStart(state.deviceIndex)) {
    hooks.LimitWaveZoom();
    SetRunning(state.adcConfig, true);
    hooks.SetPollTimer(true, PollIntervalMs);
    device.InitFIFO(state.deviceIndex);
    state.health.drops.Begin(state.adcConfig, hooks.NowUs(), PollIntervalMs);
    state.adcConfig.trigCnt = 0;
    ReadChannelFactors(state, inputs.factorTexts);
    hooks.LogMessage("start sample... " + inputs.startDateTime, LogBlue);
  } else {
    hooks.LogMessage("Fail to call Kavrel_ADCStart!", LogRed);
  }
  hooks.RefreshControls();
}

void StopSample(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks) {
  if (device.ADCStop(state.deviceIndex)) {
    hooks.SetPollTimer(false, PollIntervalMs);
    SetRunning(state.adcConfig, false);
  } else {
    hooks.LogMessage("Fail to call Kavrel_ADCStop!", LogRed);
  }
  if (!IsRunning(state.adcConfig)) state.health.drops.End();
  // A new episode: a failure is logged again. A full store whose auto-save
  // failed, cycles held for it, rows of a failed write, or several: one more
  // try, else say how many cycles in all wait.
  hooks.ForgetAutoSaveReports();
  if (state.paused() || state.store.full()) EndPause(state, hooks);
  uint64_t unsaved = hooks.UnsavedWriterCycles();
  if (state.paused() || state.store.full()) {
    unsaved += uint64_t{state.store.cycleCount} + state.waitingCycles + state.reads.Cycles();
  }
  if (unsaved > 0) hooks.LogMessage(UnsavedCyclesMessage(unsaved), LogRed);
  hooks.RefreshControls();
}

void ReadOnce(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks,
              const FactorTexts& factorTexts) {
  // Held cycles are stored with the factors of their run, so the new factors
  // are checked first and taken only once the pause has ended.
  CheckChannelFactors(factorTexts);
  const uint64_t emptyings = state.storeEmptyings;
  if (state.paused()) EndPause(state, hooks);
  ReadChannelFactors(state, factorTexts);
  if (state.storeEmptyings != emptyings && !state.paused()) {
    // Ending the pause saved the full store.
    hooks.LogMessage("Previos sample data saved!", LogBlue);
  }
  if (state.store.full()) {
    // Still paused: the pause's own save has just failed; no second try.
    if (state.paused() || !hooks.AutoSave() || state.store.full()) {
      state.health.saveFailed = true;
      hooks.LogMessage(FullStoreNotSavedMessage(), LogRed);
      return;
    }
    hooks.LogMessage("Previos sample data saved!", LogBlue);
  }
  uint8_t cycle[CycleBytes];
  if (!device.ADCRead(state.deviceIndex, cycle)) {
    hooks.LogMessage("Fail to call Kavrel_ADCRead!", LogRed);
    return;
  }
  state.adcConfig.trigCnt += 1;
  StoreCycle(state, cycle);
  hooks.ShowNewestRows(1);
  hooks.AppendWaveRows(1);
  hooks.ShowChannelStats();
  hooks.UpdateStatusPanels();
}

std::string FullStoreNotSavedMessage() {
  return "The store is full and could not be auto-saved: nothing was read!";
}

}  // namespace trelvan
