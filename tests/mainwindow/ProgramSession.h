#pragma once

#include "app/Project1.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// One run of the program in a fresh current folder of its own, its dialogs
// answered from a script; the program's own folder (where "Recent.txt" goes)
// and its data folder are scratch folders too.
class ProgramSession
{
public:
    ProgramSession()
        : m_oldCurrent(QDir::currentPath())
    {
        QDir::setCurrent(Work.path());
    }
    ~ProgramSession()
    {
        program.MainForm.reset();
        QDir::setCurrent(m_oldCurrent);
    }
    ProgramSession(const ProgramSession &) = delete;
    ProgramSession &operator=(const ProgramSession &) = delete;

    // The small declaration and syntax files of the test data, in `folder`.
    static void SeedLanguageFiles(const QString &folder)
    {
        for (const char *name : {"Func.txt", "Const.txt", "Syn.txt"})
            QFile::copy(QStringLiteral(TOLVANE_TEST_DATA_DIR "/") + QLatin1String(name),
                        QDir(folder).filePath(name));
    }

    // Creates the windows and shows the main one, as the program does.
    TMainForm &Start()
    {
        program = CreateProgram(Dialogs, Exe.path(), Data.path());
        program.MainForm->show();
        return *program.MainForm;
    }
    TMainForm &Form() { return *program.MainForm; }
    TSyntaxEdit &Editbox() { return *program.MainForm->Editbox; }
    QString WorkFile(const QString &name) const { return Work.filePath(name); }
    QString RecentFile() const { return QDir(Exe.path()).filePath("Recent.txt"); }

    QTemporaryDir Work;
    QTemporaryDir Exe;
    QTemporaryDir Data;
    ScriptedDialogService Dialogs;
    Program program;

private:
    QString m_oldCurrent;
};
