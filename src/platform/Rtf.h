#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace FontStyle {
constexpr uint8_t Bold = 1;
constexpr uint8_t Italic = 2;
constexpr uint8_t Underline = 4;
} // namespace FontStyle

// How a character looks: colour (0x00BBGGRR or a named system colour), the
// FontStyle bits and the size in half points (0: the control's own size).
struct TextAttributes {
    uint32_t color = 0;
    uint8_t style = 0;
    uint16_t halfPoints = 0;

    friend bool operator==(const TextAttributes &, const TextAttributes &) = default;
};

struct StyleRun {
    int32_t length = 0;
    TextAttributes attributes;

    friend bool operator==(const StyleRun &, const StyleRun &) = default;
};

// The runs of one line, left to right. They cover the line; characters past
// the last run have the default attributes.
using LineRuns = std::vector<StyleRun>;

// Styled text as the rich-edit control holds it: the lines joined by '\n' and
// one run list per line.
struct RichText {
    QString text;
    std::vector<LineRuns> lines;
};

// Our reader and writer of the Rich Text Format.
namespace Rtf {

// A file is read as rich text when it starts with "{\rtf".
[[nodiscard]] bool LooksLikeRtf(const QByteArray &bytes);

// Reads a document: the text with, per character, the colour from the colour
// table, bold, italic, underline and the size (\fs, in half points; 24 when the
// document names none). Every paragraph mark ends its line; the document's final
// mark adds no line of its own. Our own documents close with one more mark, a
// line "\par }" after the last line's mark. Malformed input is read as far as
// it makes sense: the reader never fails.
[[nodiscard]] RichText Read(const QByteArray &rtf);

// Writes text and runs so that Read gives back the same text and attributes.
// Runs with halfPoints 0 are written at `defaultHalfPoints`.
[[nodiscard]] QByteArray Write(const RichText &document, int defaultHalfPoints);

// Appends `c` as rich text: '\', '{' and '}' escaped, CR and LF as \'hh (a
// reader drops them raw), other ASCII as it is, the rest of code page 1252 as
// \'hh and anything else as \uN?.
void AppendEscaped(QByteArray &out, QChar c);

} // namespace Rtf
