#include "Cli.h"

int RunMergeCommand(const QStringList &, CliStreams io)
{
    return UsageError(io, QStringLiteral("the merge command is not available in this build"));
}
