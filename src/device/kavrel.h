/* The acquisition module's device library: its C interface.
 *
 * Every operation takes the device index that Kavrel_OpenDevice handed out
 * (255 = no device) and answers with an 8-bit success flag: nonzero is
 * success, 0 failure. Sizes and counts are 32-bit. The library may call the
 * registered notification callback from a thread of its own. */
#ifndef TRELVAN_DEVICE_KAVREL_H
#define TRELVAN_DEVICE_KAVREL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The 20-byte little-endian configuration record exchanged with the module. */
typedef struct AdcConfig {
    uint8_t modeBits;     /* 0-2 oversampling index, 4 range (1 = +/-10 V), 5 unit (1 = ms) */
    uint8_t trigBits;     /* 0-1 trigger mode, 2-3 IO edge, 4 direction, 7 running */
    uint8_t reserved2[2]; /* offsets 2..3, sent back as last received */
    uint8_t mainChannel;  /* 0..7 = AN1..AN8 */
    uint8_t reserved5[3]; /* offsets 5..7, sent back as last received */
    uint16_t wPeriod;     /* sampling period in the unit of modeBits bit 5 */
    uint16_t trigVolMv;   /* trigger voltage in millivolts */
    uint32_t trigCnt;     /* cycles sampled so far */
    uint32_t maxCycles;   /* cycles after which sampling ends; 0 = no limit */
} AdcConfig;

enum {
    KAVREL_NO_DEVICE = 255,
    KAVREL_CYCLE_BYTES = 16,
    KAVREL_SERIAL_BYTES = 20,
    KAVREL_VERSION_BYTES = 50
};

/* Hot-plug notification: index of the module and a status whose bit 7 is
 * set for an arrival and clear for a removal. Returns nonzero when queued. */
typedef int32_t (*KavrelNotifyCallback)(uint8_t index, uint32_t status);

uint8_t Kavrel_SetUSBNotify(uint32_t mode, KavrelNotifyCallback callback);
uint8_t Kavrel_OpenDevice(void);
uint8_t Kavrel_CloseDevice(uint8_t index);
uint8_t Kavrel_GetSerialNo(uint8_t index, char serial[20]);
uint8_t Kavrel_ADCGetConfig(uint8_t index, AdcConfig* config);
uint8_t Kavrel_ADCSetConfig(uint8_t index, const AdcConfig* config);
uint8_t Kavrel_DFUPinGet(uint8_t index, uint8_t* state);
uint8_t Kavrel_DFUPinSet(uint8_t index, uint8_t state);
uint8_t Kavrel_DFUMode(uint8_t index);
uint8_t Kavrel_ADCReset(uint8_t index);
uint8_t Kavrel_ADCStart(uint8_t index);
uint8_t Kavrel_InitFIFO(uint8_t index);
uint8_t Kavrel_GetFIFOLeft(uint8_t index, int32_t* fifoLeft);
uint8_t Kavrel_ReadFIFO(uint8_t index, uint8_t* buffer, uint32_t bufferSize, uint32_t* bytesRead);
uint8_t Kavrel_ADCStop(uint8_t index);
uint8_t Kavrel_ADCRead(uint8_t index, uint8_t cycle[16]);
uint8_t Kavrel_GetVersion(uint8_t index, uint8_t selector, char buffer[50]);

#ifdef __cplusplus
}
#endif

#endif /* TRELVAN_DEVICE_KAVREL_H */
