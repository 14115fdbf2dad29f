#include "Cli.h"

int RunCheckCommand(const QStringList &, CliStreams io)
{
    return UsageError(io, QStringLiteral("the check command is not available in this build"));
}
