// bench/clock.h - a monotonic clock in milliseconds, for the benchmark's timings.
#ifndef RUVEX_BENCH_CLOCK_H
#define RUVEX_BENCH_CLOCK_H

#include <windows.h>

inline double NowMs()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

#endif
