// Preloaded into a benchmark (LD_PRELOAD): every fsync and fdatasync of the
// process sleeps SLOW_SYNC_MS milliseconds (3000 unless set) before it goes
// to the system, as on a disk whose flushes are slow. Used to find and time
// the waits on a disk that reach the window's thread.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

static void SleepForSync(void) {
  const char* text = getenv("SLOW_SYNC_MS");
  const long ms = text != NULL ? atol(text) : 3000;
  struct timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&pause, &pause) != 0) {
  }
}

int fsync(int fd) {
  static int (*next)(int);
  if (next == NULL) next = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
  SleepForSync();
  return next(fd);
}

int fdatasync(int fd) {
  static int (*next)(int);
  if (next == NULL) next = (int (*)(int))dlsym(RTLD_NEXT, "fdatasync");
  SleepForSync();
  return next(fd);
}
