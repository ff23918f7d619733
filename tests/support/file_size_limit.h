#pragma once

// Runs work while every file write is limited to `bytes` per file. Such a limit
// stops writes half-way even for root, which read-only folders do not.

#include <csignal>

#include <sys/resource.h>

namespace mz::test {

template <class Work> auto withFileSizeLimit(rlim_t bytes, Work work) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN); // fail the write, not the process
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    auto result = work();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

} // namespace mz::test
