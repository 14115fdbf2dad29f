#ifndef _WIN32

#include "bridge/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace ChildProcess {

namespace {

using Clock = std::chrono::steady_clock;

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd)
        : m_fd(fd)
    {
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() { Close(); }

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    void Reset(int fd)
    {
        Close();
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

bool MakePipe(Fd &readEnd, Fd &writeEnd)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    readEnd.Reset(fds[0]);
    writeEnd.Reset(fds[1]);
    return true;
}

void SetNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string> &overrides)
{
    std::vector<std::string> merged;
    for (char **entry = environ; entry && *entry; ++entry)
        merged.emplace_back(*entry);
    for (const std::string &item : overrides) {
        const std::string name = item.substr(0, item.find('=') + 1);
        std::erase_if(merged, [&](const std::string &existing) { return existing.starts_with(name); });
        merged.push_back(item);
    }
    return merged;
}

std::vector<char *> PointerArray(std::vector<std::string> &strings)
{
    std::vector<char *> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string &s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Writing to a pipe whose reader has gone raises SIGPIPE, which would end this
// program; it is held back on this thread while writing and discarded after.
class SigPipeGuard {
public:
    SigPipeGuard()
    {
        sigemptyset(&m_pipeOnly);
        sigaddset(&m_pipeOnly, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_pipeOnly, &m_previous);
    }
    SigPipeGuard(const SigPipeGuard &) = delete;
    SigPipeGuard &operator=(const SigPipeGuard &) = delete;
    ~SigPipeGuard()
    {
        if (!sigismember(&m_previous, SIGPIPE)) {
            const timespec zero {};
            while (sigtimedwait(&m_pipeOnly, nullptr, &zero) == SIGPIPE) { }
            pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
        }
    }

private:
    sigset_t m_pipeOnly {};
    sigset_t m_previous {};
};

// Reads what the pipe holds now, up to a little past limit. Returns false at end
// of file or error.
bool ReadAvailable(int fd, std::string &output, std::size_t limit)
{
    char chunk[65536];
    while (output.size() <= limit) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
            output.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
    return true;
}

} // namespace

Result Run(const std::vector<std::string> &arguments, std::string_view input, const Options &options)
{
    Result result;
    if (arguments.empty())
        return result;
    const Clock::time_point deadline = Clock::now() + options.timeout;

    Fd inRead, inWrite, outRead, outWrite;
    if (!MakePipe(inRead, inWrite) || !MakePipe(outRead, outWrite))
        return result;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inRead.Get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outWrite.Get(), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    // The child starts with no blocked signals and default SIGPIPE, whatever this thread holds.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, pipeOnly;
    sigemptyset(&none);
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &pipeOnly);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> argumentCopy = arguments;
    std::vector<std::string> environment = MergedEnvironment(options.environment);
    std::vector<char *> argv = PointerArray(argumentCopy);
    std::vector<char *> envp = PointerArray(environment);

    pid_t pid = -1;
    const int spawnError = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawnError != 0)
        return result;

    inRead.Close();
    outWrite.Close();
    SetNonBlocking(inWrite.Get());
    SetNonBlocking(outRead.Get());
    if (input.empty())
        inWrite.Close();

    SigPipeGuard sigPipeGuard;
    std::size_t written = 0;
    int status = 0;
    bool exited = false;
    bool statusKnown = true;
    for (;;) {
        const pid_t waited = ::waitpid(pid, &status, WNOHANG);
        if (waited == pid || (waited < 0 && errno != EINTR)) {
            // Without a status (someone else reaped the child) the run counts as failed.
            statusKnown = waited == pid;
            exited = true;
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;

        pollfd fds[2];
        nfds_t count = 0;
        if (outRead.IsOpen())
            fds[count++] = { outRead.Get(), POLLIN, 0 };
        if (inWrite.IsOpen())
            fds[count++] = { inWrite.Get(), POLLOUT, 0 };
        // Short naps: the end of the child is noticed by waitpid, not by the end of
        // its output, because a program it started may hold the pipe open long after.
        const int nap = static_cast<int>(std::min<long long>(left.count(), 20));
        if (::poll(fds, count, nap) < 0 && errno != EINTR)
            break;
        for (nfds_t i = 0; i < count; ++i) {
            if (fds[i].revents == 0)
                continue;
            if (fds[i].fd == outRead.Get()) {
                if (!ReadAvailable(outRead.Get(), result.output, options.maxOutputBytes))
                    outRead.Close();
            } else if (fds[i].revents & POLLOUT) {
                const ssize_t n = ::write(inWrite.Get(), input.data() + written, input.size() - written);
                if (n > 0)
                    written += static_cast<std::size_t>(n);
                else if (n < 0 && errno != EAGAIN && errno != EINTR)
                    inWrite.Close();
                if (written == input.size())
                    inWrite.Close();
            } else {
                inWrite.Close(); // the child closed its standard input
            }
        }
        if (result.output.size() > options.maxOutputBytes) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            result.outcome = Outcome::OutputTooLarge;
            return result;
        }
    }

    if (!exited) {
        ::kill(pid, SIGKILL);
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
        result.outcome = Outcome::TimedOut;
        return result;
    }
    // Everything the child wrote before its end is in the pipe by now.
    if (outRead.IsOpen())
        ReadAvailable(outRead.Get(), result.output, options.maxOutputBytes);
    if (result.output.size() > options.maxOutputBytes) {
        result.outcome = Outcome::OutputTooLarge;
    } else if (statusKnown && WIFEXITED(status)) {
        result.outcome = Outcome::Exited;
        result.exitCode = WEXITSTATUS(status);
    } else {
        result.outcome = Outcome::Crashed;
    }
    return result;
}

} // namespace ChildProcess

#endif // !_WIN32
