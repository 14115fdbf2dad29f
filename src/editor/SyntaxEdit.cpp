#include "SyntaxEdit.h"

#include "FoldLevels.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocumentFragment>

#include <algorithm>

namespace {

// Marks the bracket in the match class; the view's indicators 8 and 9 are the
// check's marks.
constexpr int kMatchIndicator = QsciScintillaBase::INDIC_CONTAINER + 2;

// Collects a line's tokens as styled ranges; whitespace keeps its style.
class RangeSink : public HighlightSink {
public:
    RangeSink(QByteArray &rtf, std::function<TextAttributes(const TSyntaxType &)> attributesOf)
        : m_rtf(rtf)
        , m_attributesOf(std::move(attributesOf))
    {
    }

    void Space(QStringView line, qsizetype start, qsizetype length) override
    {
        AppendRtfText(m_rtf, line.mid(start, length));
    }

    void Token(QStringView, qsizetype start, qsizetype length, TSyntaxType *wordClass) override
    {
        if (wordClass != m_lastClass) {
            m_lastClass = wordClass;
            m_lastAttributes = m_attributesOf(*wordClass);
        }
        ranges.push_back({ int(start), int(length), m_lastAttributes });
    }

    std::vector<TRichEdit::LineRange> ranges;

private:
    QByteArray &m_rtf;
    std::function<TextAttributes(const TSyntaxType &)> m_attributesOf;
    const TSyntaxType *m_lastClass = nullptr;
    TextAttributes m_lastAttributes;
};

} // namespace

TSyntaxEdit::TSyntaxEdit(QWidget *AOwner)
    : TRichEdit(AOwner)
    , m_marks(new MarkOverlay(*this))
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setPointSize(9);
    setFont(f);
    setHideSelection(true);
    SendScintilla(SCI_INDICSETSTYLE, ulong(kMatchIndicator), long(INDIC_HIDDEN));
}

void TSyntaxEdit::AddWords(const WordPairs &Words)
{
    m_engine.AddWords(Words);
}

TSyntaxType *TSyntaxEdit::FindWordClass(QStringView Word) const
{
    return m_engine.FindWordClass(Word);
}

void TSyntaxEdit::RebuildHighlighting()
{
    m_engine.RebuildCodes();
    HighlightAll();
}

template<typename PerLine> void TSyntaxEdit::ForEachLine(PerLine perLine) const
{
    // One copy of the whole text, cut into lines at the line breaks, costs
    // far less than a string per line.
    const QString all = text();
    qsizetype from = 0;
    const int count = lineCount();
    for (int i = 0; i < count; ++i) {
        qsizetype end = all.indexOf(QLatin1String("\r\n"), from);
        if (end < 0)
            end = all.size();
        perLine(i, QStringView(all).mid(from, end - from));
        from = end + 2;
    }
}

QByteArray TSyntaxEdit::HighlightDocument() const
{
    QByteArray out = m_engine.BeginDocument(textLength(), lineCount(), fontSize());
    ForEachLine([&](int, QStringView line) { m_engine.AppendLine(line, out); });
    m_engine.EndDocument(out);
    return out;
}

std::vector<LineRuns> TSyntaxEdit::HighlightRuns() const
{
    std::vector<LineRuns> runs(static_cast<size_t>(lineCount()));
    RunLineSink sink(m_engine.Builtins().Plain.get(), fontSize());
    ForEachLine([&](int i, QStringView line) { m_engine.LineToRuns(line, sink, runs[size_t(i)]); });
    return runs;
}

void TSyntaxEdit::HighlightAll()
{
    if (lineCount() == 0)
        return;
    m_highlighting = true;
    setMatch(-1);
    // The runs reading back HighlightDocument() would give, built directly:
    // writing and parsing the rich text of a large script costs more than
    // showing it. Each line's runs depend on that line alone unless the
    // plain class leaves codes open from one line to the next.
    if (m_engine.LinesIndependent())
        reloadStyledLater();
    else
        reloadRuns(HighlightRuns());
    m_highlighting = false;
    AllowInvalidate = true;
}

void TSyntaxEdit::StyleLines(int first, int last)
{
    RunLineSink sink(m_engine.Builtins().Plain.get(), fontSize());
    LineRuns runs;
    for (int l = first; l <= last; ++l) {
        m_engine.LineToRuns(line(l), sink, runs);
        setLineRuns(l, runs);
    }
}

void TSyntaxEdit::FoldLines(int first, int last)
{
    // What each line leaves, kept for the lines before the first whose level
    // is out of date: an edit makes those after it out of date anyway.
    if (m_foldStates.size() <= size_t(last))
        m_foldStates.resize(size_t(last) + 1);
    int state = first > 0 ? m_foldStates[size_t(first - 1)] : 0;
    const long from = SendScintilla(SCI_POSITIONFROMLINE, ulong(first));
    const long to = SendScintilla(SCI_GETLINEENDPOSITION, ulong(last));
    // Setting levels leaves the text where it is.
    const char *p = static_cast<const char *>(
        reinterpret_cast<void *>(SendScintilla(SCI_GETRANGEPOINTER, ulong(from), to - from)));
    const char *end = p + (to - from);
    for (int line = first; line <= last; ++line) {
        // Lines break where the view breaks them: at CR LF, LF or CR.
        const char *e = p;
        while (e < end && *e != '\n' && *e != '\r')
            ++e;
        const FoldLevels::LineFold fold = FoldLevels::ReadLine(std::string_view(p, size_t(e - p)), state);
        SendScintilla(SCI_SETFOLDLEVEL, ulong(line),
            long(SC_FOLDLEVELBASE + fold.depth) | (fold.opens ? long(SC_FOLDLEVELHEADERFLAG) : 0L));
        m_foldStates[size_t(line)] = state;
        if (e < end)
            p = e + (*e == '\r' && e + 1 < end && e[1] == '\n' ? 2 : 1);
    }
}

void TSyntaxEdit::FoldFunctions()
{
    foldWhere([this](int line) { return FoldLevels::OpensFunction(m_foldStates[size_t(line)]); });
}

TextAttributes TSyntaxEdit::AttributesOf(const TSyntaxType &type) const
{
    return { type.Color, type.Style, uint16_t(fontSize() * 2) };
}

std::pair<int, int> TSyntaxEdit::RestyleLine(int LineIndex, QByteArray &RtfText)
{
    RtfText.clear();
    if (LineIndex < 0 || LineIndex >= lineCount())
        return { 0, 0 };
    const QString text = line(LineIndex);
    RangeSink sink(RtfText, [this](const TSyntaxType &type) { return AttributesOf(type); });
    m_engine.ClassifyLine(text, sink);
    RtfText.append("\\par");
    if (sink.ranges.empty())
        return { 0, 0 };
    styleLine(LineIndex, sink.ranges);
    return { sink.ranges.back().start, sink.ranges.back().length };
}

void TSyntaxEdit::HighlightLine(int LineIndex, HighlightMode Mode, QByteArray &RtfText)
{
    if (Mode == HighlightMode::ToRtf) {
        RtfText.clear();
        m_engine.LineToRtf(line(LineIndex), RtfText);
        return;
    }
    const auto [start, length] = RestyleLine(LineIndex, RtfText);
    if (length > 0)
        select(lineIndex(LineIndex) + start, length);
}

void TSyntaxEdit::StyleRange(int Start, int Length, const TSyntaxType &Type)
{
    setRangeAttributes(Start, Length, AttributesOf(Type));
    select(Start, Length);
}

void TSyntaxEdit::Invalidate()
{
    if (AllowInvalidate)
        TRichEdit::Invalidate();
}

int TSyntaxEdit::matchPosition() const
{
    return findIndicator(kMatchIndicator);
}

void TSyntaxEdit::setMatch(int position)
{
    if (const int old = matchPosition(); old >= 0)
        clearIndicator(kMatchIndicator, old, 1);
    if (position >= 0)
        fillIndicator(kMatchIndicator, position, 1);
}

void TSyntaxEdit::Change()
{
    if (m_highlighting)
        return;
    // Taken before the owner's step, whose own edits report theirs.
    const auto [editFirst, editLast] = changedLines();
    TRichEdit::Change();
    if (!AutoHighlight)
        return;
    if (LoadingText) {
        HighlightAll();
        m_lastLineCount = lineCount();
        return;
    }

    const int caret = selStart();
    AllowInvalidate = false;
    m_highlighting = true;
    const int count = lineCount();
    const int length = textLength();
    auto lineOf = [&](int position) { return lineFromChar(std::clamp(position, 0, length)); };
    // The lines the edit touched, from the change of the line count and the
    // length of the text it replaced; a stale line count (the text replaced
    // without LoadingText) can point anywhere, and lines that do not exist are
    // skipped. Those numbers miss lines of some edits: the joined line when
    // Backspace or Delete removes a line break, the first line of a paste over
    // a selection of as many lines, an undo away from the caret. The caret's
    // line and the lines the edit itself spanned are therefore restyled too.
    const int removed = m_lastLineCount - count;
    const int caretLine = lineOf(caret);
    int first = caretLine;
    int last = caretLine;
    if (removed >= 0)
        last = std::max(last, lineOf(caret + m_previousSelLength) - removed);
    else
        first = std::min(first, lineOf(caret - m_previousSelLength) + removed);
    if (editFirst >= 0) {
        first = std::min(first, editFirst);
        last = std::max(last, editLast);
    }
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    QByteArray scratch;
    for (int l = first; l <= last; ++l)
        RestyleLine(l, scratch);
    // Once, after the lines: a mark on them keeps the match class.
    if (const int match = matchPosition(); match >= 0)
        setRangeAttributes(match, 1, AttributesOf(*Builtins().Match));

    if (selLength() != 0 || selStart() != caret) {
        setSelStart(caret);
        m_currentSelLength = 0;
    }
    // The next typed text is black and plain until it is restyled.
    setSelAttributes({ 0x000000, 0, uint16_t(fontSize() * 2) });
    m_lastLineCount = count;
    m_highlighting = false;
    if (isEnabled() && isVisible())
        setFocus();
    AllowInvalidate = true;
    Invalidate();
}

int TSyntaxEdit::FindMatch() const
{
    if (lineCount() <= 1 && textLength() < 2)
        return -1;
    const int start = selStart();
    const int lineNumber = lineFromChar(start);
    const int lineStart = lineIndex(lineNumber);
    const QString text = line(lineNumber);
    const int at = start - lineStart - 1; // the bracket before the caret
    if (at < 0 || at >= text.size())
        return -1;
    const char16_t bracket = text.at(at).unicode();
    char16_t partner = 0;
    switch (bracket) {
    case u'(':
        partner = u')';
        break;
    case u')':
        partner = u'(';
        break;
    case u'[':
        partner = u']';
        break;
    case u']':
        partner = u'[';
        break;
    default:
        return -1;
    }
    const bool opens = bracket == u'(' || bracket == u'[';

    // Brackets in a string or after "//" are not matched; a backslash
    // escapes nothing here.
    char16_t quote = 0;
    for (int i = 0; i < at; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'/' && quote == 0 && text.at(i + 1) == u'/')
            return -1;
        if ((c == u'"' || c == u'\'') && (quote == 0 || quote == c))
            quote = quote == 0 ? c : 0;
    }
    if (quote != 0)
        return -1;

    // Brackets inside strings and comments count like any other.
    int depth = 0;
    const int step = opens ? 1 : -1;
    for (int i = at; i >= 0 && i < text.size(); i += step) {
        const char16_t c = text.at(i).unicode();
        if (c == bracket)
            ++depth;
        else if (c == partner)
            --depth;
        if (depth <= 0)
            return lineStart + i;
    }
    return -1;
}

void TSyntaxEdit::SelectionChange()
{
    if (m_highlighting)
        return;
    TRichEdit::SelectionChange();
    m_previousSelLength = m_currentSelLength;
    m_currentSelLength = selLength();

    const int oldMark = matchPosition();
    const int match = FindMatch();
    if (oldMark < 0 && match < 0)
        return;
    // Styling the two characters moves no selection, so the selection stays
    // exactly as it is.
    m_highlighting = true;
    if (oldMark >= 0)
        setRangeAttributes(oldMark, 1, AttributesOf(*Builtins().Bracket));
    if (match >= 0)
        setRangeAttributes(match, 1, AttributesOf(*Builtins().Match));
    setMatch(match);
    m_highlighting = false;
    if (isEnabled() && isVisible())
        setFocus();
}

void TSyntaxEdit::KeyDown(QKeyEvent *event)
{
    // Other modifiers held with Ctrl do not matter.
    if (event->key() == Qt::Key_V && event->modifiers().testFlag(Qt::ControlModifier) && isEnabled()
        && !isReadOnly()) {
        consumeKey();
        PasteClipboard();
        return;
    }
    TRichEdit::KeyDown(event);
}

void TSyntaxEdit::PasteClipboard()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QString text;
    if (data && data->hasText())
        text = data->text();
    else if (data && data->hasHtml())
        text = QTextDocumentFragment::fromHtml(data->html()).toPlainText();
    // An empty clipboard leaves the selection alone instead of deleting it.
    if (!text.isEmpty())
        replaceSelection(text);
}
