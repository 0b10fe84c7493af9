#pragma once
// Injected failures: the next N calls of a named operation fail.

#include <array>
#include <cstdint>
#include <string_view>

namespace kavrel_sim {

enum class Op {
  SetUSBNotify, OpenDevice, CloseDevice, GetSerialNo, ADCGetConfig, ADCSetConfig, DFUPinGet,
  DFUPinSet, DFUMode, ADCReset, ADCStart, InitFIFO, GetFIFOLeft, ReadFIFO, ADCStop, ADCRead,
  GetVersion, Count
};

class FailureInjector {
 public:
  // Answers false for a name that is no operation ("Kavrel_ReadFIFO" is one).
  bool FailNext(std::string_view operation, uint32_t count);
  // True (and one fewer pending) when this call of `op` is to fail.
  bool ShouldFail(Op op);
  void Clear() { pending_.fill(0); }

 private:
  std::array<uint32_t, static_cast<size_t>(Op::Count)> pending_{};
};

}  // namespace kavrel_sim
