// The merge on any scripts (NUL bytes separate the sources of one input).
// It copies lines only, puts them in at most one globals block of its own,
// names each declaration once, and merging its own output again changes
// nothing but the closing blank.
#include "FuzzSupport.h"

#include "merge/Merge.h"

#include <QSet>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::PinLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QList<QStringList> sources;
    QSet<QString> inputLines;
    qsizetype total = 0;
    for (const QByteArray &file : Fuzz::Files(Fuzz::Bytes(data, size))) {
        sources.append(Fuzz::Lines(file));
        total += sources.last().size() + 1;
        for (const QString &line : sources.last())
            inputLines.insert(line);
    }
    const MergeOutput output = MergeSources(sources);
    Fuzz::Require(
        output.lines.size() <= total + 2, "no more lines than the sources, their separators and one block");
    const qsizetype opens = output.lines.indexOf(QStringLiteral("globals"));
    const qsizetype closes = output.lines.indexOf(QStringLiteral("endglobals"));
    Fuzz::Require((opens < 0) == (closes < 0) && opens <= closes, "a globals block is closed");
    for (qsizetype i = 0; i < output.lines.size(); ++i) {
        const QString &line = output.lines[i];
        if (i == opens || i == closes)
            continue;
        Fuzz::Require(line.isEmpty() || inputLines.contains(line), "every line comes from a source");
        Fuzz::Require(!LineBeginsWith(line, u"globals") && !LineBeginsWith(line, u"endglobals"),
            "one globals block at most");
    }
    const QSet<QString> names(output.declaredNames.cbegin(), output.declaredNames.cend());
    Fuzz::Require(names.size() == output.declaredNames.size(), "each name is declared once");

    QStringList expected = output.lines;
    expected.append(QString());
    Fuzz::Require(MergeSources({ output.lines }).lines == expected, "merging the output again keeps it");
    return 0;
}
