// Wall and CPU time of a stretch of code.
#pragma once

namespace bench {

struct Times {
    double wall = 0;         // seconds
    double threadCpu = 0;    // CPU seconds of the calling thread (the client)
    double processCpu = 0;   // CPU seconds of the whole process (client and in-process service)
};

class Stopwatch {
public:
    Stopwatch();
    Times Elapsed() const;

private:
    double m_wall, m_thread, m_process;
};

}  // namespace bench
