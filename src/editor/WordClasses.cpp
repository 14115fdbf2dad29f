#include "WordClasses.h"

#include "platform/Colors.h"
#include "platform/Rtf.h"
#include "platform/StringLists.h"

WordPairs CollectWordClasses(const QStringList &lines, const TSyntaxType *wordClass)
{
    WordPairs pairs;
    if (lines.isEmpty())
        return pairs;
    if (wordClass) {
        const auto copy = std::make_shared<TSyntaxType>(wordClass->Color, wordClass->Style);
        pairs.reserve(size_t(lines.size()));
        for (const QString &line : lines)
            pairs.push_back({ line, copy });
        return pairs;
    }

    // A self-sorting list that ignores case and drops a word it already holds.
    const StringComparer &comparer = StringComparer::CaseInsensitive();
    QStringList words;
    SyntaxTypePtr current;
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        const QChar first = line.at(0);
        const QString rest = line.mid(1);
        if (first == u';')
            continue;
        if (first == u'@') {
            current = std::make_shared<TSyntaxType>(Colors::FromText(rest), 0);
        } else if (first == u'!') {
            if (!current)
                continue;
            if (rest == QLatin1String("bold"))
                current->Style |= FontStyle::Bold;
            else if (rest == QLatin1String("italic"))
                current->Style |= FontStyle::Italic;
            else if (rest == QLatin1String("underline"))
                current->Style |= FontStyle::Underline;
        } else if (current) {
            const qsizetype at = StringLists::InsertSorted(words, line, comparer);
            if (at >= 0)
                pairs.insert(pairs.begin() + at, { line, current });
        }
    }
    return pairs;
}

void LoadWordClasses(
    const QStringList &Lines, const TSyntaxType *WordClass, std::initializer_list<WordClassTarget *> targets)
{
    if (Lines.isEmpty())
        return;
    const WordPairs pairs = CollectWordClasses(Lines, WordClass);
    for (WordClassTarget *target : targets)
        target->AddWords(pairs);
}
