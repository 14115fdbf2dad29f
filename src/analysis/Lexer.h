#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

// The lexer of the analysis: tokens straight from the bytes of a source, names
// interned in a flat table so the checker compares symbol numbers, never text.
namespace Analysis {

enum class Tok : std::uint8_t {
    End,
    Newline,
    Name,
    Integer,
    Real,
    String,
    Rawcode,
    Bad, // already reported by the lexer
    // keywords
    Type,
    Extends,
    Globals,
    Endglobals,
    Constant,
    Native,
    Function,
    Takes,
    Returns,
    Nothing,
    Endfunction,
    Local,
    Array,
    Set,
    Call,
    If,
    Then,
    Elseif,
    Else,
    Endif,
    Loop,
    Exitwhen,
    Endloop,
    Return,
    Debug,
    And,
    Or,
    Not,
    True,
    False,
    Null,
    Alias, // reserved, though the language has no use for it
    // punctuation
    LParen,
    RParen,
    LBracket,
    RBracket,
    Comma,
    Assign,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    Plus,
    Minus,
    Star,
    Slash,
    Percent,
    Dot, // vJASS only: a member access
    Colon, // vJASS only: "i:A" is "A[i]"
};

struct Token {
    Tok kind = Tok::End;
    int begin = 0; // byte offset in the source
    int length = 0;
    int line = 1;
    int column = 1;
    int symbol = -1; // names and keywords
    bool zero = false; // a number literal of value zero
};

// What a name means at the current point of the program. Types, functions and
// globals live as long as the analysis; a local is valid only while `localOwner`
// is the function being checked, so leaving a function needs no clean-up.
struct Symbol {
    std::string_view name;
    Tok keyword = Tok::Name;
    int type = -1;
    int function = -1;
    int global = -1;
    int local = -1;
    int localOwner = -1;
    int undeclaredEpoch = -1; // the function that reported the name undeclared
    int module = -1; // vJASS: the module of that name
    int placeholder = -1; // vJASS: a 'keyword' declared it, for something declared later
};

class SymbolTable {
public:
    SymbolTable();
    // The symbol of a name; the view must outlive the table.
    int Intern(std::string_view name, Tok *keyword = nullptr);
    int Find(std::string_view name) const;
    // Room for this many names without growing on the way.
    void Reserve(size_t names);
    Symbol &operator[](int symbol) { return symbols_[symbol]; }
    const Symbol &operator[](int symbol) const { return symbols_[symbol]; }

private:
    // One probe touches one slot: hash, symbol + 1 (0 when empty) and the
    // name itself when it is short.
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t symbol = 0;
        std::uint32_t length = 0;
        Tok keyword = Tok::Name;
        char text[19] = {};
    };

    static std::uint32_t Hash(std::string_view name);
    bool Matches(const Slot &slot, std::uint32_t hash, std::string_view name) const;
    void Grow();

    std::vector<Symbol> symbols_;
    std::vector<Slot> slots_;
};

using LexReport = std::function<void(int line, int column, int length, int kind, int value)>;

// Lexer problems; the checker turns them into messages.
enum LexProblem {
    BadCharacter,
    OpenString,
    LongString,
    RawcodeSize,
    OpenRawcode,
    BadOctal,
    BadHex,
    NameEnd,
    UnknownEscape,
    RawcodeEscape,
    EscapeAtLineEnd,
    // NUL and the byte FF, which the game refuses even in a literal or a comment
    ByteInString,
    ByteInRawcode,
    ByteInComment,
    OpenComment,
};

class Lexer {
public:
    Lexer(const char *data, int size, SymbolTable &symbols, LexReport report);
    Token Next();
    // Skips to the end of the line (not past it), for recovery after an error.
    void SkipLine();
    // Skips a comment: it runs to the next LF, over a lone CR.
    void SkipComment();
    // vJASS: '/* */' comments, which nest and may span lines, and '.' for members.
    void SetVjass(bool on) { vjass_ = on; }
    // Passes over the rest of the line as Next would, without making its
    // tokens: for lines that are read again later.
    void SkipRest();
    // The name that begins the rest of the line after blanks, without reading
    // it: empty when something else comes first.
    std::string_view PeekName() const;
    // From the start of a line, passes over whole lines, blank ones and
    // comments too, up to one that begins with something else than a word
    // or with a word `stop` accepts; the lexer is left at its start.
    void SkipLines(bool (*stop)(std::string_view word));
    // Goes on from `pos`, the first byte of line `line`, which begins at `lineStart`.
    void Seek(int pos, int line, int lineStart)
    {
        pos_ = pos;
        line_ = line;
        lineStart_ = lineStart;
    }
    int LineStart() const { return lineStart_; }
    std::string_view Text(const Token &t) const
    {
        return std::string_view(data_ + t.begin, size_t(t.length));
    }

private:
    bool AtLineEnd() const { return pos_ >= size_ || data_[pos_] == '\n' || data_[pos_] == '\r'; }
    void NewLine();
    Token Make(Tok kind, int begin, int line, int column) const;
    Token Number(int begin, int column);
    Token Quoted(char quote, int begin, int column);
    void ForbiddenInComment(const char *stop);
    void SkipBlockComment();

    const char *data_;
    int size_;
    int pos_ = 0;
    int line_ = 1;
    int lineStart_ = 0;
    SymbolTable &symbols_;
    LexReport report_;
    bool vjass_ = false;
};

// The hot path is here so the parser's calls inline.
namespace Detail {
// Bytes that continue a name, looked up rather than compared in the hot loop.
struct NameBytes {
    bool table[256] = {};
    constexpr NameBytes()
    {
        for (int c = 0; c < 256; ++c)
            table[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    }
};
inline constexpr NameBytes NameByte;
constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
constexpr bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
} // namespace Detail

inline std::string_view Lexer::PeekName() const
{
    int p = pos_;
    while (p < size_ && (data_[p] == ' ' || data_[p] == '\t'))
        ++p;
    const int from = p;
    if (p >= size_ || !(Detail::IsLetter(data_[p]) || (vjass_ && data_[p] == '_')))
        return {};
    while (p < size_ && Detail::NameByte.table[std::uint8_t(data_[p])])
        ++p;
    return std::string_view(data_ + from, size_t(p - from));
}

inline void Lexer::NewLine()
{
    if (data_[pos_] == '\r' && pos_ + 1 < size_ && data_[pos_ + 1] == '\n')
        ++pos_;
    ++pos_;
    ++line_;
    lineStart_ = pos_;
}

inline Token Lexer::Make(Tok kind, int begin, int line, int column) const
{
    Token t;
    t.kind = kind;
    t.begin = begin;
    t.length = pos_ - begin;
    t.line = line;
    t.column = column;
    return t;
}

inline void Lexer::SkipLine()
{
    // A string left open on this line may not run on, or recovery would eat lines.
    // Comment lines are long: let memchr find the LF, then a CR before it.
    const char *p = data_ + pos_;
    const char *end = data_ + size_;
    const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
    if (!lf)
        lf = end;
    const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(lf - p)));
    pos_ = int((cr ? cr : lf) - data_);
    if (cr && cr + 1 != lf) {
        // A lone CR: a comment before it runs on over it.
        const size_t comment = std::string_view(p, size_t(cr - p)).find("//");
        if (comment != std::string_view::npos) {
            pos_ = int(p + comment - data_);
            SkipComment();
        }
    }
}

inline void Lexer::SkipComment()
{
    // The line ends at the LF, or at the CR of a CR LF. A lone CR before it ends
    // a line for the editor, whose line numbers the messages keep, but not the
    // comment: the game reads on to the LF.
    const char *p = data_ + pos_;
    const char *end = data_ + size_;
    const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
    const char *stop = !lf ? end : lf > p && lf[-1] == '\r' ? lf - 1 : lf;
    if (std::memchr(p, '\0', size_t(stop - p)) || std::memchr(p, '\xFF', size_t(stop - p)))
        ForbiddenInComment(stop);
    for (const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(stop - p))); cr;
         cr = static_cast<const char *>(std::memchr(cr + 1, '\r', size_t(stop - cr - 1)))) {
        ++line_;
        lineStart_ = int(cr + 1 - data_);
    }
    pos_ = int(stop - data_);
}

inline Token Lexer::Next()
{
    for (;;) {
        while (pos_ < size_ && (data_[pos_] == ' ' || data_[pos_] == '\t'))
            ++pos_;
        if (pos_ + 1 < size_ && data_[pos_] == '/') {
            if (data_[pos_ + 1] == '/') {
                SkipComment();
                continue;
            }
            if (vjass_ && data_[pos_ + 1] == '*') {
                SkipBlockComment();
                continue;
            }
        }
        // The game takes a byte order mark anywhere for a blank.
        if (pos_ + 2 < size_ && data_[pos_] == '\xEF' && data_[pos_ + 1] == '\xBB'
            && data_[pos_ + 2] == '\xBF') {
            pos_ += 3;
            continue;
        }
        break;
    }
    const int begin = pos_;
    const int column = pos_ - lineStart_ + 1;
    if (pos_ >= size_)
        return Make(Tok::End, begin, line_, column);
    const char c = data_[pos_];
    if (c == '\n' || c == '\r') {
        const int line = line_;
        NewLine();
        Token t = Make(Tok::Newline, begin, line, column);
        t.length = 1;
        return t;
    }
    if (Detail::IsLetter(c) || (vjass_ && c == '_')) {
        const char *p = data_ + pos_ + 1;
        const char *end = data_ + size_;
        while (p < end && Detail::NameByte.table[std::uint8_t(*p)])
            ++p;
        pos_ = int(p - data_);
        Token t = Make(Tok::Name, begin, line_, column);
        if (data_[pos_ - 1] == '_')
            report_(line_, column, t.length, NameEnd, begin);
        t.symbol = symbols_.Intern(Text(t), &t.kind);
        return t;
    }
    if (Detail::IsDigit(c) || c == '$' || (c == '.' && pos_ + 1 < size_ && Detail::IsDigit(data_[pos_ + 1])))
        return Number(begin, column);
    if (c == '"' || c == '\'')
        return Quoted(c, begin, column);
    ++pos_;
    const char n = pos_ < size_ ? data_[pos_] : '\0';
    Tok kind = Tok::Bad;
    switch (c) {
    case '(':
        kind = Tok::LParen;
        break;
    case ')':
        kind = Tok::RParen;
        break;
    case '[':
        kind = Tok::LBracket;
        break;
    case ']':
        kind = Tok::RBracket;
        break;
    case ',':
        kind = Tok::Comma;
        break;
    case '+':
        kind = Tok::Plus;
        break;
    case '-':
        kind = Tok::Minus;
        break;
    case '*':
        kind = Tok::Star;
        break;
    case '/':
        kind = Tok::Slash;
        break;
    case '%':
        kind = Tok::Percent;
        break;
    case '.':
        kind = vjass_ ? Tok::Dot : Tok::Bad;
        break;
    case ':':
        kind = vjass_ ? Tok::Colon : Tok::Bad;
        break;
    case '=':
        kind = n == '=' ? Tok::Eq : Tok::Assign;
        break;
    case '!':
        kind = n == '=' ? Tok::Ne : Tok::Bad;
        break;
    case '<':
        kind = n == '=' ? Tok::Le : Tok::Lt;
        break;
    case '>':
        kind = n == '=' ? Tok::Ge : Tok::Gt;
        break;
    default:
        break;
    }
    if (kind == Tok::Eq || kind == Tok::Ne || kind == Tok::Le || kind == Tok::Ge)
        ++pos_;
    if (kind == Tok::Bad) {
        // A UTF-8 sequence is one character to the reader.
        while (pos_ < size_ && (std::uint8_t(data_[pos_]) & 0xC0) == 0x80 && (std::uint8_t(c) & 0x80))
            ++pos_;
        report_(line_, column, pos_ - begin, BadCharacter, begin);
    }
    return Make(kind, begin, line_, column);
}

} // namespace Analysis
