#pragma once
// Runs a piece of code in a child process and gives up on it after a time, so that a read that
// hangs (a FIFO) or never ends (/dev/zero) fails its test instead of stopping the suite.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace corvalis::testing {

// What `run` returned in the child (a short text: it must fit the pipe), or none when it did not end within `limit` (it is then
// killed) or died.
inline std::optional<std::string> FinishesWithin(std::chrono::milliseconds limit,
                                                 const std::function<std::string()>& run) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        const std::string result = run();
        for (std::size_t done = 0; done < result.size();) {
            const ssize_t n = ::write(pipeEnds[1], result.data() + done, result.size() - done);
            if (n <= 0) ::_exit(1);
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    int status = 0;
    bool ended = false;
    for (const auto end = std::chrono::steady_clock::now() + limit; child > 0 && !ended;) {
        ended = ::waitpid(child, &status, WNOHANG) == child;
        if (ended || std::chrono::steady_clock::now() > end) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (child > 0 && !ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    std::string result;
    char buffer[4096];
    for (ssize_t n; ended && (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return result;
}

}  // namespace corvalis::testing
