/* Control interface of the simulated acquisition module, for tests and
 * demonstrations. The program never calls it; it only uses kavrel.h.
 *
 * Every function is thread-safe. None of them calls the hot-plug callback
 * itself: notices are delivered by the library's notification thread. */
#ifndef TRELVAN_SIM_KAVREL_SIM_H
#define TRELVAN_SIM_KAVREL_SIM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    /* Cycles the module's FIFO holds; later cycles are dropped until the
     * host reads. Kavrel_GetFIFOLeft counts waiting cycles, so it reads
     * exactly this value while the FIFO is full. */
    KAVREL_SIM_FIFO_CYCLES = 2000000,
    /* Sources of the sampled codes (KavrelSim_SelectSource). */
    KAVREL_SIM_SIGNALS = 0,  /* eight recognisable waveforms with a little noise */
    KAVREL_SIM_SEQUENCE = 1, /* AN7:AN8 = 32-bit cycle number since the last
                                start or FIFO initialisation (AN7 high half);
                                dropped cycles are counted, so a drop is a gap */
    /* Hot-plug statuses passed to the callback. */
    KAVREL_SIM_REMOVED = 0x00,
    KAVREL_SIM_ARRIVED = 0x80
};

/* Back to the state after loading: module plugged in and closed, power-on
 * configuration, DFU pin 0, signals, real-time clock, external IO clock of
 * 1000 us, no injected failures, dropped count 0, no callback registered and
 * no notice pending. */
void KavrelSim_Reset(void);

/* Pull the module off the bus (closing it; a removal notice follows) or
 * plug it in (power-on configuration; an arrival notice follows). Both
 * answer 0 when the module is already in that state. Plugging also ends
 * DFU mode. */
uint8_t KavrelSim_Unplug(void);
uint8_t KavrelSim_Plug(void);

/* The next `count` calls of the named operation (e.g. "Kavrel_ReadFIFO")
 * fail without effect; 0 cancels. Answers 0 for an unknown name. */
uint8_t KavrelSim_FailNext(const char* operation, uint32_t count);

/* KAVREL_SIM_SIGNALS or KAVREL_SIM_SEQUENCE; answers 0 for anything else.
 * Cycles already waiting keep the source they were sampled with. */
uint8_t KavrelSim_SelectSource(uint32_t source);

/* Manual clock: time stands still except for KavrelSim_AdvanceClock. It
 * continues from the real clock's reading when switched on; switching it
 * off goes back to the real clock. Advancing the real clock does nothing. */
void KavrelSim_SetManualClock(uint8_t manual);
void KavrelSim_AdvanceClock(uint64_t microseconds);

/* Period of the simulated square wave on the IO input (edges for the IO
 * trigger modes): at least 2 us; answers 0 otherwise. */
uint8_t KavrelSim_SetExternalClock(uint32_t periodUs);

/* Cycles the module dropped because its FIFO was full, since the last
 * start or FIFO initialisation. */
uint64_t KavrelSim_DroppedCycles(void);

/* Waits until every queued hot-plug notice has been handed to the callback
 * and the callback has returned. Answers 0 on timeout, or at once when
 * called from inside the callback. */
uint8_t KavrelSim_WaitNotifications(uint32_t timeoutMs);

#ifdef __cplusplus
}
#endif

#endif /* TRELVAN_SIM_KAVREL_SIM_H */
