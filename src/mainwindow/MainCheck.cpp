// Check Script (Shift+F5): the whole script checked with the API of the
// language folder, its problems listed below the editor and marked in the
// text, and checked again while the user types.
#include "Main.h"

#include "Documents.h"
#include "ProblemsPanel.h"
#include "ScriptCheck.h"
#include "editor/SyntaxEdit.h"

#include <QFileInfo>
#include <QTextDocument>
#include <QTreeView>

void TMainForm::setupCheck()
{
    Problems = new ProblemsPanel(Editbox->Marks().Marks(), this);
    Problems->setObjectName(QStringLiteral("Problems"));
    Problems->hide();
    m_liveCheck = new LiveCheck(
        [this] {
            const bool utf8 = State.Encoding != TextFile::Encoding::Cp1252;
            return [bytes = ScriptCheck::ScriptBytes(Editbox->utf8Text(), utf8),
                       api = m_checkApi, name = CheckedName(), folder = CheckedFolder()] {
                return ScriptCheck::Check(name, folder, bytes, *api);
            };
        },
        this);
}

void TMainForm::connectCheckHandlers()
{
    connect(&Editbox->Marks(), &MarkOverlay::Changed, Problems, &ProblemsPanel::Refresh);
    connect(Problems, &ProblemsPanel::Activated, this,
        [this](int mark) { RunCommand([this, mark] { ProblemsActivate(mark); }); });
    connect(m_liveCheck, &LiveCheck::Checked, this, [this](const QList<Analysis::Diagnostic> &diagnostics) {
        RunCommand([this, &diagnostics] { showProblems(diagnostics); });
    });
}

void TMainForm::CheckScript1Click()
{
    m_checkApi = m_checkApis.Get(State.Config, ScriptCheck::IsAiScript(CheckedName()));
    const bool utf8 = State.Encoding != TextFile::Encoding::Cp1252;
    const QByteArray bytes = ScriptCheck::ScriptBytes(Editbox->utf8Text(), utf8);
    showProblems(ScriptCheck::Check(CheckedName(), CheckedFolder(), bytes, *m_checkApi));
    Problems->show();
    m_liveCheck->Start();
    if (Editbox->isEnabled())
        Editbox->setFocus();
}

QString TMainForm::CheckedName() const
{
    return State.Map.Name.isEmpty() ? State.FileName : Documents::FileNamePart(State.Map.Name);
}

QString TMainForm::CheckedFolder() const
{
    // The script inside a map has no folder of its own.
    return State.Map.Name.isEmpty() && !State.FileName.isEmpty() ? QFileInfo(State.FileName).absolutePath()
                                                                 : QString();
}

void TMainForm::showProblems(const QList<Analysis::Diagnostic> &diagnostics)
{
    const bool utf8 = State.Encoding != TextFile::Encoding::Cp1252;
    Editbox->Marks().SetMarks(ScriptCheck::MarksOf(
        diagnostics, [this](int line) { return Editbox->line(line); }, utf8));
}

void TMainForm::ClearCheck()
{
    m_liveCheck->Stop();
    Editbox->Marks().Clear();
    Problems->Refresh();
    Problems->hide();
}

void TMainForm::ProblemsActivate(int mark)
{
    const std::vector<TextMarks::Mark> &marks = Editbox->Marks().Marks().All();
    if (mark < 0 || size_t(mark) >= marks.size())
        return;
    const TextMarks::Mark &m = marks[size_t(mark)];
    const int length = int(Editbox->line(m.line).size());
    const int column = std::min(m.column, length);
    const int top = Editbox->firstVisibleLine();
    const int bottom = Editbox->lastVisibleLine();
    // The selection change reaches the preview and the status bar as any
    // other would.
    Editbox->select(Editbox->lineIndex(m.line) + column, std::min(m.length, length - column));
    // A problem out of view comes into the middle, with the lines around it.
    if (m.line <= top || m.line >= bottom)
        Editbox->centerCursor();
    else
        Editbox->ensureCursorVisible();
    Problems->List()->setCurrentIndex(Problems->List()->model()->index(mark, 0));
    if (Editbox->isEnabled())
        Editbox->setFocus();
}

void TMainForm::NextProblem1Click()
{
    const int start = Editbox->selStart();
    const int line = Editbox->lineFromChar(start);
    ProblemsActivate(Editbox->Marks().Marks().Next(line, start - Editbox->lineIndex(line)));
}

void TMainForm::PreviousProblem1Click()
{
    const int start = Editbox->selStart();
    const int line = Editbox->lineFromChar(start);
    ProblemsActivate(Editbox->Marks().Marks().Previous(line, start - Editbox->lineIndex(line)));
}
