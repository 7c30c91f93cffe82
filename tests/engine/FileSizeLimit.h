#pragma once

// Writes that fail as on a full disk: `write` runs under a file-size limit of
// `bytes`, with the signal the limit raises ignored so the write reports an error.

#ifdef __linux__
#include <sys/resource.h>

#include <csignal>

namespace vantrel::testing {

template <typename Write>
auto UnderFileSizeLimit(rlim_t bytes, Write write) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tiny = saved;
    tiny.rlim_cur = bytes;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    auto result = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

}  // namespace vantrel::testing
#endif
