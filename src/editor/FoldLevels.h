#pragma once

#include <string_view>

// Where the blocks of a JASS or vJASS script begin and end, line by line, for
// folding. A block opens at a line whose first word, after modifiers such as
// `private` or `static`, is `function`, `globals`, `if`, `loop`, `library`,
// `scope`, `struct`, `method`, `interface` or `module`, and ends at its
// closing word; `elseif` and `else` end one block and open the next. A
// `//! textmacro`, `//! novjass` or `//! zinc` block is one block whose lines
// are not read; `//! inject` blocks are read. Words in `/* */` comments (which
// nest) and after `//` do not count.
//
// Each line is read from the state the line before it left, so reading can
// resume at any line whose previous state was kept.
namespace FoldLevels {

// The deepest nesting counted; deeper blocks fold with their parent.
constexpr int kMaxDepth = 3000;

struct LineFold {
    // The blocks the line lies in. A line that opens a block lies outside
    // it; the line that closes it lies inside.
    int depth = 0;
    // The line opens a block.
    bool opens = false;
};

// Reads one line (its bytes, without the line break). `state` is what the
// line before left (0 before the first line) and becomes what this line
// leaves; it fits the view's per-line integer.
LineFold ReadLine(std::string_view line, int &state);

// The blocks open after the line that left `state`.
[[nodiscard]] int DepthAfter(int state);
// Whether the line that left `state` opens a function or a method.
[[nodiscard]] bool OpensFunction(int state);

} // namespace FoldLevels
