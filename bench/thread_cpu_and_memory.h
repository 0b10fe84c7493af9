#pragma once
// What a long benchmark samples as it goes: the calling thread's CPU time
// (the machine may be busy; the work timed does no I/O) and the process's
// resident memory after freed heap went back to the system.

#include <malloc.h>
#include <time.h>

#include <climits>
#include <fstream>
#include <string>

inline double ThreadCpuUs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

inline double ResidentMb() {
  malloc_trim(0);
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      double kb = 0;
      status >> kb;
      return kb / 1024.0;
    }
    status.ignore(INT_MAX, '\n');
  }
  return 0;
}
