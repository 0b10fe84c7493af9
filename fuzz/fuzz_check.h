#pragma once
// A failed expectation inside a fuzz harness: the input is reported as a
// crash, so libFuzzer keeps it and the run fails.

#include <cstdio>
#include <cstdlib>

#define FUZZ_EXPECT(condition)                                                          \
  do {                                                                                  \
    if (!(condition)) {                                                                 \
      std::fprintf(stderr, "%s:%d: expectation failed: %s\n", __FILE__, __LINE__,      \
                   #condition);                                                         \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)
