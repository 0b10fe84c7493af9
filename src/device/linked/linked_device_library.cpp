#include "device/linked/linked_device_library.h"

namespace trelvan {

uint8_t LinkedDeviceLibrary::SetUSBNotify(uint32_t mode, KavrelNotifyCallback callback) {
  return Kavrel_SetUSBNotify(mode, callback);
}
uint8_t LinkedDeviceLibrary::OpenDevice() { return Kavrel_OpenDevice(); }
uint8_t LinkedDeviceLibrary::CloseDevice(uint8_t index) { return Kavrel_CloseDevice(index); }
uint8_t LinkedDeviceLibrary::GetSerialNo(uint8_t index, char serial[20]) {
  return Kavrel_GetSerialNo(index, serial);
}
uint8_t LinkedDeviceLibrary::ADCGetConfig(uint8_t index, AdcConfig* config) {
  return Kavrel_ADCGetConfig(index, config);
}
uint8_t LinkedDeviceLibrary::ADCSetConfig(uint8_t index, const AdcConfig* config) {
  return Kavrel_ADCSetConfig(index, config);
}
uint8_t LinkedDeviceLibrary::DFUPinGet(uint8_t index, uint8_t* state) {
  return Kavrel_DFUPinGet(index, state);
}
uint8_t LinkedDeviceLibrary::DFUPinSet(uint8_t index, uint8_t state) {
  return Kavrel_DFUPinSet(index, state);
}
uint8_t LinkedDeviceLibrary::DFUMode(uint8_t index) { return Kavrel_DFUMode(index); }
uint8_t LinkedDeviceLibrary::ADCReset(uint8_t index) { return Kavrel_ADCReset(index); }
uint8_t LinkedDeviceLibrary::ADCStart(uint8_t index) { return Kavrel_ADCStart(index); }
uint8_t LinkedDeviceLibrary::InitFIFO(uint8_t index) { return Kavrel_InitFIFO(index); }
uint8_t LinkedDeviceLibrary::GetFIFOLeft(uint8_t index, int32_t* fifoLeft) {
  return Kavrel_GetFIFOLeft(index, fifoLeft);
}
uint8_t LinkedDeviceLibrary::ReadFIFO(uint8_t index, uint8_t* buffer, uint32_t bufferSize,
                                      uint32_t* bytesRead) {
  return Kavrel_ReadFIFO(index, buffer, bufferSize, bytesRead);
}
uint8_t LinkedDeviceLibrary::ADCStop(uint8_t index) { return Kavrel_ADCStop(index); }
uint8_t LinkedDeviceLibrary::ADCRead(uint8_t index, uint8_t cycle[16]) {
  return Kavrel_ADCRead(index, cycle);
}
uint8_t LinkedDeviceLibrary::GetVersion(uint8_t index, uint8_t selector, char buffer[50]) {
  return Kavrel_GetVersion(index, selector, buffer);
}

}  // namespace trelvan
