// The device library's C functions, forwarded to the simulated module.
#include "device/kavrel.h"
#include "sim_library.h"

using kavrel_sim::Module;

KAVREL_EXPORT uint8_t Kavrel_SetUSBNotify(uint32_t mode, KavrelNotifyCallback callback) {
  kavrel_sim::StopNotificationsAtExit();
  return Module()->SetUSBNotify(mode, callback);
}
KAVREL_EXPORT uint8_t Kavrel_OpenDevice(void) { return Module()->OpenDevice(); }
KAVREL_EXPORT uint8_t Kavrel_CloseDevice(uint8_t index) { return Module()->CloseDevice(index); }
KAVREL_EXPORT uint8_t Kavrel_GetSerialNo(uint8_t index, char serial[20]) {
  return Module()->GetSerialNo(index, serial);
}
KAVREL_EXPORT uint8_t Kavrel_ADCGetConfig(uint8_t index, AdcConfig* config) {
  return Module()->ADCGetConfig(index, config);
}
KAVREL_EXPORT uint8_t Kavrel_ADCSetConfig(uint8_t index, const AdcConfig* config) {
  return Module()->ADCSetConfig(index, config);
}
KAVREL_EXPORT uint8_t Kavrel_DFUPinGet(uint8_t index, uint8_t* state) {
  return Module()->DFUPinGet(index, state);
}
KAVREL_EXPORT uint8_t Kavrel_DFUPinSet(uint8_t index, uint8_t state) {
  return Module()->DFUPinSet(index, state);
}
KAVREL_EXPORT uint8_t Kavrel_DFUMode(uint8_t index) { return Module()->DFUMode(index); }
KAVREL_EXPORT uint8_t Kavrel_ADCReset(uint8_t index) { return Module()->ADCReset(index); }
KAVREL_EXPORT uint8_t Kavrel_ADCStart(uint8_t index) { return Module()->ADCStart(index); }
KAVREL_EXPORT uint8_t Kavrel_InitFIFO(uint8_t index) { return Module()->InitFIFO(index); }
KAVREL_EXPORT uint8_t Kavrel_GetFIFOLeft(uint8_t index, int32_t* fifoLeft) {
  return Module()->GetFIFOLeft(index, fifoLeft);
}
KAVREL_EXPORT uint8_t Kavrel_ReadFIFO(uint8_t index, uint8_t* buffer, uint32_t bufferSize,
                                      uint32_t* bytesRead) {
  return Module()->ReadFIFO(index, buffer, bufferSize, bytesRead);
}
KAVREL_EXPORT uint8_t Kavrel_ADCStop(uint8_t index) { return Module()->ADCStop(index); }
KAVREL_EXPORT uint8_t Kavrel_ADCRead(uint8_t index, uint8_t cycle[16]) {
  return Module()->ADCRead(index, cycle);
}
KAVREL_EXPORT uint8_t Kavrel_GetVersion(uint8_t index, uint8_t selector, char buffer[50]) {
  return Module()->GetVersion(index, selector, buffer);
}
