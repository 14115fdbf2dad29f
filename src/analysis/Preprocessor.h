#pragma once

#include "Analysis.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <vector>

// The vJASS preprocessor: what runs on the text before it is parsed. It drops
// '//! novjass', '//! zinc' and '//! inject' blocks, pastes '//! import'ed
// files, collects '//! textmacro' definitions and expands '//! runtextmacro'
// lines with their arguments. Every line it writes keeps where it came from,
// so a diagnostic on the written text points back into the sources.
namespace Analysis {

// Where a line of the written text comes from. A source's own line keeps its
// number and columns; a line a textmacro or an import brought in shows at the
// directive that brought it and names its own place (`text`, `textLine`).
struct LineOrigin {
    int line = 1; // line of the source
    int column = 0; // 0 for the source's own line, else where the directive begins
    int length = 0; // of the directive
    int macro = -1; // the textmacro whose body holds the line
    int text = -1; // the file that holds the line, index into Preprocessed::texts, when not the source itself
    int textLine = 0; // the line there
};

struct TextMacro {
    QByteArray name;
    std::vector<QByteArray> parameters;
    std::vector<QByteArray> body;
    int text = 0; // the file it is written in, index into Preprocessed::texts
    int line = 0; // of its '//! textmacro' line in that file
    int lastLine = 0; // of its '//! endtextmacro'
    LineOrigin origin; // where the definition shows in a source
    int source = 0;
    bool once = false;
};

struct PreprocessedSource {
    QByteArray text;
    std::vector<LineOrigin> lines; // one per line of `text`; empty when they are the source's own
};

struct Preprocessed {
    std::vector<PreprocessedSource> sources;
    std::vector<TextMacro> macros;
    QStringList texts; // the sources' names first, then the imported files
    QList<Diagnostic> diagnostics; // already in source coordinates
    // What the passed-over Zinc declares for the rest: its libraries and its
    // public functions, structs and globals, known by name only.
    std::vector<QByteArray> zincLibraries;
    std::vector<QByteArray> zincNames;
    QStringList missingMacros; // run but defined nowhere
};

// Whether a script uses a vJASS construct, from a quick look at its line starts.
[[nodiscard]] bool UsesVjass(const QByteArray &text);

[[nodiscard]] Preprocessed Preprocess(const QList<Source> &sources, const FileReader &read);

// A diagnostic on the written text of its source, moved to the source's own
// line; one inside a textmacro or an imported file names where it is.
void MapBack(const Preprocessed &preprocessed, Diagnostic &d);

} // namespace Analysis
