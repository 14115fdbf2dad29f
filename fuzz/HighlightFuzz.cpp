// The tokenizer and rich-text generator on any script. The tokens cover each
// line, and the generated document reads back (with our RTF reader) to the
// same text, every token in its class's colour and styles.
//
// An input with a NUL byte carries its own syntax definition before the NUL;
// other inputs are highlighted with a small fixed one.
#include "FuzzSupport.h"

#include "editor/SyntaxDocument.h"
#include "platform/Errors.h"
#include "platform/Rtf.h"

namespace {

const char kDefinition[]
    = "@clNavy\n!bold\nfunction\nendfunction\ntakes\nreturns\nnothing\nlocal\nset\ncall\n"
      "if\nthen\nendif\nloop\nendloop\n@clPurple\n!bold\ntrue\nfalse\nnull\n"
      "@clTeal\ninteger\nreal\nstring\nunit\n@$0080FF\n!italic\n!underline\nBJDebugMsg\n";

struct Token {
    qsizetype start;
    qsizetype length;
    const TSyntaxType *wordClass;
};

// Records the classification and checks that it covers the line in order.
class CoverageSink : public HighlightSink {
public:
    void Space(QStringView, qsizetype start, qsizetype length) override { Advance(start, length); }
    void Token(QStringView, qsizetype start, qsizetype length, TSyntaxType *wordClass) override
    {
        Fuzz::Require(wordClass != nullptr, "every token has a class");
        Advance(start, length);
        tokens.push_back({ start, length, wordClass });
    }

    qsizetype covered = 0;
    std::vector<::Token> tokens;

private:
    void Advance(qsizetype start, qsizetype length)
    {
        Fuzz::Require(start == covered && length > 0, "runs follow each other without gaps");
        covered += length;
    }
};

// The attributes of each character of one line of a document as read.
std::vector<TextAttributes> CharAttributes(const LineRuns &runs)
{
    std::vector<TextAttributes> chars;
    for (const StyleRun &run : runs)
        chars.insert(chars.end(), size_t(run.length), run.attributes);
    return chars;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::PinLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const qsizetype nul = bytes.indexOf('\0');
    const QStringList definition = Fuzz::Lines(nul < 0 ? QByteArray(kDefinition) : bytes.left(nul));
    const QStringList lines = Fuzz::Lines(nul < 0 ? bytes : bytes.mid(nul + 1));

    SyntaxDocument document;
    try {
        LoadWordClasses(definition, nullptr, { &document });
    } catch (const TolvaneError &) {
        return 0; // a colour that cannot be read
    }
    document.RebuildHighlighting();
    document.SetLines(lines);

    const QByteArray rtf = document.HighlightAll();
    if (lines.isEmpty()) {
        Fuzz::Require(rtf.isEmpty(), "no lines, no document");
        return 0;
    }
    const RichText read = Rtf::Read(rtf);
    Fuzz::Require(read.text == lines.join(QLatin1Char('\n')), "the document reads back to the same text");
    Fuzz::Require(read.lines.size() == size_t(lines.size()), "one run list per line");

    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        CoverageSink sink;
        document.Engine().ClassifyLine(line, sink);
        Fuzz::Require(sink.covered == line.size(), "the runs cover the line");
        const std::vector<TextAttributes> chars = CharAttributes(read.lines[size_t(i)]);
        Fuzz::Require(chars.size() == size_t(line.size()), "read-back runs cover the line");
        for (const ::Token &token : sink.tokens) {
            for (qsizetype k = token.start; k < token.start + token.length; ++k) {
                const TextAttributes &a = chars[size_t(k)];
                Fuzz::Require((a.color & 0xFFFFFF) == (token.wordClass->Color & 0xFFFFFF),
                    "a token reads back in its class's colour");
                Fuzz::Require(a.style == token.wordClass->Style, "a token reads back in its class's styles");
            }
        }
    }
    return 0;
}
