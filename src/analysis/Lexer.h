#pragma once

#include <cstdint>
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
enum LexProblem { BadCharacter, OpenString, LongString, RawcodeSize, OpenRawcode, BadOctal, BadHex, NameEnd };

class Lexer {
public:
    Lexer(const char *data, int size, SymbolTable &symbols, LexReport report);
    Token Next();
    // Skips to the end of the line (not past it), for recovery after an error.
    void SkipLine();
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

    const char *data_;
    int size_;
    int pos_ = 0;
    int line_ = 1;
    int lineStart_ = 0;
    SymbolTable &symbols_;
    LexReport report_;
};

} // namespace Analysis
