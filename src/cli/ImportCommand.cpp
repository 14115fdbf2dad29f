#include "Cli.h"

int RunImportCommand(const QStringList &, CliStreams io)
{
    return UsageError(io, QStringLiteral("the import command is not available in this build"));
}
