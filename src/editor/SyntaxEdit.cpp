#include "SyntaxEdit.h"

#include <QTextBlock>

namespace {

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
{
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setPointSize(9);
    setFont(f);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHideSelection(true);
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

QByteArray TSyntaxEdit::HighlightDocument() const
{
    // One copy of the whole text, cut into lines at the paragraph separators,
    // costs far less than a string per block.
    const QString all = document()->toRawText();
    qsizetype from = 0;
    return m_engine.Document(
        lineCount(),
        [&](qsizetype) {
            qsizetype end = all.indexOf(QChar::ParagraphSeparator, from);
            if (end < 0)
                end = all.size();
            const QStringView line = QStringView(all).mid(from, end - from);
            from = end + 1;
            return line;
        },
        fontSize());
}

void TSyntaxEdit::HighlightAll()
{
    if (lineCount() == 0)
        return;
    m_highlighting = true;
    loadRtf(HighlightDocument());
    m_highlighting = false;
    AllowInvalidate = true;
}

TextAttributes TSyntaxEdit::AttributesOf(const TSyntaxType &type) const
{
    return { type.Color, type.Style, uint16_t(fontSize() * 2) };
}

void TSyntaxEdit::HighlightLine(int LineIndex, HighlightMode Mode, QByteArray &RtfText)
{
    RtfText.clear();
    const QString text = line(LineIndex);
    if (Mode == HighlightMode::ToRtf) {
        m_engine.LineToRtf(text, RtfText);
        return;
    }
    if (LineIndex < 0 || LineIndex >= lineCount())
        return;
    RangeSink sink(RtfText, [this](const TSyntaxType &type) { return AttributesOf(type); });
    m_engine.ClassifyLine(text, sink);
    RtfText.append("\\par");
    if (sink.ranges.empty())
        return;
    styleLine(LineIndex, sink.ranges);
    const TRichEdit::LineRange &last = sink.ranges.back();
    select(lineIndex(LineIndex) + last.start, last.length);
}

void TSyntaxEdit::StyleRange(int Start, int Length, const TSyntaxType &Type)
{
    setRangeAttributes(Start, Length, AttributesOf(Type));
    select(Start, Length);
}

void TSyntaxEdit::Change()
{
    if (m_highlighting)
        return;
    TRichEdit::Change();
}

void TSyntaxEdit::SelectionChange()
{
    if (m_highlighting)
        return;
    TRichEdit::SelectionChange();
}
