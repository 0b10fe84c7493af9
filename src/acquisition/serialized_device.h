#pragma once
// The device library as both the window and the acquisition engine use it:
// every call goes through here, one at a time, since the library is not
// assumed to be thread-safe.

#include <mutex>

#include "device/device_library.h"

namespace trelvan {

class SerializedDevice : public DeviceLibrary {
 public:
  explicit SerializedDevice(DeviceLibrary& device) : device_(device) {}

  uint8_t SetUSBNotify(uint32_t mode, KavrelNotifyCallback callback) override;
  uint8_t OpenDevice() override;
  uint8_t CloseDevice(uint8_t index) override;
  uint8_t GetSerialNo(uint8_t index, char serial[20]) override;
  uint8_t ADCGetConfig(uint8_t index, AdcConfig* config) override;
  uint8_t ADCSetConfig(uint8_t index, const AdcConfig* config) override;
  uint8_t DFUPinGet(uint8_t index, uint8_t* state) override;
  uint8_t DFUPinSet(uint8_t index, uint8_t state) override;
  uint8_t DFUMode(uint8_t index) override;
  uint8_t ADCReset(uint8_t index) override;
  uint8_t ADCStart(uint8_t index) override;
  uint8_t InitFIFO(uint8_t index) override;
  uint8_t GetFIFOLeft(uint8_t index, int32_t* fifoLeft) override;
  uint8_t ReadFIFO(uint8_t index, uint8_t* buffer, uint32_t bufferSize,
                   uint32_t* bytesRead) override;
  uint8_t ADCStop(uint8_t index) override;
  uint8_t ADCRead(uint8_t index, uint8_t cycle[16]) override;
  uint8_t GetVersion(uint8_t index, uint8_t selector, char buffer[50]) override;

 private:
  DeviceLibrary& device_;
  std::mutex mutex_;
};

}  // namespace trelvan
