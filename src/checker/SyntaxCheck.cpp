#include "SyntaxCheck.h"

#include "langdata/WordHelpers.h"

namespace {

constexpr QChar kSpace = u' ';

bool Is(const QString &word, QLatin1StringView keyword)
{
    return word == keyword;
}

// After "endfunction" only spaces may follow, optionally ending in a comment.
bool OnlyCommentFollows(const QString &line, qsizetype keywordEnd)
{
    qsizetype i = keywordEnd;
    while (i < line.size() && line[i] == kSpace)
        ++i;
    return i == line.size() || QStringView(line).sliced(i).startsWith(QLatin1StringView("//"));
}

QString CheckHeader(const QString &line)
{
    if (WordAt(line, 3) != QLatin1StringView("takes")) {
        return WordAt(line, 2) == QLatin1StringView("takes") ? QStringLiteral("Function name is missing!")
                                                             : QStringLiteral("takes is missing!");
    }
    if (WordAt(line, -2) != QLatin1StringView("returns")) {
        return WordAt(line, -1) == QLatin1StringView("returns") ? QStringLiteral("Return type is missing!")
                                                                : QStringLiteral("returns is missing!");
    }
    if (WordCount(line) < 6)
        return QStringLiteral("Formal parameters (takes) are missing!");
    return {};
}

} // namespace

QString NoErrorsMessage()
{
    return QStringLiteral("No errors found!");
}

int TokenCount(QStringView text, QStringView separators, QStringView counted)
{
    if (text.isEmpty())
        return 0;
    const qsizetype comment = text.indexOf(QLatin1StringView("//"));
    if (comment == 0)
        return 0;
    if (comment > 0)
        text = text.first(comment);
    int count = 0;
    bool afterSeparator = true;
    for (const QChar c : text) {
        if (!separators.contains(c)) {
            if (afterSeparator)
                ++count;
            afterSeparator = false;
        } else {
            afterSeparator = true;
            if (counted.contains(c))
                ++count;
        }
    }
    return count;
}

int WordCount(QStringView text)
{
    return TokenCount(text, u" ", {});
}

int AssignmentCount(QStringView text)
{
    return TokenCount(text, u" =", u"=");
}

// A line's first word matches at most one keyword, so the order of the tests
// below only matters for the messages of one rule.
QString CheckLine(const QString &line)
{
    const QString first = FirstWord(line);
    if (Is(first, QLatin1StringView("function")) || Is(first, QLatin1StringView("native")))
        return CheckHeader(line);
    if (Is(first, QLatin1StringView("endfunction"))) {
        const qsizetype end = line.indexOf(first) + first.size();
        return OnlyCommentFollows(line, end) ? QString() : QStringLiteral("End of line expected!");
    }
    if (Is(first, QLatin1StringView("local")))
        return WordCount(line) < 3 ? QStringLiteral("Incomplete declaration!") : QString();
    if (Is(first, QLatin1StringView("if")))
        return WordAt(line, -1) != QLatin1StringView("then") ? QStringLiteral("then is missing!") : QString();
    if (Is(first, QLatin1StringView("elseif"))) {
        return WordCount(line) < 2 ? QStringLiteral("Boolean expression expected after elseif") : QString();
    }
    if (Is(first, QLatin1StringView("else")) || Is(first, QLatin1StringView("endif"))
        || Is(first, QLatin1StringView("loop")) || Is(first, QLatin1StringView("endloop"))) {
        return WordCount(line) > 1 ? QStringLiteral("End of line expected!") : QString();
    }
    if (Is(first, QLatin1StringView("exitwhen")))
        return WordCount(line) < 2 ? QStringLiteral("Boolean expected after exitwhen") : QString();
    if (Is(first, QLatin1StringView("call")))
        return WordCount(line) < 2 ? QStringLiteral("Function expected after call") : QString();
    if (Is(first, QLatin1StringView("set"))) {
        // The "=" test sees the comment too; the count does not.
        if (!line.contains(u'='))
            return QStringLiteral("No equal-sign (=) found");
        return AssignmentCount(line) < 4 ? QStringLiteral("Incomplete assignment") : QString();
    }
    if (Is(first, QLatin1StringView("return")))
        return {};
    return WordCount(line) > 0 ? QStringLiteral("Unknown statement") : QString();
}

SyntaxCheckResult CheckSyntax(const QStringList &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString message = CheckLine(lines[i]);
        if (!message.isEmpty())
            return { i, std::move(message) };
    }
    return { -1, NoErrorsMessage() };
}

QList<SyntaxCheckResult> CheckSyntaxAll(const QStringList &lines)
{
    QList<SyntaxCheckResult> failures;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString message = CheckLine(lines[i]);
        if (!message.isEmpty())
            failures.append({ i, std::move(message) });
    }
    return failures;
}
