// The configuration reader on any bytes, run in a scratch folder that holds
// the five default language files: it keeps only names of existing files,
// each the first word of a line of the input.
#include "FuzzSupport.h"

#include "langdata/Configuration.h"
#include "langdata/WordHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::PinLocale();
    static QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        Fuzz::Fail("cannot make the scratch folder");
    for (const QString &name : { kDefaultFunctionFile, kDefaultConstantFile, kDefaultSyntaxFile,
             kDefaultAIFunctionFile, kDefaultAIConstantFile, QStringLiteral("Extra.txt") }) {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly))
            Fuzz::Fail("cannot write a language file");
    }
    QDir().mkdir(QStringLiteral("Folder.txt")); // a folder is never a file of the lists
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = Fuzz::Lines(Fuzz::Bytes(data, size));
    const Configuration config = ParseConfiguration(lines);

    QStringList firstWords;
    for (const QString &line : lines)
        firstWords.append(FirstWord(line));
    for (const QStringList *list : { &config.FunctionFiles, &config.ConstantFiles, &config.SyntaxFiles,
             &config.AIFunctionFiles, &config.AIConstantFiles }) {
        for (const QString &name : *list) {
            Fuzz::Require(TextFile::FileExists(name), "only existing files are listed");
            Fuzz::Require(firstWords.contains(name), "a listed name is the first word of a line");
            Fuzz::Require(!name.startsWith(u'['), "a section header is never a file name");
        }
    }
    return 0;
}
