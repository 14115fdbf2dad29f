#include "Configuration.h"

#include "WordHelpers.h"
#include "platform/TextFile.h"

QStringList DefaultConfigurationLines()
{
    return {
        QStringLiteral("Warning:"),
        QStringLiteral("- Messing up this file can cause errors in Tolvane"),
        QStringLiteral("- If there are problems, delete the file and Tolvane restores it automatically."),
        QStringLiteral("You can add your own files to these lists."),
        QString(),
        QStringLiteral("[Functions]"),
        kDefaultFunctionFile,
        QString(),
        QStringLiteral("[Constants]"),
        kDefaultConstantFile,
        QString(),
        QStringLiteral("[Syntax]"),
        kDefaultSyntaxFile,
        QString(),
        QStringLiteral("[AIFunctions]"),
        kDefaultAIFunctionFile,
        QString(),
        QStringLiteral("[AIConstants]"),
        kDefaultAIConstantFile,
    };
}

Configuration ParseConfiguration(const QStringList &lines)
{
    Configuration config;
    QStringList *section = nullptr;
    for (const QString &line : lines) {
        const QString word = FirstWord(line);
        if (word.isEmpty())
            continue;
        if (word.startsWith(u'[')) {
            if (word == QLatin1String("[Functions]"))
                section = &config.FunctionFiles;
            else if (word == QLatin1String("[Constants]"))
                section = &config.ConstantFiles;
            else if (word == QLatin1String("[Syntax]"))
                section = &config.SyntaxFiles;
            else if (word == QLatin1String("[AIFunctions]"))
                section = &config.AIFunctionFiles;
            else if (word == QLatin1String("[AIConstants]"))
                section = &config.AIConstantFiles;
            continue;
        }
        if (section && TextFile::FileExists(word))
            section->append(word);
    }
    return config;
}

Configuration LoadConfiguration()
{
    QStringList lines;
    if (TextFile::FileExists(kConfigFileName)) {
        lines = TextFile::LoadLines(kConfigFileName);
    } else {
        lines = DefaultConfigurationLines();
        TextFile::SaveLines(kConfigFileName, lines);
    }
    return ParseConfiguration(lines);
}
