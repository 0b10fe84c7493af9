// The control interface of the simulated module (kavrel_sim.h).
#include <chrono>

#include "kavrel_sim.h"
#include "sim_library.h"

using kavrel_sim::Module;

KAVREL_EXPORT void KavrelSim_Reset(void) { Module()->Reset(); }
KAVREL_EXPORT uint8_t KavrelSim_Unplug(void) { return Module()->Unplug(); }
KAVREL_EXPORT uint8_t KavrelSim_Plug(void) { return Module()->Plug(); }
KAVREL_EXPORT uint8_t KavrelSim_FailNext(const char* operation, uint32_t count) {
  return operation != nullptr && Module()->FailNext(operation, count);
}
KAVREL_EXPORT uint8_t KavrelSim_SelectSource(uint32_t source) {
  return Module()->SelectSource(source);
}
KAVREL_EXPORT void KavrelSim_SetManualClock(uint8_t manual) { Module()->SetManualClock(manual != 0); }
KAVREL_EXPORT void KavrelSim_AdvanceClock(uint64_t microseconds) {
  Module()->AdvanceClock(microseconds);
}
KAVREL_EXPORT uint8_t KavrelSim_SetExternalClock(uint32_t periodUs) {
  return Module()->SetExternalClock(periodUs);
}
KAVREL_EXPORT uint64_t KavrelSim_DroppedCycles(void) { return Module()->DroppedCycles(); }
KAVREL_EXPORT uint8_t KavrelSim_WaitNotifications(uint32_t timeoutMs) {
  return kavrel_sim::Notifications().WaitIdle(std::chrono::milliseconds(timeoutMs));
}
