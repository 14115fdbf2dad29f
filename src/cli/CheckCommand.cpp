#include "Cli.h"

#include "checker/SyntaxCheck.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

// check [--all] FILE...: one line per file, "FILE:N: MESSAGE" for a failing line
// (N from 1) or "FILE: No errors found!". A file that cannot be read is reported
// on standard error and the others are still checked.
int RunCheckCommand(const QStringList &args, CliStreams io)
{
    bool all = false;
    bool optionsEnded = false;
    QStringList files;
    for (const QString &arg : args) {
        if (!optionsEnded && arg == QLatin1String("--all")) {
            all = true;
        } else if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && arg.startsWith(u'-') && arg.size() > 1) {
            return UsageError(io, QStringLiteral("check: unknown option '%1'").arg(arg));
        } else {
            files.append(arg);
        }
    }
    if (files.isEmpty())
        return UsageError(io, QStringLiteral("check: no file given"));

    bool anyFailed = false;
    bool anyUnreadable = false;
    for (const QString &file : files) {
        QStringList lines;
        try {
            lines = TextFile::LoadScript(file).lines;
        } catch (const TolvaneError &error) {
            WriteText(io.err, QStringLiteral("tolvane-cli: %1\n").arg(error.message()));
            anyUnreadable = true;
            continue;
        }
        QList<SyntaxCheckResult> failures;
        if (all) {
            failures = CheckSyntaxAll(lines);
        } else if (SyntaxCheckResult result = CheckSyntax(lines); !result.Passed()) {
            failures.append(std::move(result));
        }
        QString report;
        for (const SyntaxCheckResult &failure : failures)
            report += file + u':' + QString::number(failure.line + 1) + QLatin1String(": ") + failure.message
                + u'\n';
        if (failures.isEmpty())
            report = QStringLiteral("%1: %2\n").arg(file, NoErrorsMessage());
        anyFailed = anyFailed || !failures.isEmpty();
        WriteText(io.out, report);
    }
    if (anyUnreadable)
        return 2;
    return anyFailed ? 1 : 0;
}
