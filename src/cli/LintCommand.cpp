#include "Cli.h"

#include "analysis/Analysis.h"
#include "analysis/Project.h"
#include "langdata/ApiFiles.h"
#include "maps/Maps.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

#include <QFileInfo>

namespace {

const char kLintHelp[]
    = "Usage: tolvane-cli lint [--api FILE]... [--no-api] [--ai] [--jass] [--map FILE] FILE...\n"
      "\n"
      "Checks scripts as the game does when it loads them: blocks, names and types,\n"
      "and the mistakes that load but stop or crash the game. Several FILEs are one\n"
      "program, in order, as the game loads common.j, blizzard.j and war3map.j.\n"
      "A map (.w3x, .w3m) stands for the script inside it, named MAP/war3map.j.\n"
      "A program that uses vJASS is checked as vJASS: its libraries go first, each\n"
      "after those it requires; a library none of the FILEs declares is read from\n"
      "the folder of the first FILE or its subfolders, and the globals of the map's\n"
      "triggers (udg_, gg_) from a war3map.j in that folder.\n"
      "Prints one line per finding, FILE:LINE:COLUMN: error: MESSAGE (or warning:).\n"
      "\n"
      "The game's API comes from the language folder, found as the editor finds it:\n"
      "JassConfig.txt in the current folder, and Api.txt beside its first function\n"
      "file (tolvane-cli import writes it).\n"
      "\n"
      "Options:\n"
      "  --api FILE  read this declaration file (common.j, blizzard.j, common.ai)\n"
      "              first instead of the language folder; repeat it for several,\n"
      "              in order. Their errors are shown too, their warnings not\n"
      "  --no-api    nothing predeclared but the six primitive types\n"
      "  --ai        check AI scripts: the API of common.j and common.ai (AIApi.txt);\n"
      "              implied by FILEs named *.ai\n"
      "  --jass      check plain JASS even where the FILEs use vJASS\n"
      "  --map FILE  take the trigger globals (udg_, gg_) of this war3map.j\n"
      "  -h, --help  show this text\n"
      "\n"
      "Exit status: 0 without errors (warnings allowed), 1 with errors, 2 when a\n"
      "file cannot be read or the arguments are wrong.\n"
      "Example: tolvane-cli lint war3map.j\n";

struct LintOptions {
    QStringList apiFiles;
    QStringList files;
    bool noApi = false;
    bool ai = false;
    bool jass = false;
    QString map;
};

// The whole program: the --api files first, then the FILEs; a map gives the
// script inside it. Raises TolvaneError for a file that cannot be read.
QList<Analysis::Source> ReadSources(const QStringList &names)
{
    QList<Analysis::Source> sources;
    sources.reserve(names.size());
    for (const QString &name : names) {
        if (!Maps::IsMapFile(name)) {
            sources.append(Analysis::Source { name, TextFile::ReadBytes(name) });
            continue;
        }
        const Maps::ReadResult map = Maps::ReadScript(name);
        if (!map.error.isEmpty())
            throw TolvaneError(map.error);
        sources.append(Analysis::Source { MapSourceName(name, map.script.name), map.script.bytes });
    }
    return sources;
}

} // namespace

QString DiagnosticLine(const QString &file, const Analysis::Diagnostic &d)
{
    return QStringLiteral("%1:%2:%3: %4: %5\n")
        .arg(file)
        .arg(d.line)
        .arg(d.column)
        .arg(d.severity == Analysis::Severity::Error ? QLatin1String("error") : QLatin1String("warning"),
            d.message);
}

int RunLintCommand(const QStringList &args, CliStreams io)
{
    LintOptions options;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (optionsEnded || arg == QLatin1String("-") || !arg.startsWith(u'-')) {
            options.files.append(arg);
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            WriteText(io.out, QString::fromLatin1(kLintHelp));
            return 0;
        } else if (arg == QLatin1String("--api")) {
            if (i + 1 >= args.size())
                return UsageError(io, QStringLiteral("lint: --api needs a file"));
            options.apiFiles.append(args[++i]);
        } else if (arg == QLatin1String("--no-api")) {
            options.noApi = true;
        } else if (arg == QLatin1String("--ai")) {
            options.ai = true;
        } else if (arg == QLatin1String("--jass")) {
            options.jass = true;
        } else if (arg == QLatin1String("--map")) {
            if (i + 1 >= args.size())
                return UsageError(io, QStringLiteral("lint: --map needs a file"));
            options.map = args[++i];
        } else {
            return UsageError(io, QStringLiteral("lint: unknown option '%1'").arg(arg));
        }
    }
    if (options.files.isEmpty())
        return UsageError(io, QStringLiteral("lint: no file given"));
    if (options.noApi && (options.ai || !options.apiFiles.isEmpty()))
        return UsageError(io, QStringLiteral("lint: --no-api excludes --api and --ai"));
    for (const QString &file : options.files)
        options.ai = options.ai || file.endsWith(QLatin1String(".ai"), Qt::CaseInsensitive);

    Analysis::Api api = Analysis::PrimitiveApi();
    QList<Analysis::Source> sources;
    try {
        if (options.apiFiles.isEmpty() && !options.noApi)
            api = LoadApi(FindApiFiles(), options.ai);
        sources = ReadSources(options.apiFiles + options.files);
    } catch (const TolvaneError &error) {
        WriteText(io.err, QStringLiteral("tolvane-cli: lint: %1\n").arg(error.message()));
        return 2;
    }

    Analysis::Options diagnosticsOnly;
    diagnosticsOnly.declarations = false;
    diagnosticsOnly.preludeSources = int(options.apiFiles.size());
    if (options.jass)
        diagnosticsOnly.dialect = Analysis::Dialect::Jass;
    if (!options.map.isEmpty() && !QFileInfo::exists(options.map)) {
        WriteText(
            io.err, QStringLiteral("tolvane-cli: lint: cannot read %1: no such file\n").arg(options.map));
        return 2;
    }
    const QString folder = QFileInfo(options.files.first()).absolutePath();
    const Analysis::Result result
        = Analysis::AnalyseProject(sources, api, diagnosticsOnly, folder, options.map);
    const int firstFile = int(options.apiFiles.size());
    QString report;
    bool failed = false;
    for (const Analysis::Diagnostic &d : result.diagnostics) {
        const bool error = d.severity == Analysis::Severity::Error;
        // The game's own files warn of what only old patches reject; that is
        // nothing the user can act on.
        if (d.source < firstFile && !error)
            continue;
        failed = failed || error;
        report += DiagnosticLine(
            d.source >= 0 && d.source < sources.size() ? sources[d.source].name : QString(), d);
    }
    WriteText(io.out, report);
    return failed ? 1 : 0;
}
