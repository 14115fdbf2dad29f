#include "FoldLevels.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace FoldLevels {
namespace {

using View = std::string_view;

// The blocks whose lines are passed over unread, up to their end directive.
enum class Raw { None, NoVjass, TextMacro, Zinc };

// The state, packed: depth in bits 0-11, comment depth 12-19, the raw block
// 20-21, inside an interface 22; bit 23 marks a line that opens a function.
struct Unpacked {
    int depth = 0;
    int comment = 0;
    Raw raw = Raw::None;
    bool interface = false;
    bool function = false;

    explicit Unpacked(int state)
        : depth(state & 0xFFF)
        , comment((state >> 12) & 0xFF)
        , raw(Raw((state >> 20) & 3))
        , interface((state >> 22) & 1)
    {
    }

    [[nodiscard]] int Pack() const
    {
        return depth | comment << 12 | int(raw) << 20 | int(interface) << 22 | int(function) << 23;
    }
};

constexpr bool IsNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Blanks before a word; a byte order mark is one too.
size_t SkipBlanks(View line, size_t i)
{
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\f' || line[i] == '\v')
            ++i;
        else if (line.substr(i, 3) == "\xEF\xBB\xBF")
            i += 3;
        else
            break;
    }
    return i;
}

View WordAt(View line, size_t &i)
{
    const size_t from = i;
    while (i < line.size() && IsNameByte(line[i]))
        ++i;
    return line.substr(from, i - from);
}

// Walks a '/* */' comment `depth` deep from i; i ends after it or at the end.
void SkipComment(View line, size_t &i, int &depth)
{
    while (depth > 0 && i < line.size()) {
        const char c = line[i];
        const char n = i + 1 < line.size() ? line[i + 1] : '\0';
        if (c == '/' && n == '*') {
            depth = std::min(depth + 1, 255);
            i += 2;
        } else if (c == '*' && n == '/') {
            --depth;
            i += 2;
        } else {
            ++i;
        }
    }
}

// The comments the rest of a line opens, from i on: strings, rawcodes and
// '//' hide the delimiters.
void ReadRest(View line, size_t i, int &comment)
{
    if (!std::memchr(line.data() + i, '/', line.size() - i))
        return;
    while (i < line.size()) {
        const char c = line[i];
        if (comment > 0) {
            SkipComment(line, i, comment);
            continue;
        }
        const char n = i + 1 < line.size() ? line[i + 1] : '\0';
        if (c == '"' || c == '\'') {
            for (++i; i < line.size() && line[i] != c; ++i) {
                if (line[i] == '\\')
                    ++i;
            }
            ++i;
        } else if (c == '/' && n == '/') {
            return;
        } else if (c == '/' && n == '*') {
            comment = 1;
            i += 2;
        } else {
            ++i;
        }
    }
}

template<size_t N> bool OneOf(View word, const std::array<View, N> &words)
{
    return std::find(words.begin(), words.end(), word) != words.end();
}

constexpr std::array<View, 6> kModifiers { "private", "public", "static", "stub", "constant", "debug" };
constexpr std::array<View, 9> kOpeners { "globals", "if", "loop", "library", "library_once", "scope",
    "struct", "module", "interface" };
constexpr std::array<View, 10> kClosers { "endfunction", "endglobals", "endif", "endloop", "endlibrary",
    "endscope", "endstruct", "endmethod", "endmodule", "endinterface" };

enum class Effect { None, Opens, Closes, Reopens };

// A "//!" line: the block it opens or closes.
Effect Directive(View word, Unpacked &s)
{
    if (s.raw != Raw::None) {
        const bool ends = (s.raw == Raw::NoVjass && word == "endnovjass")
            || (s.raw == Raw::TextMacro && word == "endtextmacro")
            || (s.raw == Raw::Zinc && word == "endzinc");
        if (!ends)
            return Effect::None;
        s.raw = Raw::None;
        return Effect::Closes;
    }
    if (word == "textmacro" || word == "textmacro_once") {
        s.raw = Raw::TextMacro;
        return Effect::Opens;
    }
    if (word == "novjass") {
        s.raw = Raw::NoVjass;
        return Effect::Opens;
    }
    if (word == "zinc") {
        s.raw = Raw::Zinc;
        return Effect::Opens;
    }
    if (word == "inject")
        return Effect::Opens;
    if (word == "endinject")
        return Effect::Closes;
    return Effect::None;
}

// A line of code: the block its first word opens or closes.
Effect Statement(View line, size_t &i, Unpacked &s)
{
    View word = WordAt(line, i);
    while (OneOf(word, kModifiers)) {
        i = SkipBlanks(line, i);
        word = WordAt(line, i);
    }
    if (word == "function") {
        // "function interface" declares a type, and has no body.
        size_t next = SkipBlanks(line, i);
        if (WordAt(line, next) == "interface")
            return Effect::None;
        s.function = true;
        return Effect::Opens;
    }
    if (word == "method") {
        // An interface's methods are declarations.
        s.function = !s.interface;
        return s.interface ? Effect::None : Effect::Opens;
    }
    if (word == "else" || word == "elseif")
        return Effect::Reopens;
    if (OneOf(word, kOpeners)) {
        s.interface = s.interface || word == "interface";
        return Effect::Opens;
    }
    if (OneOf(word, kClosers)) {
        s.interface = s.interface && word != "endinterface";
        return Effect::Closes;
    }
    return Effect::None;
}

} // namespace

LineFold ReadLine(View line, int &state)
{
    Unpacked s(state);
    const int start = s.depth;
    Effect effect = Effect::None;
    size_t i = 0;
    if (s.raw != Raw::None) {
        i = SkipBlanks(line, i);
        if (line.substr(i, 3) == "//!") {
            i = SkipBlanks(line, i + 3);
            effect = Directive(WordAt(line, i), s);
        }
    } else {
        // Comments before the first word, and the comment the line before
        // left open.
        while (true) {
            SkipComment(line, i, s.comment);
            i = SkipBlanks(line, i);
            if (s.comment > 0 || line.substr(i, 2) != "/*")
                break;
            s.comment = 1;
            i += 2;
        }
        if (s.comment == 0 && i < line.size()) {
            if (line.substr(i, 3) == "//!") {
                i = SkipBlanks(line, i + 3);
                effect = Directive(WordAt(line, i), s);
            } else if (line.substr(i, 2) != "//") {
                effect = Statement(line, i, s);
                ReadRest(line, i, s.comment);
            }
        }
    }

    LineFold fold { start, false };
    switch (effect) {
    case Effect::None:
        break;
    case Effect::Opens:
        s.depth = std::min(start + 1, kMaxDepth);
        break;
    case Effect::Closes:
        s.depth = std::max(start - 1, 0);
        break;
    case Effect::Reopens:
        // Ends the block before at its own depth and opens the next; a stray
        // one just opens.
        fold.depth = std::max(start - 1, 0);
        s.depth = std::min(fold.depth + 1, kMaxDepth);
        break;
    }
    fold.opens = s.depth > fold.depth;
    s.function = s.function && fold.opens;
    state = s.Pack();
    return fold;
}

int DepthAfter(int state)
{
    return Unpacked(state).depth;
}

bool OpensFunction(int state)
{
    return (state >> 23) & 1;
}

} // namespace FoldLevels
