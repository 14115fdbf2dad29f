// Folding: the levels come from the subclass, lazily as lines are shown or
// folded; hiding and showing lines is the view's own.

#include "RichEdit.h"

#include <algorithm>

namespace {

// The view's third margin, after the line numbers and the (unused) symbols.
constexpr int kFoldMargin = 2;

bool IsHeader(long level)
{
    return (level & QsciScintillaBase::SC_FOLDLEVELHEADERFLAG) != 0;
}

} // namespace

void TRichEdit::FoldLines(int first, int last)
{
    for (int line = first; line <= last; ++line)
        SendScintilla(SCI_SETFOLDLEVEL, ulong(line), long(SC_FOLDLEVELBASE));
}

void TRichEdit::ensureFolded(int last) const
{
    completeEdit();
    last = std::min(last, lineCount() - 1);
    if (!m_folding || m_foldingLines || last < m_foldFrom)
        return;
    m_foldingLines = true;
    // The view mends the folds a change of levels breaks, at a cost for
    // every block that appears; with nothing folded there is nothing to mend.
    const bool allShown = SendScintilla(SCI_GETALLLINESVISIBLE) != 0;
    if (allShown)
        SendScintilla(SCI_SETAUTOMATICFOLD, ulong(SC_AUTOMATICFOLD_SHOW));
    const_cast<TRichEdit *>(this)->FoldLines(m_foldFrom, last);
    if (allShown)
        SendScintilla(SCI_SETAUTOMATICFOLD, ulong(SC_AUTOMATICFOLD_SHOW | SC_AUTOMATICFOLD_CHANGE));
    m_foldFrom = last + 1;
    m_foldingLines = false;
}

void TRichEdit::setFolding(bool on)
{
    if (on == m_folding)
        return;
    m_folding = on;
    if (!on) {
        SendScintilla(SCI_SHOWLINES, 0UL, long(lineCount() - 1));
        SendScintilla(SCI_SETMARGINWIDTHN, ulong(kFoldMargin), 0L);
        return;
    }
    m_foldFrom = 0;
    SendScintilla(SCI_SETMARGINTYPEN, ulong(kFoldMargin), long(SC_MARGIN_SYMBOL));
    SendScintilla(SCI_SETMARGINMASKN, ulong(kFoldMargin), long(SC_MASK_FOLDERS));
    SendScintilla(SCI_SETMARGINSENSITIVEN, ulong(kFoldMargin), 1L);
    SendScintilla(SCI_SETMARGINCURSORN, ulong(kFoldMargin), long(SC_CURSORARROW));
    // A box with a plus or a minus on a block's first line, a line down its
    // length and a corner at its end.
    const std::pair<int, int> markers[] = { { SC_MARKNUM_FOLDEROPEN, SC_MARK_BOXMINUS },
        { SC_MARKNUM_FOLDER, SC_MARK_BOXPLUS }, { SC_MARKNUM_FOLDERSUB, SC_MARK_VLINE },
        { SC_MARKNUM_FOLDERTAIL, SC_MARK_LCORNER }, { SC_MARKNUM_FOLDEREND, SC_MARK_BOXPLUSCONNECTED },
        { SC_MARKNUM_FOLDEROPENMID, SC_MARK_BOXMINUSCONNECTED },
        { SC_MARKNUM_FOLDERMIDTAIL, SC_MARK_TCORNER } };
    for (const auto &[number, symbol] : markers)
        SendScintilla(SCI_MARKERDEFINE, ulong(number), long(symbol));
    // Margin clicks are ours: a fold that hides the caret moves it.
    SendScintilla(SCI_SETAUTOMATICFOLD, ulong(SC_AUTOMATICFOLD_SHOW | SC_AUTOMATICFOLD_CHANGE));
    SendScintilla(SCI_SETFOLDFLAGS, ulong(SC_FOLDFLAG_LINEAFTER_CONTRACTED));
    updateFoldMargin();
    resetEndStyled();
    viewport()->update();
}

// The margin's width follows the line height, so it grows with the zoom.
void TRichEdit::updateFoldMargin()
{
    if (!m_folding)
        return;
    const QPalette p = palette();
    for (int number = int(SC_MARKNUM_FOLDEREND); number <= int(SC_MARKNUM_FOLDEROPEN); ++number) {
        SendScintilla(SCI_MARKERSETFORE, ulong(number), p.color(QPalette::Base));
        SendScintilla(SCI_MARKERSETBACK, ulong(number), p.color(QPalette::Dark));
    }
    SendScintilla(SCI_SETFOLDMARGINCOLOUR, 1UL, p.color(QPalette::Window));
    SendScintilla(SCI_SETFOLDMARGINHICOLOUR, 1UL, p.color(QPalette::Window));
    const int height = int(SendScintilla(SCI_TEXTHEIGHT, 0UL));
    SendScintilla(SCI_SETMARGINWIDTHN, ulong(kFoldMargin), long(std::max(12, height)));
}

void TRichEdit::foldMarginClick(int position, int margin)
{
    if (!m_folding || margin != kFoldMargin)
        return;
    const int line = int(SendScintilla(SCI_LINEFROMPOSITION, ulong(position)));
    ensureFolded(line);
    if (IsHeader(SendScintilla(SCI_GETFOLDLEVEL, ulong(line))) && !unfold(line))
        fold(line);
}

bool TRichEdit::fold(int line)
{
    if (!m_folding || line < 0 || line >= lineCount())
        return false;
    ensureFolded(line);
    long header = line;
    if (!IsHeader(SendScintilla(SCI_GETFOLDLEVEL, ulong(header))))
        header = SendScintilla(SCI_GETFOLDPARENT, ulong(header));
    while (header >= 0 && SendScintilla(SCI_GETFOLDEXPANDED, ulong(header)) == 0)
        header = SendScintilla(SCI_GETFOLDPARENT, ulong(header));
    if (header < 0)
        return false;
    // The view finds the block's end, asking for the levels on the way.
    SendScintilla(SCI_FOLDLINE, ulong(header), long(SC_FOLDACTION_CONTRACT));
    keepCaretShown();
    FlushNotifications();
    return true;
}

bool TRichEdit::unfold(int line)
{
    if (!m_folding || line < 0 || line >= lineCount())
        return false;
    ensureFolded(line);
    if (!isFolded(line))
        return false;
    SendScintilla(SCI_FOLDLINE, ulong(line), long(SC_FOLDACTION_EXPAND));
    return true;
}

bool TRichEdit::isFolded(int line) const
{
    return m_folding && IsHeader(SendScintilla(SCI_GETFOLDLEVEL, ulong(line)))
        && SendScintilla(SCI_GETFOLDEXPANDED, ulong(line)) == 0;
}

bool TRichEdit::isLineShown(int line) const
{
    return SendScintilla(SCI_GETLINEVISIBLE, ulong(line)) != 0;
}

void TRichEdit::showLine(long line)
{
    if (!m_folding || SendScintilla(SCI_GETLINEVISIBLE, ulong(line)) != 0)
        return;
    ensureFolded(int(line));
    SendScintilla(SCI_ENSUREVISIBLE, ulong(line));
}

void TRichEdit::keepCaretShown()
{
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const long anchor = SendScintilla(SCI_GETANCHOR);
    const long line = SendScintilla(SCI_LINEFROMPOSITION, ulong(caret));
    const long anchorLine = SendScintilla(SCI_LINEFROMPOSITION, ulong(anchor));
    if (isLineShown(int(line)) && isLineShown(int(anchorLine)))
        return;
    // A hidden line sits just after the line shown above it.
    long to = line;
    if (!isLineShown(int(line)))
        to = SendScintilla(
            SCI_DOCLINEFROMVISIBLE, ulong(SendScintilla(SCI_VISIBLEFROMDOCLINE, ulong(line)) - 1));
    SendScintilla(SCI_GOTOPOS, ulong(SendScintilla(SCI_POSITIONFROMLINE, ulong(to))));
}

void TRichEdit::foldWhere(const std::function<bool(int)> &folds)
{
    if (!m_folding)
        return;
    const int count = lineCount();
    // Every level set and every block folded asks for a repaint of the
    // margin: one repaint at the end.
    viewport()->setUpdatesEnabled(false);
    ensureFolded(count - 1);
    auto levelOf = [this](long line) { return SendScintilla(SCI_GETFOLDLEVEL, ulong(line)); };
    auto depthOf = [&](long line) { return levelOf(line) & SC_FOLDLEVELNUMBERMASK; };
    // Folding each block alone recounts the lines shown every time; the
    // view folds every outermost block at once, and those not accepted open
    // again, unless they were folded before.
    std::vector<long> folded;
    for (long line = SendScintilla(SCI_CONTRACTEDFOLDNEXT, 0UL); line >= 0;
         line = SendScintilla(SCI_CONTRACTEDFOLDNEXT, ulong(line + 1)))
        folded.push_back(line);
    // The view asks for no styles while it looks for the ends of blocks.
    SendScintilla(SCI_STARTSTYLING, ulong(SendScintilla(SCI_GETLENGTH)), 0L);
    SendScintilla(SCI_FOLDALL, ulong(SC_FOLDACTION_CONTRACT));
    for (long line = 0; line < count;) {
        const long level = levelOf(line);
        if (!IsHeader(level)) {
            ++line;
            continue;
        }
        const long depth = level & SC_FOLDLEVELNUMBERMASK;
        long end = line + 1;
        while (end < count && depthOf(end) > depth)
            ++end;
        const bool outermost = depth == SC_FOLDLEVELBASE;
        if (folds(int(line))) {
            if (!outermost && end - 1 > line) {
                SendScintilla(SCI_SETFOLDEXPANDED, ulong(line), 0L);
                SendScintilla(SCI_HIDELINES, ulong(line + 1), long(end - 1));
            }
            line = end;
            continue;
        }
        if (outermost && !std::binary_search(folded.begin(), folded.end(), line))
            SendScintilla(SCI_FOLDLINE, ulong(line), long(SC_FOLDACTION_EXPAND));
        // Blocks inside one not shown are left alone.
        line = isLineShown(int(line)) && !isFolded(int(line)) ? line + 1 : end;
    }
    resetEndStyled();
    viewport()->setUpdatesEnabled(true);
    keepCaretShown();
    FlushNotifications();
}
