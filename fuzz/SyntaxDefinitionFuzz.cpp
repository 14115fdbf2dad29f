// The syntax-definition reader on any bytes. A colour it cannot read is the
// expected TolvaneError; otherwise the words come sorted without repeats, and
// once handed to the engine every word finds its own class.
#include "FuzzSupport.h"

#include "editor/Highlighter.h"
#include "editor/WordClasses.h"
#include "platform/Colors.h"
#include "platform/Errors.h"
#include "platform/Rtf.h"

#include <QRegularExpression>

namespace {

// Plain decimal text must read as the same number it is.
void CheckDecimal(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^ *[+-]?[0-9]+$"));
    if (!decimal.match(text).hasMatch())
        return;
    bool ok = false;
    const qlonglong expected = text.trimmed().toLongLong(&ok);
    const std::optional<int32_t> parsed = Colors::ParseInteger(text);
    if (!ok || expected < INT32_MIN || expected > INT32_MAX)
        Fuzz::Require(!parsed.has_value(), "a decimal past 32 bits is no integer");
    else
        Fuzz::Require(parsed.has_value() && *parsed == expected, "a decimal reads as its value");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::PinLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = Fuzz::Lines(Fuzz::Bytes(data, size));
    for (const QString &line : lines) {
        if (line.startsWith(u'@'))
            CheckDecimal(line.mid(1));
    }

    const TSyntaxType plainList(0x123456, FontStyle::Bold);
    const WordPairs listed = CollectWordClasses(lines, &plainList);
    Fuzz::Require(listed.size() == size_t(lines.size()), "a word list keeps every line");

    WordPairs pairs;
    try {
        pairs = CollectWordClasses(lines, nullptr);
    } catch (const TolvaneError &) {
        return 0; // a colour that cannot be read is reported, as it should be
    }
    const StringComparer &comparer = StringComparer::CaseInsensitive();
    for (size_t i = 0; i < pairs.size(); ++i) {
        const QString &word = pairs[i].Word;
        Fuzz::Require(pairs[i].WordClass != nullptr, "every word has a class");
        Fuzz::Require(!word.isEmpty() && word[0] != u';' && word[0] != u'@' && word[0] != u'!',
            "comments, colours and styles are no words");
        if (i > 0)
            Fuzz::Require(comparer.Compare(pairs[i - 1].Word, word) < 0, "words sorted, each once");
    }

    SyntaxEngine engine;
    engine.AddWords(pairs);
    engine.RebuildCodes();
    for (const WordClassPair &pair : pairs) {
        Fuzz::Require(engine.FindWordClass(pair.Word) == pair.WordClass.get(), "a word finds its own class");
        Fuzz::Require(pair.WordClass->ColorIndex > 0 && !pair.WordClass->RtfOpen.isEmpty(),
            "every class has its colour-table entry");
    }
    const RichText table = Rtf::Read("{\\rtf1" + engine.ColorTable() + "}");
    Fuzz::Require(table.text.isEmpty(), "the colour table holds no text");
    return 0;
}
