#pragma once
// The device library seen from C++: one virtual method per library operation.
// Results are the library's 8-bit success flags (nonzero = success).

#include <cstdint>

#include "device/kavrel.h"

namespace trelvan {

class DeviceLibrary {
 public:
  virtual ~DeviceLibrary() = default;
  virtual uint8_t SetUSBNotify(uint32_t mode, KavrelNotifyCallback callback) = 0;
  virtual uint8_t OpenDevice() = 0;
  virtual uint8_t CloseDevice(uint8_t index) = 0;
  virtual uint8_t GetSerialNo(uint8_t index, char serial[20]) = 0;
  virtual uint8_t ADCGetConfig(uint8_t index, AdcConfig* config) = 0;
  virtual uint8_t ADCSetConfig(uint8_t index, const AdcConfig* config) = 0;
  virtual uint8_t DFUPinGet(uint8_t index, uint8_t* state) = 0;
  virtual uint8_t DFUPinSet(uint8_t index, uint8_t state) = 0;
  virtual uint8_t DFUMode(uint8_t index) = 0;
  virtual uint8_t ADCReset(uint8_t index) = 0;
  virtual uint8_t ADCStart(uint8_t index) = 0;
  virtual uint8_t InitFIFO(uint8_t index) = 0;
  virtual uint8_t GetFIFOLeft(uint8_t index, int32_t* fifoLeft) = 0;
  virtual uint8_t ReadFIFO(uint8_t index, uint8_t* buffer, uint32_t bufferSize,
                           uint32_t* bytesRead) = 0;
  virtual uint8_t ADCStop(uint8_t index) = 0;
  virtual uint8_t ADCRead(uint8_t index, uint8_t cycle[16]) = 0;
  virtual uint8_t GetVersion(uint8_t index, uint8_t selector, char buffer[50]) = 0;
};

}  // namespace trelvan
