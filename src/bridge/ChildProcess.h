#pragma once

#ifndef _WIN32

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Runs a program to its end with a deadline: feeds it input on standard input,
// collects its standard output, drops its standard error. Never waits longer
// than the deadline: a program still running then is killed.
namespace ChildProcess {

enum class Outcome {
    Exited, // ran to its end; see exitCode
    StartFailed, // not found or not executable
    TimedOut, // killed at the deadline
    Crashed, // ended by a signal
    OutputTooLarge, // killed after writing more than the limit
};

struct Result {
    Outcome outcome = Outcome::StartFailed;
    int exitCode = -1;
    std::string output;
};

struct Options {
    std::chrono::milliseconds timeout { 5000 };
    std::size_t maxOutputBytes = 128u * 1024u * 1024u;
    // Variables added to or replacing those of this process, as "NAME=value".
    std::vector<std::string> environment;
};

// arguments[0] is the program, looked up in PATH when it holds no slash.
[[nodiscard]] Result Run(
    const std::vector<std::string> &arguments, std::string_view input, const Options &options);

} // namespace ChildProcess

#endif // !_WIN32
