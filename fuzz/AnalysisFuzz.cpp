// The script analysis on any bytes, as one file or as several separated by NUL
// bytes: every diagnostic points into its source with a message, a check for
// diagnostics only finds the same, and what the sources declared, broken or
// not, round-trips through the compact API file.
#include "FuzzSupport.h"

#include "analysis/Analysis.h"

namespace {

// Lines as the analysis counts them: CR LF, LF and CR each end one.
int LineCount(const QByteArray &text)
{
    int lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++lines;
    }
    return lines;
}

// The API file keeps no positions.
Analysis::Api WithoutPositions(Analysis::Api api)
{
    for (Analysis::Type &t : api.types)
        t.at = {};
    for (Analysis::Function &f : api.functions) {
        f.at = {};
        for (Analysis::Variable &p : f.parameters)
            p.at = {};
    }
    for (Analysis::Variable &g : api.globals)
        g.at = {};
    return api;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QList<Analysis::Source> sources;
    for (const QByteArray &file : Fuzz::Files(Fuzz::Bytes(data, size)))
        sources.append({ QStringLiteral("f%1.j").arg(sources.size()), file });
    const Analysis::Result result = Analysis::Analyse(sources, Analysis::PrimitiveApi());

    for (const Analysis::Diagnostic &d : result.diagnostics) {
        Fuzz::Require(d.source >= 0 && d.source < sources.size(), "a diagnostic names one of the sources");
        Fuzz::Require(
            d.line >= 1 && d.line <= LineCount(sources[d.source].text), "its line is in the source");
        Fuzz::Require(d.column >= 1 && d.length >= 1, "its column and length count from one");
        Fuzz::Require(!d.message.isEmpty(), "it says what is wrong");
    }
    Analysis::Options diagnosticsOnly;
    diagnosticsOnly.declarations = false;
    Fuzz::Require(Analysis::Analyse(sources, Analysis::PrimitiveApi(), diagnosticsOnly).diagnostics
            == result.diagnostics,
        "lint, which asks for diagnostics only, finds the same");

    Analysis::Api api = Analysis::PrimitiveApi();
    Analysis::Append(api, result.declared);
    // The API side too: the last source again on top of what all of them declared.
    (void)Analysis::Analyse({ Analysis::Source { QStringLiteral("after.j"), sources.last().text } }, api);

    QString error;
    const std::optional<Analysis::Api> back = Analysis::ReadApi(Analysis::WriteApi(api), &error);
    Fuzz::Require(back.has_value(), "the API file written reads back");
    Fuzz::Require(*back == WithoutPositions(api), "the API file keeps every declaration");
    return 0;
}
