#include "SyntaxDocument.h"

void SyntaxDocument::RebuildHighlighting()
{
    m_engine.RebuildCodes();
}

QByteArray SyntaxDocument::HighlightAll() const
{
    return m_engine.Document(
        m_lines.size(), [this](qsizetype i) { return QStringView(m_lines.at(i)); }, m_fontSize);
}

QByteArray SyntaxDocument::HighlightLine(qsizetype lineIndex) const
{
    QByteArray out;
    if (lineIndex >= 0 && lineIndex < m_lines.size())
        m_engine.LineToRtf(m_lines.at(lineIndex), out);
    return out;
}
