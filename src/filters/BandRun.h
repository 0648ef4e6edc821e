#pragma once

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

// Long runs over an image, a band of rows at a time: the caller's between step (progress,
// pending events, Stop) runs on the calling thread after each band, and a band's rows may be
// shared among threads that touch nothing but their own rows.
namespace bands {

// Calls work(y0, y1) for consecutive bands of [0, rows) and between(rowsDone) after each;
// between returning false stops the run. Returns the rows done.
inline int Run(int rows, int band, const std::function<void(int, int)>& work,
               const std::function<bool(int)>& between) {
    band = std::max(band, 1);
    for (int y = 0; y < rows;) {
        const int end = std::min(rows, y + band);
        work(y, end);
        y = end;
        if (between && !between(y) && y < rows) return y;
    }
    return rows;
}

// Splits [y0, y1) into one contiguous slice per thread; work(a, b, index) runs on each, the
// first on the calling thread.
inline void Split(int y0, int y1, int threads, const std::function<void(int, int, int)>& work) {
    threads = std::clamp(threads, 1, std::max(1, y1 - y0));
    if (threads == 1) return work(y0, y1, 0);
    std::vector<std::jthread> pool;
    const int rows = y1 - y0;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work, y0 + rows * t / threads, y0 + rows * (t + 1) / threads, t);
    work(y0, y0 + rows / threads, 0);
}

inline int Cores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace bands
