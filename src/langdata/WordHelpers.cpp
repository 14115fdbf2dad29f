#include "WordHelpers.h"

namespace {

constexpr QChar kSpace = u' ';

qsizetype SkipSpaces(const QString &text, qsizetype i)
{
    while (i < text.size() && text[i] == kSpace)
        ++i;
    return i;
}

// Where a rule finds nothing it gives the empty text, never a null one: the
// two differ in startsWith and isNull, and these results are names that get
// compared with what the user typed.
QString EmptyText()
{
    return QStringLiteral("");
}

QString Part(const QString &text, qsizetype start, qsizetype count = -1)
{
    QString part = text.mid(start, count);
    return part.isNull() ? EmptyText() : part;
}

qsizetype SkipWord(const QString &text, qsizetype i)
{
    while (i < text.size() && text[i] != kSpace)
        ++i;
    return i;
}

} // namespace

QString FirstWord(const QString &text)
{
    const qsizetype start = SkipSpaces(text, 0);
    return Part(text, start, SkipWord(text, start) - start);
}

QString SecondWord(const QString &text)
{
    qsizetype i = SkipWord(text, SkipSpaces(text, 0));
    i = SkipSpaces(text, i);
    const qsizetype start = i;
    while (i < text.size() && text[i] != kSpace && text[i] != u'=')
        ++i;
    return Part(text, start, i - start);
}

QString WordAt(const QString &text, int n)
{
    if (n == 0)
        return EmptyText();
    if (n > 0) {
        qsizetype i = 0;
        for (int word = 1;; ++word) {
            i = SkipSpaces(text, i);
            if (i >= text.size())
                return EmptyText();
            const qsizetype end = SkipWord(text, i);
            if (word == n)
                return Part(text, i, end - i);
            i = end;
        }
    }
    const qsizetype comment = text.indexOf(QLatin1String("//"));
    qsizetype end = comment < 0 ? text.size() : comment;
    for (int word = -1;; --word) {
        while (end > 0 && text[end - 1] == kSpace)
            --end;
        if (end == 0)
            return EmptyText();
        qsizetype start = end;
        while (start > 0 && text[start - 1] != kSpace)
            --start;
        if (word == n)
            return Part(text, start, end - start);
        end = start;
    }
}

QString LastWord(const QString &text)
{
    return Part(text, text.lastIndexOf(kSpace) + 1);
}

QString GlobalType(const QString &text)
{
    const QString first = FirstWord(text);
    return first == QLatin1String("constant") ? SecondWord(text) : first;
}

QString MidText(const QString &text, qsizetype start, qsizetype count)
{
    if (start < 1 || count <= 0 || start > text.size())
        return EmptyText();
    return Part(text, start - 1, count);
}
