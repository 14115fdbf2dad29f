#include "Cli.h"

#include "editor/SyntaxDocument.h"
#include "langdata/Catalogue.h"
#include "langdata/Configuration.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

namespace {

constexpr int kEditorFontPoints = 9;

} // namespace

// highlight FILE: the rich-text document the editor loads for FILE, with the
// language files found through JassConfig.txt in the current folder.
int RunHighlightCommand(const QStringList &args, CliStreams io)
{
    bool optionsEnded = false;
    QStringList files;
    for (const QString &arg : args) {
        if (!optionsEnded && arg == QLatin1String("--"))
            optionsEnded = true;
        else if (!optionsEnded && arg.startsWith(u'-') && arg.size() > 1)
            return UsageError(io, QStringLiteral("highlight: unknown option '%1'").arg(arg));
        else
            files.append(arg);
    }
    if (files.size() != 1)
        return UsageError(io, QStringLiteral("highlight: give exactly one file"));

    try {
        const Configuration config = LoadConfiguration();
        Catalogue catalogue;
        SyntaxDocument Editbox;
        SyntaxDocument HelpEdit;
        LoadCatalogue(config, catalogue, Editbox, HelpEdit, nullptr);
        Editbox.SetFontSize(kEditorFontPoints);
        Editbox.SetLines(TextFile::LoadScript(files.first()).lines);
        io.out.write(Editbox.HighlightAll());
    } catch (const TolvaneError &error) {
        WriteText(io.err, QStringLiteral("tolvane-cli: %1\n").arg(error.message()));
        return 2;
    }
    return 0;
}
