// Minimal stand-in: no module is ever found.
#include "device/kavrel.h"

#define EXPORT extern "C" __attribute__((visibility("default")))
EXPORT uint8_t Kavrel_SetUSBNotify(uint32_t, KavrelNotifyCallback) { return 1; }
EXPORT uint8_t Kavrel_OpenDevice(void) { return 255; }
EXPORT uint8_t Kavrel_CloseDevice(uint8_t) { return 0; }
EXPORT uint8_t Kavrel_GetSerialNo(uint8_t, char*) { return 0; }
EXPORT uint8_t Kavrel_ADCGetConfig(uint8_t, AdcConfig*) { return 0; }
EXPORT uint8_t Kavrel_ADCSetConfig(uint8_t, const AdcConfig*) { return 0; }
EXPORT uint8_t Kavrel_DFUPinGet(uint8_t, uint8_t*) { return 0; }
EXPORT uint8_t Kavrel_DFUPinSet(uint8_t, uint8_t) { return 0; }
EXPORT uint8_t Kavrel_DFUMode(uint8_t) { return 0; }
EXPORT uint8_t Kavrel_ADCReset(uint8_t) { return 0; }
EXPORT uint8_t Kavrel_ADCStart(uint8_t) { return 0; }
EXPORT uint8_t Kavrel_InitFIFO(uint8_t) { return 0; }
EXPORT uint8_t Kavrel_GetFIFOLeft(uint8_t, int32_t*) { return 0; }
EXPORT uint8_t Kavrel_ReadFIFO(uint8_t, uint8_t*, uint32_t, uint32_t*) { return 0; }
EXPORT uint8_t Kavrel_ADCStop(uint8_t) { return 0; }
EXPORT uint8_t Kavrel_ADCRead(uint8_t, uint8_t*) { return 0; }
EXPORT uint8_t Kavrel_GetVersion(uint8_t, uint8_t, char*) { return 0; }
