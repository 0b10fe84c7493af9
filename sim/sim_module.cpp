#include "sim_module.h"

#include <cstring>

#include "kavrel_sim.h"

namespace kavrel_sim {
namespace {

constexpr uint8_t kRunningBit = 0x80;
constexpr char kSerial[] = "KV8-2307-004219";
constexpr const char* kVersions[] = {
    "LIB_V1.04;libkavrel.so.1 sim",  // library
    "SYS_V2.13;KV8 simulated",       // system
    "MCU_V3.07;2023-07-19",          // microcontroller firmware
    "DFU_V1.02;2022-11-03",          // boot loader
};
static_assert(sizeof kSerial < KAVREL_SERIAL_BYTES);

AdcConfig PowerOnConfig() {
  AdcConfig c{};
  c.modeBits = 0x30;  // +/-10 V, milliseconds, no oversampling
  c.trigBits = 0x01;  // Period trigger
  c.wPeriod = 100;
  return c;
}

// A record the module can run: a period, a known oversampling ratio, an
// existing main channel, known trigger bits.
bool Runnable(const AdcConfig& c) {
  const unsigned ioEdge = (c.trigBits >> 2) & 0x03u;
  return c.wPeriod != 0 && (c.modeBits & 0x07u) != 7 && c.mainChannel <= 7 && ioEdge != 3 &&
         (c.trigBits & 0x60u) == 0;
}

}  // namespace

SimModule::SimModule(Notifier& notifier)
    : notifier_(notifier), engine_(generator_, KAVREL_SIM_FIFO_CYCLES) {
  PowerOn();
}

void SimModule::PowerOn() {
  open_ = false;
  config_ = PowerOnConfig();
  dfuPin_ = 0;
  singleReads_ = 0;
  engine_.Discard();
}

bool SimModule::Admit(Op op, uint8_t index) {
  if (failures_.ShouldFail(op)) return false;
  return open_ && index == kIndex;
}

void SimModule::LeaveBus(Bus next) {
  const bool wasOnBus = bus_ == Bus::Plugged;
  open_ = false;
  engine_.Discard();
  bus_ = next;
  if (wasOnBus) notifier_.Post(kIndex, KAVREL_SIM_REMOVED);
}

// ---- The device library's operations -------------------------------------

uint8_t SimModule::SetUSBNotify(uint32_t /*mode*/, KavrelNotifyCallback callback) {
  std::lock_guard lock(mutex_);
  if (failures_.ShouldFail(Op::SetUSBNotify)) return 0;
  notifier_.SetCallback(callback);
  return 1;
}

uint8_t SimModule::OpenDevice() {
  std::lock_guard lock(mutex_);
  if (failures_.ShouldFail(Op::OpenDevice)) return KAVREL_NO_DEVICE;
  if (bus_ != Bus::Plugged || open_) return KAVREL_NO_DEVICE;
  open_ = true;
  return kIndex;
}

uint8_t SimModule::CloseDevice(uint8_t index) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::CloseDevice, index)) return 0;
  engine_.Stop(config_, clock_.NowUs());
  engine_.Discard();
  open_ = false;
  return 1;
}

uint8_t SimModule::GetSerialNo(uint8_t index, char* serial) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::GetSerialNo, index) || serial == nullptr) return 0;
  std::memcpy(serial, kSerial, sizeof kSerial);
  return 1;
}

uint8_t SimModule::ADCGetConfig(uint8_t index, AdcConfig* config) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::ADCGetConfig, index) || config == nullptr) return 0;
  engine_.CatchUp(config_, clock_.NowUs());
  *config = config_;
  if (engine_.Running()) config->trigBits |= kRunningBit;
  return 1;
}

uint8_t SimModule::ADCSetConfig(uint8_t index, const AdcConfig* config) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::ADCSetConfig, index) || config == nullptr) return 0;
  AdcConfig adopted;
  std::memcpy(&adopted, config, sizeof adopted);
  adopted.trigBits &= static_cast<uint8_t>(~kRunningBit);
  if (!Runnable(adopted)) return 0;
  const int64_t now = clock_.NowUs();
  engine_.CatchUp(config_, now);
  config_ = adopted;
  engine_.Rearm(config_, now);
  return 1;
}

uint8_t SimModule::DFUPinGet(uint8_t index, uint8_t* state) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::DFUPinGet, index) || state == nullptr) return 0;
  *state = dfuPin_;
  return 1;
}

uint8_t SimModule::DFUPinSet(uint8_t index, uint8_t state) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::DFUPinSet, index)) return 0;
  dfuPin_ = state != 0 ? 1 : 0;
  return 1;
}

uint8_t SimModule::DFUMode(uint8_t index) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::DFUMode, index)) return 0;
  LeaveBus(Bus::Dfu);
  return 1;
}

uint8_t SimModule::ADCReset(uint8_t index) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::ADCReset, index)) return 0;
  const int64_t now = clock_.NowUs();
  engine_.CatchUp(config_, now);
  engine_.Rearm(config_, now);
  return 1;
}

uint8_t SimModule::ADCStart(uint8_t index) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::ADCStart, index)) return 0;
  engine_.Start(config_, clock_.NowUs());
  return 1;
}

uint8_t SimModule::InitFIFO(uint8_t index) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::InitFIFO, index)) return 0;
  engine_.InitFifo(config_, clock_.NowUs());
  return 1;
}

uint8_t SimModule::GetFIFOLeft(uint8_t index, int32_t* fifoLeft) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::GetFIFOLeft, index) || fifoLeft == nullptr) return 0;
  engine_.CatchUp(config_, clock_.NowUs());
  *fifoLeft = static_cast<int32_t>(engine_.Waiting());
  return 1;
}

uint8_t SimModule::ReadFIFO(uint8_t index, uint8_t* buffer, uint32_t bufferSize,
                            uint32_t* bytesRead) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::ReadFIFO, index) || bytesRead == nullptr ||
      (buffer == nullptr && bufferSize != 0)) {
    return 0;
  }
  engine_.CatchUp(config_, clock_.NowUs());
  const uint64_t cycles = engine_.Read(buffer, bufferSize / KAVREL_CYCLE_BYTES);
  *bytesRead = static_cast<uint32_t>(cycles * KAVREL_CYCLE_BYTES);
  return 1;
}

uint8_t SimModule::ADCStop(uint8_t index) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::ADCStop, index)) return 0;
  engine_.Stop(config_, clock_.NowUs());
  return 1;
}

uint8_t SimModule::ADCRead(uint8_t index, uint8_t* cycle) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::ADCRead, index) || cycle == nullptr) return 0;
  generator_.Generate(engine_.Params(config_), clock_.NowUs(), 1, singleReads_++, 1, cycle);
  return 1;
}

uint8_t SimModule::GetVersion(uint8_t index, uint8_t selector, char* buffer) {
  std::lock_guard lock(mutex_);
  if (!Admit(Op::GetVersion, index) || buffer == nullptr || selector >= std::size(kVersions)) {
    return 0;
  }
  std::strncpy(buffer, kVersions[selector], KAVREL_VERSION_BYTES - 1);
  buffer[KAVREL_VERSION_BYTES - 1] = '\0';
  return 1;
}

// ---- Control -------------------------------------------------------------

void SimModule::Reset() {
  std::lock_guard lock(mutex_);
  notifier_.Forget();
  failures_.Clear();
  clock_.SetManual(false);
  bus_ = Bus::Plugged;
  PowerOn();
  engine_.DefaultInputs();
}

bool SimModule::Unplug() {
  std::lock_guard lock(mutex_);
  if (bus_ == Bus::Unplugged) return false;
  LeaveBus(Bus::Unplugged);
  return true;
}

bool SimModule::Plug() {
  std::lock_guard lock(mutex_);
  if (bus_ == Bus::Plugged) return false;
  bus_ = Bus::Plugged;
  PowerOn();
  notifier_.Post(kIndex, KAVREL_SIM_ARRIVED);
  return true;
}

bool SimModule::FailNext(std::string_view operation, uint32_t count) {
  std::lock_guard lock(mutex_);
  return failures_.FailNext(operation, count);
}

bool SimModule::SelectSource(uint32_t source) {
  std::lock_guard lock(mutex_);
  if (source != KAVREL_SIM_SIGNALS && source != KAVREL_SIM_SEQUENCE) return false;
  engine_.SetSequence(config_, source == KAVREL_SIM_SEQUENCE, clock_.NowUs());
  return true;
}

void SimModule::SetManualClock(bool manual) {
  std::lock_guard lock(mutex_);
  clock_.SetManual(manual);
}

void SimModule::AdvanceClock(uint64_t microseconds) {
  std::lock_guard lock(mutex_);
  clock_.Advance(microseconds);
}

bool SimModule::SetExternalClock(uint32_t periodUs) {
  std::lock_guard lock(mutex_);
  if (periodUs < 2) return false;
  engine_.SetExternalPeriod(config_, periodUs, clock_.NowUs());
  return true;
}

uint64_t SimModule::DroppedCycles() {
  std::lock_guard lock(mutex_);
  engine_.CatchUp(config_, clock_.NowUs());
  return engine_.Dropped();
}

}  // namespace kavrel_sim
