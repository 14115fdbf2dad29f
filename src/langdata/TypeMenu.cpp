#include "TypeMenu.h"

#include "WordHelpers.h"
#include "platform/StringLists.h"

namespace {

QString AsciiLower(QString text)
{
    for (QChar &c : text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return text;
}

} // namespace

QStringList ExtraTypes(const QStringList &knownCaptions, const QStringList &functionLines)
{
    const StringComparer &comparer = StringComparer::CaseInsensitive();
    QStringList known;
    for (const QString &caption : knownCaptions)
        StringLists::InsertSorted(known, AsciiLower(caption), comparer);

    QStringList extra;
    for (const QString &line : functionLines) {
        const QString type = LastWord(line);
        if (type.size() <= 2 || StringLists::FindSorted(known, type, comparer).found)
            continue;
        StringLists::InsertSorted(extra, type, comparer);
    }
    return extra;
}
