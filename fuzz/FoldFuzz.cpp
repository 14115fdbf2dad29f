// The fold levels of any script, read line by line: every depth within the
// range the view takes, a line that opens a block leaves one more open, and a
// line never lies deeper than the blocks the line before left open.
#include "FuzzSupport.h"

#include "editor/FoldLevels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    int state = 0;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find_first_of("\r\n", from);
        if (end == std::string_view::npos)
            end = text.size();
        const int before = FoldLevels::DepthAfter(state);
        const FoldLevels::LineFold fold = FoldLevels::ReadLine(text.substr(from, end - from), state);
        const int after = FoldLevels::DepthAfter(state);
        Fuzz::Require(fold.depth >= 0 && fold.depth <= before, "a line lies in the blocks open before it");
        Fuzz::Require(after >= 0 && after <= FoldLevels::kMaxDepth, "the depth stays in range");
        Fuzz::Require(fold.opens == (after > fold.depth), "a line opens a block when it leaves one more");
        Fuzz::Require(!FoldLevels::OpensFunction(state) || fold.opens, "a function's line opens it");
        from = end + 1;
    }
    return 0;
}
