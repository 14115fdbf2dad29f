#pragma once

#include "analysis/Analysis.h"

#include <QIODevice>
#include <QStringList>

// tolvane-cli: the editor's language tools for build scripts. Each command
// takes its arguments (without the program and command names) and writes raw
// bytes to `out` and `err`. Exit status: 0 success, 1 a check found faults,
// 2 usage errors and files that cannot be read or written.
struct CliStreams {
    QIODevice &out;
    QIODevice &err;
};

int RunCli(const QStringList &arguments, CliStreams io);

int RunHighlightCommand(const QStringList &args, CliStreams io);
int RunImportCommand(const QStringList &args, CliStreams io);
int RunCheckCommand(const QStringList &args, CliStreams io);
int RunLintCommand(const QStringList &args, CliStreams io);
int RunMergeCommand(const QStringList &args, CliStreams io);
int RunExtractCommand(const QStringList &args, CliStreams io);
int RunInjectCommand(const QStringList &args, CliStreams io);

// Shared by the commands.
void WriteText(QIODevice &device, const QString &text);
int UsageError(CliStreams io, const QString &message);
// "FILE:LINE:COLUMN: error: MESSAGE" (or "warning:"), the form compilers use.
QString DiagnosticLine(const QString &file, const Analysis::Diagnostic &d);
// The script inside a map as lint names it: "maps/x.w3x/war3map.j", where
// the map saved as a folder would hold it.
QString MapSourceName(const QString &mapPath, const QString &scriptName);
