#include "bench_clock.h"

#include <ctime>

namespace bench {

static double Now(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

Stopwatch::Stopwatch()
    : m_wall(Now(CLOCK_MONOTONIC)), m_thread(Now(CLOCK_THREAD_CPUTIME_ID)), m_process(Now(CLOCK_PROCESS_CPUTIME_ID)) {}

Times Stopwatch::Elapsed() const {
    return {Now(CLOCK_MONOTONIC) - m_wall, Now(CLOCK_THREAD_CPUTIME_ID) - m_thread,
            Now(CLOCK_PROCESS_CPUTIME_ID) - m_process};
}

}  // namespace bench
