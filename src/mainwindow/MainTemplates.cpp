// The Templates menu: function, loop and if skeletons inserted at the caret
// of the script editor, indented like the caret's line.
#include "Main.h"

#include "editor/SyntaxEdit.h"

#include <QScopeGuard>

namespace {

// Lines joined by CR LF; the caret offsets count both characters of a break.
const QString kFunctionTemplate
    = QStringLiteral("function  takes nothing returns nothing\r\n    \r\nendfunction");
const QString kLoopTemplate = QStringLiteral("loop\r\n    exitwhen \r\n    \r\nendloop");
const QString kIfTemplate = QStringLiteral("if (  ) then\r\n    \r\nendif");

} // namespace

void TMainForm::NewFunction1Click()
{
    InsertTemplate(kFunctionTemplate, 9); // between the two spaces after "function"
}

void TMainForm::NewLoop1Click()
{
    InsertTemplate(kLoopTemplate, 19); // after "exitwhen "
}

void TMainForm::NewIf1Click()
{
    InsertTemplate(kIfTemplate, 5); // between the two spaces inside the parentheses
}

int TMainForm::LineIndent(int line) const
{
    const QString text = Editbox->line(line);
    int count = 0;
    while (count < text.size() && text.at(count) == u' ')
        ++count;
    return count;
}

void TMainForm::InsertTemplate(const QString &text, int offset)
{
    // The change step switches tracking back on after the edit; the caret
    // move that follows is the program's own as well.
    State.TrackSelection = false;
    const auto track = qScopeGuard([this] { State.TrackSelection = true; });

    const int start = Editbox->selStart();
    int caret = start + offset;
    QStringList lines = text.split(QStringLiteral("\r\n"));
    const int indent = LineIndent(Editbox->lineFromChar(start));
    if (indent > 0 && lines.size() > 1) {
        // The first line goes in at the caret, on the caret's own line.
        for (qsizetype i = 1; i < lines.size(); ++i)
            lines[i].prepend(QString(indent, u' '));
        caret += int(text.left(offset).count(u'\r')) * indent;
    }

    // The text after the selection stays on a line of its own after the
    // block; with nothing there, the block's last line takes the place of
    // the caret's line and the next line follows it directly.
    const int end = start + Editbox->selLength();
    const int endLine = Editbox->lineFromChar(end);
    const bool restOfLine = end < Editbox->lineIndex(endLine) + Editbox->line(endLine).size();
    QString block = lines.join(QStringLiteral("\r\n"));
    if (restOfLine)
        block += QStringLiteral("\r\n");
    Editbox->replaceSelection(block);
    State.TrackSelection = false;
    Editbox->setSelStart(caret);
}
