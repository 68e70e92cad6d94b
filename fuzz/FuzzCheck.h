#pragma once
// Property checks inside fuzz targets. A broken property prints what failed and aborts: libFuzzer
// reports that as a crash and keeps the input, and the corpus replay test fails on it.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                            \
    do {                                                                                            \
        if (!(cond)) {                                                                              \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                           \
        }                                                                                           \
    } while (0)
