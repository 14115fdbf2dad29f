#include "BenchProgram.h"

#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>

BenchProgram::BenchProgram()
    : m_seeded(Seed(m_work))
    , m_program(CreateProgram(m_dialogs, m_work.path(), m_work.path()))
{
    Form().show();
    Paint(Form());
}

bool BenchProgram::Seed(const QTemporaryDir &work)
{
    QDir::setCurrent(work.path());
    SeedLanguageFiles(work.path());
    return true;
}

void BenchProgram::Open(const QString &path)
{
    Form().State.Modified = false;
    m_dialogs.OpenAnswers = { path };
    Form().Open1->trigger();
    Paint(Form());
}

void Paint(QWidget &widget)
{
    QCoreApplication::processEvents();
    widget.repaint();
}

void SendKey(QWidget &widget, Qt::Key key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
}

double TypingMs(TSyntaxEdit &edit, int first, int count)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const int line = first + i;
        edit.setSelStart(edit.lineIndex(line) + ColumnAfterFirstWord(edit.line(line)));
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        SendKey(edit, Qt::Key_X, QStringLiteral("x"));
        times.push_back(Ms(t));
    }
    return Median(std::move(times));
}
