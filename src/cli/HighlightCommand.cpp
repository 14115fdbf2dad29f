#include "Cli.h"

int RunHighlightCommand(const QStringList &, CliStreams io)
{
    return UsageError(io, QStringLiteral("the highlight command is not available in this build"));
}
