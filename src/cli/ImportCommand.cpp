#include "Cli.h"

#include "import/LanguageFiles.h"
#include "langdata/ApiFiles.h"
#include "langdata/Configuration.h"
#include "platform/Errors.h"

#include <QDir>

namespace {

const char kImportHelp[] = "Usage: tolvane-cli import -o FOLDER [--ai] FILE...\n"
                           "\n"
                           "Reads the game's declaration files and writes the editor's language files\n"
                           "Func.txt, Const.txt, Syn.txt, AIFunc.txt and AIConst.txt into FOLDER\n"
                           "(created when missing; files of those names are replaced), and beside\n"
                           "them Api.txt and AIApi.txt, what 'tolvane-cli lint' checks scripts on.\n"
                           "\n"
                           "Files whose names end in .ai (common.ai) give the AI functions and AI\n"
                           "globals; every other file (common.j, blizzard.j) gives the functions and\n"
                           "constants. The types every file declares go into Syn.txt. Api.txt holds\n"
                           "every file but the AI files; AIApi.txt the AI files and the files without\n"
                           "function bodies (common.j, not blizzard.j), as the game loads them.\n"
                           "\n"
                           "Options:\n"
                           "  -o, --output FOLDER  where the five files go\n"
                           "  --ai FILE            read FILE as an AI file, whatever its name\n"
                           "  -h, --help           show this text\n"
                           "\n"
                           "A file that is not JASS stops the import; nothing is written then. What\n"
                           "the game would reject in a file is shown, as 'tolvane-cli lint' shows it;\n"
                           "the API files then lack what those lines declare.\n"
                           "Example: tolvane-cli import -o data common.j blizzard.j common.ai\n";

} // namespace

int RunImportCommand(const QStringList &args, CliStreams io)
{
    QString folder;
    QList<ImportSource> sources;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            WriteText(io.out, QString::fromLatin1(kImportHelp));
            return 0;
        }
        if (arg == QLatin1String("-o") || arg == QLatin1String("--output") || arg == QLatin1String("--ai")) {
            if (i + 1 >= args.size())
                return UsageError(io, QStringLiteral("import: %1 needs an argument").arg(arg));
            if (arg == QLatin1String("--ai"))
                sources.append(ImportSource { args[++i], SourceKind::AI });
            else
                folder = args[++i];
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return UsageError(io, QStringLiteral("import: unknown option '%1'").arg(arg));
        } else {
            sources.append(ImportSource { arg, KindOfFileName(arg) });
        }
    }
    if (folder.isEmpty())
        return UsageError(io, QStringLiteral("import: no output folder given (-o FOLDER)"));
    if (sources.isEmpty())
        return UsageError(io, QStringLiteral("import: no declaration files given"));

    LanguageFiles files;
    try {
        files = ImportDeclarationFiles(sources);
        WriteLanguageFiles(folder, files);
    } catch (const TolvaneError &e) {
        WriteText(io.err, QStringLiteral("tolvane-cli: import: %1\n").arg(e.message()));
        return 2;
    }

    for (const LanguageFiles::ApiError &e : files.apiErrors)
        WriteText(io.err, QStringLiteral("tolvane-cli: import: ") + DiagnosticLine(e.file, e.diagnostic));

    const QDir dir(folder);
    const auto report = [&](const QString &name, const QStringList &lines, const char *what) {
        WriteText(io.out,
            QStringLiteral("%1: %2 %3\n")
                .arg(QDir::toNativeSeparators(dir.filePath(name)))
                .arg(lines.size())
                .arg(QLatin1String(what)));
    };
    report(kDefaultFunctionFile, files.functions, "functions");
    report(kDefaultConstantFile, files.constants, "constants");
    report(kDefaultSyntaxFile, files.syntax, "lines");
    report(kDefaultAIFunctionFile, files.aiFunctions, "AI functions");
    report(kDefaultAIConstantFile, files.aiConstants, "AI globals");
    const auto reportApi = [&](const QString &name, const Analysis::Api &api) {
        WriteText(io.out,
            QStringLiteral("%1: %2 types, %3 functions, %4 globals\n")
                .arg(QDir::toNativeSeparators(dir.filePath(name)))
                .arg(api.types.size())
                .arg(api.functions.size())
                .arg(api.globals.size()));
    };
    reportApi(kApiFileName, files.api);
    reportApi(kAIApiFileName, files.aiApi);
    return 0;
}
