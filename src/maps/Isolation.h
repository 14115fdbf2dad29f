#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

// Asks the helper program tolvane-maps (MapHelper.cpp) to look into a map.
// StormLib stops the whole process on some damaged archives (its assertions
// are on in Debian's build) and may ask for gigabytes for a forged table; a
// map is outside input, so StormLib only ever sees one in the helper, which
// runs with a memory ceiling and a time limit, one helper per request. A
// program of its own rather than a fork of this one: a fork would leave every
// page of a large editor to be faulted in again after it. Where there are no
// such processes, the request is answered in this one.
namespace Isolation {

enum class Ending { Answered, Crashed, TimedOut, NotStarted };

struct Run {
    Ending ending = Ending::NotStarted;
    QByteArray answer; // the helper's standard output, when Answered
    QString error; // why it did not start, when NotStarted
};

// `request`: the helper's arguments; `input`: its standard input.
[[nodiscard]] Run Ask(const std::vector<std::string> &request, const QByteArray &input, int timeoutMs);

} // namespace Isolation
