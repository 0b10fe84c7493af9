#include "acquisition/store_clear.h"

#include "acquisition/poll.h"

namespace trelvan {

void ClearSampleStore(AcquisitionState& state, StoreViews& views) {
  views.ResetWaveStart();
  ++state.storeEmptyings;
  state.store.Restart();  // before the table reset: its scroll event must find it empty
  state.health.saveFailed = false;
  if (!state.paused()) state.health.pauseOpen = false;
  views.ResetTableView();
  for (ChannelStats& stats : state.channelStats) stats = ChannelStats{};
  views.ClearStatsDisplay();
  views.ClearWaveSeries();
  views.UpdateStatusPanels();
  views.RefreshWaveLabels();
}

void ClearBuff(AcquisitionState& state, DeviceLibrary& device, AcquisitionHooks& hooks) {
  DropWaitingCycles(state, hooks);
  state.health.pauseSummary.clear();
  hooks.ForgetAutoSaveReports();
  ClearSampleStore(state, hooks);
  if (state.deviceIndex != NoDevice) {
    state.adcConfig.trigCnt = 0;
    device.ADCSetConfig(state.deviceIndex, &state.adcConfig);
  }
}

}  // namespace trelvan
