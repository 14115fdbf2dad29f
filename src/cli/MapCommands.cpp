#include "Cli.h"

#include "maps/Maps.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

namespace {

// Options end at "--"; the rest are the command's operands in order.
struct Operands {
    QStringList files;
    QString output;
    QString error;
};

Operands ParseOperands(const QString &command, const QStringList &args, bool takesOutput)
{
    Operands parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size() && parsed.error.isEmpty(); ++i) {
        const QString &arg = args[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && takesOutput && arg == QLatin1String("-o")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty() || !parsed.output.isEmpty())
                parsed.error = QStringLiteral("%1: -o takes one output file").arg(command);
            else
                parsed.output = args[++i];
        } else if (!optionsEnded && arg.startsWith(u'-') && arg.size() > 1) {
            parsed.error = QStringLiteral("%1: unknown option '%2'").arg(command, arg);
        } else {
            parsed.files.append(arg);
        }
    }
    return parsed;
}

int Failed(CliStreams io, const QString &message)
{
    WriteText(io.err, QStringLiteral("tolvane-cli: %1\n").arg(message));
    return 2;
}

} // namespace

QString MapSourceName(const QString &mapPath, const QString &scriptName)
{
    return mapPath + u'/' + QString(scriptName).replace(u'\\', u'/');
}

// extract MAP [-o FILE]: the script inside a map, byte for byte.
int RunExtractCommand(const QStringList &args, CliStreams io)
{
    const Operands parsed = ParseOperands(QStringLiteral("extract"), args, true);
    if (!parsed.error.isEmpty())
        return UsageError(io, parsed.error);
    if (parsed.files.size() != 1)
        return UsageError(io, QStringLiteral("extract: give exactly one map"));
    const Maps::ReadResult read = Maps::ReadScript(parsed.files.first());
    if (!read.error.isEmpty())
        return Failed(io, read.error);
    if (parsed.output.isEmpty()) {
        io.out.write(read.script.bytes);
        return 0;
    }
    try {
        TextFile::WriteBytes(parsed.output, read.script.bytes);
    } catch (const TolvaneError &error) {
        return Failed(io, error.message());
    }
    return 0;
}

// inject MAP FILE: FILE's bytes become the map's script, as the editor saves it.
int RunInjectCommand(const QStringList &args, CliStreams io)
{
    const Operands parsed = ParseOperands(QStringLiteral("inject"), args, false);
    if (!parsed.error.isEmpty())
        return UsageError(io, parsed.error);
    if (parsed.files.size() != 2)
        return UsageError(io, QStringLiteral("inject: give a map and a script"));
    QByteArray script;
    try {
        script = TextFile::ReadBytes(parsed.files[1]);
    } catch (const TolvaneError &error) {
        return Failed(io, error.message());
    }
    const Maps::WriteResult written = Maps::WriteScript(parsed.files[0], script, true);
    if (!written.error.isEmpty())
        return Failed(io, written.error);
    WriteText(io.out,
        QStringLiteral("%1: script replaced; the map as it was is %2\n")
            .arg(parsed.files[0], written.backup));
    return 0;
}
