#pragma once

// Shared by the command line tests: run tolvane-cli in process and keep what
// it printed, and stand in scratch files.

#include "TestFiles.h"
#include "cli/Cli.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct CliRun {
    int status = 0;
    QByteArray out;
    QByteArray err;
};

inline CliRun RunCliCaptured(const QStringList &args)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliRun run;
    run.status = RunCli(args, CliStreams { out, err });
    run.out = out.data();
    run.err = err.data();
    return run;
}

// Writes name inside dir and returns its full path; a file that cannot be
// written ends the run, as every case after it would fail for that reason.
inline QString WriteIn(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    if (!WriteAll(path, bytes))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A fresh temporary folder made the current folder while it lives; the
// previous current folder comes back when it goes.
class ScratchCurrentFolder {
public:
    ScratchCurrentFolder()
        : m_previous(QDir::currentPath())
        , m_entered(m_dir.isValid() && QDir::setCurrent(m_dir.path()))
    {
    }
    ~ScratchCurrentFolder() { QDir::setCurrent(m_previous); }
    ScratchCurrentFolder(const ScratchCurrentFolder &) = delete;
    ScratchCurrentFolder &operator=(const ScratchCurrentFolder &) = delete;

    bool IsValid() const { return m_entered; }
    QString Path() const { return m_dir.path(); }
    const QTemporaryDir &Dir() const { return m_dir; }

private:
    QTemporaryDir m_dir;
    QString m_previous;
    bool m_entered;
};
