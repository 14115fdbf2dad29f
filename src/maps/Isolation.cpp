#include "Isolation.h"

#include "StormArchive.h"

#include <QFile>
#include <QFileInfo>

#if defined(__unix__) || defined(__APPLE__)
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>

#include <mutex>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;
#define TOLVANE_MAPS_HELPER_PROCESS 1
#endif

namespace Isolation {

#ifdef TOLVANE_MAPS_HELPER_PROCESS

namespace {

// Beside the program, where the installation puts it (libexec), or where
// this build made it, for the tests and tools of the build tree.
QString HelperPath()
{
    static const QString path = [] {
        const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
        for (const QString &candidate : { folder + QLatin1String("/tolvane-maps"),
                 folder + QLatin1String("/" TOLVANE_MAPS_HELPER_FROM_BIN "/tolvane-maps"),
                 QStringLiteral(TOLVANE_MAPS_HELPER_BUILT) }) {
            if (QFileInfo(candidate).isExecutable())
                return candidate;
        }
        return QString();
    }();
    return path;
}

// A descriptor above the helper's standard ones: a program started without
// standard input gets 0 for its first file, which the helper's own standard
// input would then replace.
int AboveStandard(int fd)
{
    if (fd < 0 || fd > STDERR_FILENO + 1)
        return fd;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 2);
    close(fd);
    return moved;
}

// A file in memory that both processes hold: the helper's answer, read in
// one step once it has ended.
int MemoryFile()
{
#ifdef __linux__
    if (const int fd = memfd_create("tolvane-maps", MFD_CLOEXEC); fd >= 0)
        return fd;
#endif
    FILE *file = std::tmpfile();
    const int fd = file != nullptr ? fcntl(fileno(file), F_DUPFD_CLOEXEC, 0) : -1;
    if (file != nullptr)
        std::fclose(file);
    return fd;
}

// Waits until the helper closes its end of the pipe, that is until it ends;
// false when the time is up first.
bool AwaitEnd(int pipeEnd, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char byte;
    for (;;) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd readable { pipeEnd, POLLIN, 0 };
        const int ready = left > 0 ? poll(&readable, 1, int(left)) : 0;
        if (ready == 0)
            return false;
        if (ready < 0 ? errno != EINTR : read(pipeEnd, &byte, 1) <= 0)
            return true;
    }
}

bool ReadAnswer(int answerFile, QByteArray &answer)
{
    struct stat info;
    if (fstat(answerFile, &info) != 0)
        return false;
    answer = QByteArray(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < answer.size()) {
        const ssize_t size
            = pread(answerFile, answer.data() + done, size_t(answer.size() - done), off_t(done));
        if (size < 0 && errno == EINTR)
            continue;
        if (size <= 0)
            return false;
        done += qsizetype(size);
    }
    return true;
}

bool SendAll(int socket, const char *bytes, size_t size)
{
    while (size > 0) {
        const ssize_t sent = send(socket, bytes, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes += sent;
        size -= size_t(sent);
    }
    return true;
}

// A started helper, waiting for its request on standard input.
struct Helper {
    pid_t pid = -1;
    int request = -1; // a socket: the request, then the end of input
    int answer = -1; // the memory file its standard output writes into
    int end = -1; // reads as ended once the helper is

    void Close()
    {
        for (int *fd : { &request, &answer, &end }) {
            if (*fd >= 0)
                close(*fd);
            *fd = -1;
        }
        pid = -1;
    }
};

bool Start(Helper &helper, QString &error)
{
    const QString path = HelperPath();
    if (path.isEmpty()) {
        error = QStringLiteral("its helper program tolvane-maps is missing");
        return false;
    }
    int request[2] = { -1, -1 };
    int end[2] = { -1, -1 };
    helper.answer = AboveStandard(MemoryFile());
    bool made = helper.answer >= 0 && socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, request) == 0
        && pipe2(end, O_CLOEXEC) == 0;
    for (int *fd : { &request[0], &request[1], &end[0], &end[1] }) {
        *fd = AboveStandard(*fd);
        made = made && *fd >= 0;
    }
    helper.request = request[0];
    helper.end = end[0];
    int spawned = made ? 0 : (errno != 0 ? errno : EMFILE);
    if (made) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, request[1], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, helper.answer, STDOUT_FILENO);
        // StormLib's assertion texts are no message for the user.
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        // Held open by the helper alone, so it reads as ended once the helper is.
        posix_spawn_file_actions_adddup2(&actions, end[1], 3);
        // No blocked signals and the default SIGPIPE, whatever this thread holds.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t none, pipeOnly;
        sigemptyset(&none);
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &pipeOnly);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        const QByteArray program = QFile::encodeName(path);
        char *argv[] = { const_cast<char *>(program.constData()), nullptr };
        spawned = posix_spawn(&helper.pid, argv[0], &actions, &attributes, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    for (const int fd : { request[1], end[1] }) {
        if (fd >= 0)
            close(fd);
    }
    if (spawned != 0) {
        helper.Close();
        error = qt_error_string(spawned);
        return false;
    }
    return true;
}

Run Finish(Helper &helper, const std::string &message, int timeoutMs)
{
    Run run;
    const timeval limit { timeoutMs / 1000, (timeoutMs % 1000) * 1000 };
    setsockopt(helper.request, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    const bool sent = SendAll(helper.request, message.data(), message.size());
    shutdown(helper.request, SHUT_WR);
    const bool ended = AwaitEnd(helper.end, sent ? timeoutMs : 0);
    if (!ended)
        kill(helper.pid, SIGKILL);
    int status = 0;
    while (waitpid(helper.pid, &status, 0) < 0 && errno == EINTR) { }
    if (!ended)
        run.ending = Ending::TimedOut;
    else if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && ReadAnswer(helper.answer, run.answer))
        run.ending = Ending::Answered;
    else
        run.ending = Ending::Crashed;
    if (run.ending != Ending::Answered)
        run.answer.clear();
    helper.Close();
    return run;
}

// One helper is kept started for the next request, so that a request waits
// for no program to load; it ends with this process, its input then ended.
std::mutex g_standbyLock;
Helper g_standby;

} // namespace

Run Ask(const std::vector<std::string> &request, const QByteArray &input, int timeoutMs)
{
    std::string message;
    for (const std::string &field : request)
        message.append(field).push_back('\0');
    message.append(input.constData(), size_t(input.size()));

    const std::lock_guard<std::mutex> lock(g_standbyLock);
    Helper helper = std::exchange(g_standby, Helper {});
    if (helper.pid >= 0 && waitpid(helper.pid, nullptr, WNOHANG) != 0)
        helper.Close();
    Run failed;
    if (helper.pid < 0 && !Start(helper, failed.error))
        return failed;
    Run run = Finish(helper, message, timeoutMs);
    // The next one loads while the caller works with this answer.
    QString ignored;
    (void)Start(g_standby, ignored);
    return run;
}

#else

Run Ask(const std::vector<std::string> &request, const QByteArray &input, int)
{
    Run run;
    run.ending = Ending::Answered;
    run.answer = QByteArray::fromStdString(StormArchive::Answer(request, input.toStdString()));
    return run;
}

#endif

} // namespace Isolation
