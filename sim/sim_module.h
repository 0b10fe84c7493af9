#pragma once
// The simulated module behind the device library's C functions: its bus
// state (plugged, open, DFU), configuration, identity and sampling, all
// under one lock. Hot-plug notices go to the notifier, which calls the
// callback on its own thread and never under this lock.

#include <cstdint>
#include <mutex>
#include <string_view>

#include "device/kavrel.h"
#include "failure_injector.h"
#include "notifier.h"
#include "sampling_engine.h"
#include "signal_generator.h"
#include "sim_clock.h"

namespace kavrel_sim {

class SimModule {
 public:
  static constexpr uint8_t kIndex = 0;

  explicit SimModule(Notifier& notifier);

  // The device library's operations.
  uint8_t SetUSBNotify(uint32_t mode, KavrelNotifyCallback callback);
  uint8_t OpenDevice();
  uint8_t CloseDevice(uint8_t index);
  uint8_t GetSerialNo(uint8_t index, char* serial);
  uint8_t ADCGetConfig(uint8_t index, AdcConfig* config);
  uint8_t ADCSetConfig(uint8_t index, const AdcConfig* config);
  uint8_t DFUPinGet(uint8_t index, uint8_t* state);
  uint8_t DFUPinSet(uint8_t index, uint8_t state);
  uint8_t DFUMode(uint8_t index);
  uint8_t ADCReset(uint8_t index);
  uint8_t ADCStart(uint8_t index);
  uint8_t InitFIFO(uint8_t index);
  uint8_t GetFIFOLeft(uint8_t index, int32_t* fifoLeft);
  uint8_t ReadFIFO(uint8_t index, uint8_t* buffer, uint32_t bufferSize, uint32_t* bytesRead);
  uint8_t ADCStop(uint8_t index);
  uint8_t ADCRead(uint8_t index, uint8_t* cycle);
  uint8_t GetVersion(uint8_t index, uint8_t selector, char* buffer);

  // Control.
  void Reset();
  bool Unplug();
  bool Plug();
  bool FailNext(std::string_view operation, uint32_t count);
  bool SelectSource(uint32_t source);
  void SetManualClock(bool manual);
  void AdvanceClock(uint64_t microseconds);
  bool SetExternalClock(uint32_t periodUs);
  uint64_t DroppedCycles();

 private:
  enum class Bus { Unplugged, Plugged, Dfu };

  // True when the call may go ahead: no injected failure and `index` is
  // the open module's. Lock held.
  bool Admit(Op op, uint8_t index);
  // Power-on state of the module itself (not of the library). Lock held.
  void PowerOn();
  // Leaves the bus: closed, idle, FIFO empty, removal notice. Lock held.
  void LeaveBus(Bus next);

  std::mutex mutex_;
  Notifier& notifier_;
  SignalGenerator generator_;
  SimClock clock_;
  FailureInjector failures_;
  SamplingEngine engine_;
  Bus bus_ = Bus::Plugged;
  bool open_ = false;
  AdcConfig config_{};  // running bit always clear here; the engine knows
  uint8_t dfuPin_ = 0;
  uint32_t singleReads_ = 0;
};

}  // namespace kavrel_sim
