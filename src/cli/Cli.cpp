#include "Cli.h"

namespace {

struct Command
{
    const char *name;
    const char *usage;
    const char *summary;
    int (*run)(const QStringList &, CliStreams);
};

constexpr Command kCommands[] = {
    { "highlight", "highlight FILE", "print the rich text the editor shows for FILE", RunHighlightCommand },
    { "import", "import -o FOLDER [--ai] FILE...",
        "make the language files from the game's declaration files (*.ai files give the AI lists)",
        RunImportCommand },
    { "check", "check [--all] FILE...", "check scripts for structural errors", RunCheckCommand },
    { "lint", "lint [--api FILE]... [--no-api] [--ai] FILE...",
        "check scripts as the game loads them: names, types, blocks (FILE:LINE:COLUMN: error: ...); "
        "a map (.w3x, .w3m) stands for the script inside it",
        RunLintCommand },
    { "merge", "merge -o TARGET SOURCE...", "merge scripts into one, dropping repeated declarations",
        RunMergeCommand },
    { "extract", "extract MAP [-o FILE]",
        "write the script inside a map (war3map.j) to FILE, or to standard output", RunExtractCommand },
    { "inject", "inject MAP FILE",
        "replace the script inside a map with FILE; the map as it was stays beside it as MAP.bak",
        RunInjectCommand },
};

QString HelpText()
{
    QString text = QStringLiteral("Usage: tolvane-cli COMMAND [ARGS...]\n\nCommands:\n");
    for (const Command &c : kCommands)
        text += QStringLiteral("  %1\n      %2\n").arg(QLatin1String(c.usage), QLatin1String(c.summary));
    text += QStringLiteral("  --version, -V\n      print the program's version\n");
    text += QStringLiteral("\nThe language files are found as the editor finds them: through "
                           "JassConfig.txt in the current folder.\n");
    return text;
}

} // namespace

void WriteText(QIODevice &device, const QString &text)
{
    device.write(text.toLocal8Bit());
}

int UsageError(CliStreams io, const QString &message)
{
    WriteText(io.err, QStringLiteral("tolvane-cli: %1\nTry 'tolvane-cli --help'.\n").arg(message));
    return 2;
}

int RunCli(const QStringList &arguments, CliStreams io)
{
    if (arguments.isEmpty())
        return UsageError(io, QStringLiteral("no command given"));
    const QString &name = arguments.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        WriteText(io.out, HelpText());
        return 0;
    }
    if (name == QLatin1String("--version") || name == QLatin1String("-V")) {
        WriteText(io.out, QStringLiteral("tolvane-cli " TOLVANE_VERSION "\n"));
        return 0;
    }
    for (const Command &c : kCommands) {
        if (name == QLatin1String(c.name))
            return c.run(arguments.mid(1), io);
    }
    if (name.startsWith(u'-'))
        return UsageError(io, QStringLiteral("unknown option '%1'").arg(name));
    return UsageError(io, QStringLiteral("unknown command '%1'").arg(name));
}
