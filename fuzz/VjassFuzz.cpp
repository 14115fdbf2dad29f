// The vJASS reading on any bytes, as one file or as several separated by NUL
// bytes that import each other ("f1.j"): preprocessor, parser and checks.
// Every diagnostic points into its source with a message, a check for
// diagnostics only finds the same, and the outline's parents come before
// their children and its lines lie in their sources. The symbols of go to
// symbol and the outline come in document order, and the one found at a line
// holds that line.
#include "FuzzSupport.h"

#include "analysis/Analysis.h"
#include "navigation/Navigation.h"

namespace {

int LineCount(const QByteArray &text)
{
    int lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++lines;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QList<Analysis::Source> sources;
    for (const QByteArray &file : Fuzz::Files(Fuzz::Bytes(data, size)))
        sources.append({ QStringLiteral("f%1.j").arg(sources.size()), file });
    Analysis::Options options;
    options.dialect = Analysis::Dialect::Vjass;
    options.readFile = [&sources](const QString &path, QByteArray *bytes, QString *error) {
        for (const Analysis::Source &s : std::as_const(sources)) {
            if (path.endsWith(s.name)) {
                *bytes = s.text;
                return true;
            }
        }
        *error = QStringLiteral("no such file");
        return false;
    };
    const Analysis::Result result = Analysis::Analyse(sources, Analysis::PrimitiveApi(), options);

    for (const Analysis::Diagnostic &d : result.diagnostics) {
        Fuzz::Require(d.source >= 0 && d.source < sources.size(), "a diagnostic names one of the sources");
        Fuzz::Require(
            d.line >= 1 && d.line <= LineCount(sources[d.source].text), "its line is in the source");
        Fuzz::Require(d.column >= 1 && d.length >= 1, "its column and length count from one");
        Fuzz::Require(!d.message.isEmpty(), "it says what is wrong");
    }
    for (int i = 0; i < result.outline.size(); ++i) {
        const Analysis::Declaration &d = result.outline[i];
        Fuzz::Require(d.parent < i, "a declaration's parent comes before it");
        Fuzz::Require(d.source >= 0 && d.source < sources.size(), "a declaration names one of the sources");
        const int lines = LineCount(sources[d.source].text);
        Fuzz::Require(d.firstLine >= 1 && d.firstLine <= d.lastLine && d.lastLine <= lines,
            "a declaration's lines are in its source");
    }
    const Navigation::SymbolIndex symbols(Navigation::Symbols(result));
    for (int i = 0; i < symbols.Size(); ++i) {
        Fuzz::Require(symbols[i].parent < i, "a symbol's parent comes before it");
        Fuzz::Require(
            i == 0 || symbols[i - 1].firstLine <= symbols[i].firstLine, "symbols are in document order");
    }
    Fuzz::Require(symbols.Filter({}).size() == symbols.Size(), "an empty search lists every symbol");
    for (int line = 0; !sources.isEmpty() && line < LineCount(sources[0].text); ++line) {
        const int at = symbols.At(line);
        Fuzz::Require(at < 0 || (symbols[at].firstLine <= line && line <= symbols[at].lastLine),
            "the symbol at a line holds it");
    }
    Analysis::Options diagnosticsOnly = options;
    diagnosticsOnly.declarations = false;
    Fuzz::Require(Analysis::Analyse(sources, Analysis::PrimitiveApi(), diagnosticsOnly).diagnostics
            == result.diagnostics,
        "lint, which asks for diagnostics only, finds the same");
    return 0;
}
