#include "acquisition/serialized_device.h"

namespace trelvan {

uint8_t SerializedDevice::SetUSBNotify(uint32_t mode, KavrelNotifyCallback callback) {
  std::lock_guard lock(mutex_);
  return device_.SetUSBNotify(mode, callback);
}

uint8_t SerializedDevice::OpenDevice() {
  std::lock_guard lock(mutex_);
  return device_.OpenDevice();
}

uint8_t SerializedDevice::CloseDevice(uint8_t index) {
  std::lock_guard lock(mutex_);
  return device_.CloseDevice(index);
}

uint8_t SerializedDevice::GetSerialNo(uint8_t index, char serial[20]) {
  std::lock_guard lock(mutex_);
  return device_.GetSerialNo(index, serial);
}

uint8_t SerializedDevice::ADCGetConfig(uint8_t index, AdcConfig* config) {
  std::lock_guard lock(mutex_);
  return device_.ADCGetConfig(index, config);
}

uint8_t SerializedDevice::ADCSetConfig(uint8_t index, const AdcConfig* config) {
  std::lock_guard lock(mutex_);
  return device_.ADCSetConfig(index, config);
}

uint8_t SerializedDevice::DFUPinGet(uint8_t index, uint8_t* state) {
  std::lock_guard lock(mutex_);
  return device_.DFUPinGet(index, state);
}

uint8_t SerializedDevice::DFUPinSet(uint8_t index, uint8_t state) {
  std::lock_guard lock(mutex_);
  return device_.DFUPinSet(index, state);
}

uint8_t SerializedDevice::DFUMode(uint8_t index) {
  std::lock_guard lock(mutex_);
  return device_.DFUMode(index);
}

uint8_t SerializedDevice::ADCReset(uint8_t index) {
  std::lock_guard lock(mutex_);
  return device_.ADCReset(index);
}

uint8_t SerializedDevice::ADCStart(uint8_t index) {
  std::lock_guard lock(mutex_);
  return device_.ADCStart(index);
}

uint8_t SerializedDevice::InitFIFO(uint8_t index) {
  std::lock_guard lock(mutex_);
  return device_.InitFIFO(index);
}

uint8_t SerializedDevice::GetFIFOLeft(uint8_t index, int32_t* fifoLeft) {
  std::lock_guard lock(mutex_);
  return device_.GetFIFOLeft(index, fifoLeft);
}

uint8_t SerializedDevice::ReadFIFO(uint8_t index, uint8_t* buffer, uint32_t bufferSize, uint32_t* bytesRead) {
  std::lock_guard lock(mutex_);
  return device_.ReadFIFO(index, buffer, bufferSize, bytesRead);
}

uint8_t SerializedDevice::ADCStop(uint8_t index) {
  std::lock_guard lock(mutex_);
  return device_.ADCStop(index);
}

uint8_t SerializedDevice::ADCRead(uint8_t index, uint8_t cycle[16]) {
  std::lock_guard lock(mutex_);
  return device_.ADCRead(index, cycle);
}

uint8_t SerializedDevice::GetVersion(uint8_t index, uint8_t selector, char buffer[50]) {
  std::lock_guard lock(mutex_);
  return device_.GetVersion(index, selector, buffer);
}

}  // namespace trelvan
