#pragma once

#include <functional>
#include <string>

// Runs work whose crash must not reach the caller. StormLib stops the whole
// process on some damaged archives (its assertions are on) and may ask for
// gigabytes for a forged table; a map is outside input, so every look into
// one runs here. Where fork() exists the work runs in a child process with a
// memory ceiling and a time limit, and only its answer comes back; elsewhere
// it runs in place.
namespace Isolation {

enum class Ending { Answered, Crashed, TimedOut, NotStarted };

struct Run {
    Ending ending = Ending::NotStarted;
    std::string answer; // what the work returned, when Answered
    int error = 0; // the system's errno, when NotStarted
};

// The work may use the C library and plain C++ only: in a child of a
// threaded program nothing else is safe.
[[nodiscard]] Run Isolated(const std::function<std::string()> &work, int timeoutMs);

} // namespace Isolation
