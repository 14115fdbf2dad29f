#include "Cli.h"

#include "merge/Merge.h"

// merge -o TARGET SOURCE...: the same merge as the editor's Merge Files dialog.
// Prints the dialog's two message lines; a source that cannot be read or a
// target that cannot be written is reported on standard error and nothing is
// written.
int RunMergeCommand(const QStringList &args, CliStreams io)
{
    QString target;
    bool haveTarget = false;
    bool optionsEnded = false;
    QStringList sources;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!optionsEnded && arg == QLatin1String("-o")) {
            if (haveTarget)
                return UsageError(io, QStringLiteral("merge: -o given twice"));
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return UsageError(io, QStringLiteral("merge: -o needs a target file"));
            target = args[++i];
            haveTarget = true;
        } else if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && arg.startsWith(u'-') && arg.size() > 1) {
            return UsageError(io, QStringLiteral("merge: unknown option '%1'").arg(arg));
        } else {
            sources.append(arg);
        }
    }
    if (!haveTarget)
        return UsageError(io, QStringLiteral("merge: no target given (-o TARGET)"));
    if (sources.isEmpty())
        return UsageError(io, QStringLiteral("merge: no source file given"));

    const MergeResult result = MergeFiles(sources, target);
    if (!result.Succeeded()) {
        WriteText(io.err, QStringLiteral("tolvane-cli: %1\n").arg(result.error));
        return 2;
    }
    WriteText(io.out, result.messageLines.join(u'\n') + u'\n');
    return 0;
}
