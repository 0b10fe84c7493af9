#include "failure_injector.h"

namespace kavrel_sim {
namespace {

constexpr std::string_view kNames[] = {
    "Kavrel_SetUSBNotify", "Kavrel_OpenDevice",  "Kavrel_CloseDevice", "Kavrel_GetSerialNo",
    "Kavrel_ADCGetConfig", "Kavrel_ADCSetConfig", "Kavrel_DFUPinGet",  "Kavrel_DFUPinSet",
    "Kavrel_DFUMode",      "Kavrel_ADCReset",    "Kavrel_ADCStart",    "Kavrel_InitFIFO",
    "Kavrel_GetFIFOLeft",  "Kavrel_ReadFIFO",    "Kavrel_ADCStop",     "Kavrel_ADCRead",
    "Kavrel_GetVersion"};
static_assert(std::size(kNames) == static_cast<size_t>(Op::Count));

}  // namespace

bool FailureInjector::FailNext(std::string_view operation, uint32_t count) {
  for (size_t i = 0; i < std::size(kNames); ++i) {
    if (kNames[i] == operation) {
      pending_[i] = count;
      return true;
    }
  }
  return false;
}

bool FailureInjector::ShouldFail(Op op) {
  uint32_t& pending = pending_[static_cast<size_t>(op)];
  if (pending == 0) return false;
  --pending;
  return true;
}

}  // namespace kavrel_sim
