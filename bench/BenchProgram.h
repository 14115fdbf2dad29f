#pragma once

// The whole program as the benchmarks of the main window drive it.

#include "app/Project1.h"
#include "platform/Dialogs.h"

#include <QString>
#include <QTemporaryDir>

class QWidget;
class TMainForm;
class TSyntaxEdit;

// The program started in a scratch folder that holds the shipped language
// files and is the current folder; dialogs are answered by script.
class BenchProgram {
public:
    BenchProgram();

    [[nodiscard]] TMainForm &Form() { return *m_program.MainForm; }
    [[nodiscard]] ScriptedDialogService &Dialogs() { return m_dialogs; }
    // A file of that name in the scratch folder.
    [[nodiscard]] QString FilePath(const QString &name) const { return m_work.filePath(name); }
    // Opens the file with File > Open, the dialog answered with it, and paints.
    void Open(const QString &path);

private:
    static bool Seed(const QTemporaryDir &work);

    QTemporaryDir m_work;
    bool m_seeded;
    ScriptedDialogService m_dialogs;
    Program m_program;
};

// Posted events handled, then the widget painted at once.
void Paint(QWidget &widget);

// A key pressed and released on the widget, as typing sends it.
void SendKey(QWidget &widget, Qt::Key key, const QString &text);

// The median time of typing a letter, from the key press to the end of its
// handling, once on each of `count` lines from `first`, after the line's
// first word.
double TypingMs(TSyntaxEdit &edit, int first, int count);
