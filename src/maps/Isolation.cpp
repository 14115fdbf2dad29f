#include "Isolation.h"

#if defined(__unix__) || defined(__APPLE__)
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#define TOLVANE_ISOLATE_BY_FORK 1
#endif

namespace Isolation {

#ifdef TOLVANE_ISOLATE_BY_FORK

namespace {

// What a child may allocate beyond what it inherits.
constexpr unsigned long long kMemoryCeiling = 2ull << 30;

unsigned long long DataSegmentBytes()
{
    const int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buffer[8192];
    const ssize_t size = read(fd, buffer, sizeof buffer - 1);
    close(fd);
    if (size <= 0)
        return 0;
    buffer[size] = '\0';
    const char *field = std::strstr(buffer, "VmData:");
    return field != nullptr ? std::strtoull(field + 7, nullptr, 10) * 1024 : 0;
}

[[noreturn]] void RunChild(int out, const std::function<std::string()> &work)
{
    // StormLib's assertion texts are no message for the user.
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0)
        dup2(null, STDERR_FILENO);
    if (const unsigned long long data = DataSegmentBytes(); data > 0) {
        const rlimit limit { data + kMemoryCeiling, data + kMemoryCeiling };
        setrlimit(RLIMIT_DATA, &limit);
    }
    std::string answer;
    try {
        answer = work();
    } catch (...) {
        _exit(3);
    }
    const char *next = answer.data();
    size_t left = answer.size();
    while (left > 0) {
        const ssize_t written = write(out, next, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            _exit(4);
        next += written;
        left -= size_t(written);
    }
    // Nothing of the parent's may run here: no exit handlers, no flushing.
    _exit(0);
}

} // namespace

Run Isolated(const std::function<std::string()> &work, int timeoutMs)
{
    Run run;
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        run.error = errno;
        return run;
    }
    const pid_t child = fork();
    if (child < 0) {
        run.error = errno;
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return run;
    }
    if (child == 0) {
        close(pipeEnds[0]);
        RunChild(pipeEnds[1], work);
    }
    close(pipeEnds[1]);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    run.ending = Ending::Crashed;
    bool ended = false;
    std::string buffer(size_t(1) << 16, '\0');
    while (!ended) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd readable { pipeEnds[0], POLLIN, 0 };
        const int ready = left > 0 ? poll(&readable, 1, int(left)) : 0;
        if (ready == 0) {
            run.ending = Ending::TimedOut;
            break;
        }
        const ssize_t size = ready > 0 ? read(pipeEnds[0], buffer.data(), buffer.size()) : -1;
        if (size > 0)
            run.answer.append(buffer.data(), size_t(size));
        else if (size == 0)
            ended = true;
        else if (errno != EINTR && errno != EAGAIN)
            break;
    }
    close(pipeEnds[0]);
    if (!ended)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (ended && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        run.ending = Ending::Answered;
    if (run.ending != Ending::Answered)
        run.answer.clear();
    return run;
}

#else

Run Isolated(const std::function<std::string()> &work, int)
{
    Run run;
    run.ending = Ending::Answered;
    run.answer = work();
    return run;
}

#endif

} // namespace Isolation
