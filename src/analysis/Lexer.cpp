#include "Lexer.h"

#include <QtGlobal>

#include <cstring>

namespace Analysis {

namespace {

struct Keyword {
    const char *text;
    Tok kind;
};

const Keyword Keywords[] = {
    { "type", Tok::Type },
    { "extends", Tok::Extends },
    { "globals", Tok::Globals },
    { "endglobals", Tok::Endglobals },
    { "constant", Tok::Constant },
    { "native", Tok::Native },
    { "function", Tok::Function },
    { "takes", Tok::Takes },
    { "returns", Tok::Returns },
    { "nothing", Tok::Nothing },
    { "endfunction", Tok::Endfunction },
    { "local", Tok::Local },
    { "array", Tok::Array },
    { "set", Tok::Set },
    { "call", Tok::Call },
    { "if", Tok::If },
    { "then", Tok::Then },
    { "elseif", Tok::Elseif },
    { "else", Tok::Else },
    { "endif", Tok::Endif },
    { "loop", Tok::Loop },
    { "exitwhen", Tok::Exitwhen },
    { "endloop", Tok::Endloop },
    { "return", Tok::Return },
    { "debug", Tok::Debug },
    { "and", Tok::And },
    { "or", Tok::Or },
    { "not", Tok::Not },
    { "true", Tok::True },
    { "false", Tok::False },
    { "null", Tok::Null },
    { "alias", Tok::Alias },
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsHex(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
// What may follow a backslash in a string or rawcode.
bool IsEscape(char c)
{
    return c != '\0' && std::strchr("btnfr\"'\\", c);
}
bool IsForbidden(char c)
{
    return c == '\0' || c == '\xFF';
}

} // namespace

SymbolTable::SymbolTable()
{
    slots_.assign(4096, Slot());
    symbols_.reserve(2048);
    for (const Keyword &k : Keywords) {
        const int symbol = Intern(k.text);
        symbols_[symbol].keyword = k.kind;
        for (Slot &slot : slots_) {
            if (slot.symbol == symbol + 1)
                slot.keyword = k.kind;
        }
    }
}

std::uint32_t SymbolTable::Hash(std::string_view name)
{
    // Eight bytes a step: names are long (prefixes like "udg_", "gg_trg_").
    std::uint64_t h = name.size() * 0x9E3779B97F4A7C15ull;
    size_t i = 0;
    for (; i + 8 <= name.size(); i += 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, name.data() + i, 8);
        h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, name.data() + i, name.size() - i);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    return std::uint32_t(h ^ (h >> 29));
}

bool SymbolTable::Matches(const Slot &slot, std::uint32_t hash, std::string_view name) const
{
    if (slot.hash != hash || slot.length != name.size())
        return false;
    // Short names are compared in the slot itself, sparing a trip to the text.
    if (name.size() <= sizeof slot.text)
        return std::memcmp(slot.text, name.data(), name.size()) == 0;
    return symbols_[size_t(slot.symbol - 1)].name == name;
}

int SymbolTable::Find(std::string_view name) const
{
    const std::uint32_t h = Hash(name);
    const size_t mask = slots_.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
        const Slot &slot = slots_[i];
        if (slot.symbol == 0)
            return -1;
        if (Matches(slot, h, name))
            return slot.symbol - 1;
    }
}

int SymbolTable::Intern(std::string_view name, Tok *keyword)
{
    const std::uint32_t h = Hash(name);
    const size_t mask = slots_.size() - 1;
    size_t i = h & mask;
    for (;; i = (i + 1) & mask) {
        const Slot &slot = slots_[i];
        if (slot.symbol == 0)
            break;
        if (Matches(slot, h, name)) {
            if (keyword)
                *keyword = slot.keyword;
            return slot.symbol - 1;
        }
    }
    if (keyword)
        *keyword = Tok::Name;
    Symbol s;
    s.name = name;
    symbols_.push_back(s);
    Slot &slot = slots_[i];
    slot.hash = h;
    slot.symbol = int(symbols_.size());
    slot.length = std::uint32_t(name.size());
    std::memcpy(slot.text, name.data(), qMin(name.size(), sizeof slot.text));
    if (symbols_.size() * 2 > slots_.size())
        Grow();
    return int(symbols_.size()) - 1;
}

void SymbolTable::Reserve(size_t names)
{
    while (names * 2 > slots_.size())
        Grow();
    symbols_.reserve(names);
}

void SymbolTable::Grow()
{
    std::vector<Slot> slots(slots_.size() * 2, Slot());
    const size_t mask = slots.size() - 1;
    for (const Slot &slot : slots_) {
        if (slot.symbol == 0)
            continue;
        size_t i = slot.hash & mask;
        while (slots[i].symbol != 0)
            i = (i + 1) & mask;
        slots[i] = slot;
    }
    slots_.swap(slots);
}

Lexer::Lexer(const char *data, int size, SymbolTable &symbols, LexReport report)
    : data_(data)
    , size_(size)
    , symbols_(symbols)
    , report_(std::move(report))
{
    // A byte order mark is whitespace that takes no column.
    if (size_ >= 3 && std::memcmp(data_, "\xEF\xBB\xBF", 3) == 0) {
        pos_ = 3;
        lineStart_ = 3;
    }
}

namespace {

// The bytes where the skipping of a line has something to decide.
struct StopBytes {
    bool table[256] = {};
    constexpr StopBytes()
    {
        for (const unsigned char c : { '\n', '\r', '"', '\'', '/' })
            table[c] = true;
    }
};
constexpr StopBytes Stop;

} // namespace

void Lexer::SkipRest()
{
    // Most lines hold no literal and no comment: straight to their end.
    {
        const char *p = data_ + pos_;
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(size_ - pos_)));
        const size_t n = size_t((lf ? lf : data_ + size_) - p);
        if (!std::memchr(p, '"', n) && !std::memchr(p, '\'', n) && !std::memchr(p, '/', n)) {
            const char *cr = static_cast<const char *>(std::memchr(p, '\r', n));
            pos_ = int((cr ? cr : p + n) - data_);
            return;
        }
    }
    while (pos_ < size_) {
        while (pos_ < size_ && !Stop.table[std::uint8_t(data_[pos_])])
            ++pos_;
        if (pos_ >= size_)
            return;
        const char c = data_[pos_];
        if (c == '\n' || c == '\r')
            return;
        const char n = pos_ + 1 < size_ ? data_[pos_ + 1] : '\0';
        if (c == '/' && n == '/') {
            SkipLine();
            return;
        }
        if (c == '/' && n == '*' && vjass_) {
            SkipBlockComment();
        } else if (c == '"' || c == '\'') {
            // A string may run over lines; a rawcode ends with its line.
            for (++pos_; pos_ < size_ && data_[pos_] != c; ++pos_) {
                if (data_[pos_] == '\\' && pos_ + 1 < size_ && data_[pos_ + 1] != '\n'
                    && data_[pos_ + 1] != '\r')
                    ++pos_;
                else if (data_[pos_] == '\n' || data_[pos_] == '\r') {
                    if (c == '\'')
                        return;
                    NewLine();
                    --pos_;
                }
            }
            if (pos_ < size_)
                ++pos_;
        } else {
            ++pos_;
        }
    }
}

void Lexer::SkipLines(bool (*stop)(std::string_view word))
{
    while (pos_ < size_) {
        const int lineStart = pos_;
        const int lineNumber = line_;
        while (pos_ < size_ && (data_[pos_] == ' ' || data_[pos_] == '\t'))
            ++pos_;
        if (pos_ >= size_)
            return;
        const char c = data_[pos_];
        if (c == '\n' || c == '\r') {
            NewLine();
            continue;
        }
        const bool comment = c == '/' && pos_ + 1 < size_ && data_[pos_ + 1] == '/';
        if (!comment) {
            if (!(Detail::IsLetter(c) || (vjass_ && c == '_'))) {
                Seek(lineStart, lineNumber, lineStart);
                return;
            }
            const int from = pos_;
            while (pos_ < size_ && Detail::NameByte.table[std::uint8_t(data_[pos_])])
                ++pos_;
            if (stop(std::string_view(data_ + from, size_t(pos_ - from)))) {
                Seek(lineStart, lineNumber, lineStart);
                return;
            }
        }
        SkipRest();
        if (pos_ < size_)
            NewLine();
    }
}

// A '/* */' comment, nested ones inside; its line breaks count as lines but
// do not end the statement.
void Lexer::SkipBlockComment()
{
    const int line = line_;
    const int column = pos_ - lineStart_ + 1;
    int depth = 0;
    while (pos_ < size_) {
        const char c = data_[pos_];
        if (c == '/' && pos_ + 1 < size_ && data_[pos_ + 1] == '*') {
            ++depth;
            pos_ += 2;
        } else if (c == '*' && pos_ + 1 < size_ && data_[pos_ + 1] == '/') {
            pos_ += 2;
            if (--depth == 0)
                return;
        } else if (c == '\n' || c == '\r') {
            NewLine();
        } else {
            ++pos_;
        }
    }
    report_(line, column, 2, OpenComment, 0);
}

Token Lexer::Number(int begin, int column)
{
    Tok kind = Tok::Integer;
    bool zero = true;
    const auto digits = [this, &zero](bool (*accept)(char)) {
        const int from = pos_;
        while (pos_ < size_ && accept(data_[pos_])) {
            zero = zero && data_[pos_] == '0';
            ++pos_;
        }
        return pos_ - from;
    };
    const char c = data_[pos_];
    if (c == '$' || (c == '0' && pos_ + 1 < size_ && (data_[pos_ + 1] == 'x' || data_[pos_ + 1] == 'X'))) {
        pos_ += c == '$' ? 1 : 2;
        if (digits(IsHex) == 0)
            report_(line_, column, pos_ - begin, BadHex, 0);
    } else {
        digits(IsDigit);
        if (pos_ < size_ && data_[pos_] == '.') {
            kind = Tok::Real;
            ++pos_;
            digits(IsDigit);
        } else if (data_[begin] == '0') {
            for (int i = begin; i < pos_; ++i) {
                if (data_[i] > '7') {
                    report_(line_, column, pos_ - begin, BadOctal, 0);
                    break;
                }
            }
        }
    }
    Token t = Make(kind, begin, line_, column);
    t.zero = zero;
    return t;
}

// Reports each NUL and FF byte of the comment from pos_ to `stop`.
void Lexer::ForbiddenInComment(const char *stop)
{
    int line = line_;
    int lineStart = lineStart_;
    for (int i = pos_; i < int(stop - data_); ++i) {
        if (data_[i] == '\r') {
            ++line;
            lineStart = i + 1;
        } else if (IsForbidden(data_[i])) {
            report_(line, i - lineStart + 1, 1, ByteInComment, i);
        }
    }
}

Token Lexer::Quoted(char quote, int begin, int column)
{
    const int line = line_;
    const int lineStart = lineStart_;
    ++pos_;
    int count = 0;
    int escapes = 0;
    // Problems inside the literal count only once it is closed: an open one
    // is read again as code from the end of its first line.
    struct Problem {
        int line, column, length, kind, value;
    };
    std::vector<Problem> problems;
    const int byteKind = quote == '"' ? ByteInString : ByteInRawcode;
    for (;;) {
        if (pos_ >= size_ || (quote == '\'' && AtLineEnd())) {
            // Recover at the end of the opening line, so the lines below still count.
            if (line_ != line) {
                pos_ = begin;
                line_ = line;
                lineStart_ = lineStart;
            }
            SkipLine();
            report_(line, column, pos_ - begin, quote == '"' ? OpenString : OpenRawcode, 0);
            return Make(Tok::Bad, begin, line, column);
        }
        const char c = data_[pos_];
        if (c == quote) {
            ++pos_;
            break;
        }
        if (c == '\\' && pos_ + 1 < size_ && data_[pos_ + 1] != '\n' && data_[pos_ + 1] != '\r') {
            const int at = pos_;
            pos_ += 2;
            ++escapes;
            if (IsForbidden(data_[at + 1])) {
                problems.push_back({ line_, at - lineStart_ + 2, 1, byteKind, at + 1 });
            } else if (!IsEscape(data_[at + 1])) {
                // An unknown escape is shown with the whole character it escapes.
                while (pos_ < size_ && (std::uint8_t(data_[pos_]) & 0xC0) == 0x80)
                    ++pos_;
                problems.push_back({ line_, at - lineStart_ + 1, pos_ - at, UnknownEscape, at });
            }
        } else if (c == '\n' || c == '\r') {
            NewLine();
        } else {
            if (c == '\\' && pos_ + 1 < size_)
                problems.push_back({ line_, pos_ - lineStart_ + 1, 1, EscapeAtLineEnd, 0 });
            else if (IsForbidden(c))
                problems.push_back({ line_, pos_ - lineStart_ + 1, 1, byteKind, pos_ });
            ++pos_;
        }
        ++count;
    }
    Token t = Make(quote == '"' ? Tok::String : Tok::Rawcode, begin, line, column);
    for (const Problem &p : problems)
        report_(p.line, p.column, p.length, p.kind, p.value);
    if (quote == '"' && count > 1023)
        report_(line, column, t.length, LongString, count);
    // An escape stands for a rawcode of one character only.
    if (quote == '\'' && problems.empty() && escapes > 0 && count != 1)
        report_(line, column, t.length, RawcodeEscape, 0);
    else if (quote == '\'' && problems.empty() && count != 1 && count != 4)
        report_(line, column, t.length, RawcodeSize, count);
    return t;
}

} // namespace Analysis
