#pragma once

#include "analysis/Analysis.h"
#include "langdata/Configuration.h"
#include "platform/TextMarks.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// The script check as the editor runs it, without a window: the marks of a
// result, the summary of the problems list, the API it checks on and the
// check that runs again while the user types.
namespace ScriptCheck {

// The text as the analysis reads it, encoded as the script is saved, from the
// editor's UTF-8 text with LF line breaks (a U+2028 inside a line stays
// there, so the lines are the editor's).
[[nodiscard]] QByteArray ScriptBytes(QByteArray utf8Text, bool utf8);

// The marks of the diagnostics of one source, whose lines `lineText` gives.
// The analysis counts columns in bytes of the encoded line; the marks count
// characters.
[[nodiscard]] std::vector<TextMarks::Mark> MarksOf(
    const QList<Analysis::Diagnostic> &diagnostics, const std::function<QString(int)> &lineText, bool utf8);

// "3 errors, 1 warning", or "No problems found".
[[nodiscard]] QString Summary(int errors, int warnings);

// AI scripts see the AI natives too.
[[nodiscard]] bool IsAiScript(const QString &fileName);

// The diagnostics of the script named `fileName`. A vJASS script is checked
// with its `folder` (empty for none: a script without a file yet, or inside a
// map): the libraries it requires and the map's trigger globals come from there.
[[nodiscard]] QList<Analysis::Diagnostic> Check(
    const QString &fileName, const QString &folder, const QByteArray &bytes, const Analysis::Api &api);

// The API of the language folder that `config` names, read once and again
// only when its file changed. Raises TolvaneError when there is none.
class ApiCache {
public:
    [[nodiscard]] std::shared_ptr<const Analysis::Api> Get(const Configuration &config, bool ai);

private:
    struct Entry {
        QString path;
        QDateTime modified;
        std::shared_ptr<const Analysis::Api> api;
    };
    Entry m_entries[2];
};

} // namespace ScriptCheck

// Checks the text again once the user has stopped typing for a while. The
// snapshot is taken on this thread when the pause ends; the analysis runs on
// another, and a result that arrives for an older text than the current one
// is thrown away.
class LiveCheck : public QObject {
    Q_OBJECT

public:
    // Runs off this thread; it gets what the snapshot captured.
    using Job = std::function<QList<Analysis::Diagnostic>()>;
    // Captures the text to check, on this thread.
    using Snapshot = std::function<Job()>;
    // Runs a job somewhere; it may be any thread.
    using Runner = std::function<void(std::function<void()>)>;

    static constexpr int kPauseMs = 400;

    explicit LiveCheck(Snapshot snapshot, QObject *parent = nullptr);
    ~LiveCheck() override;

    // The default runs the jobs one at a time on a thread of its own.
    void SetRunner(Runner runner) { m_runner = std::move(runner); }

    // On from the first check until the document is replaced.
    void Start();
    void Stop();
    [[nodiscard]] bool IsOn() const { return m_on; }
    // Every edit: the text is newer than any check running.
    void TextChanged();
    [[nodiscard]] quint64 Revision() const { return m_revision; }
    // True while the pause runs; the timer calls PauseEnded().
    [[nodiscard]] bool IsWaiting() const { return m_timer.isActive(); }
    void PauseEnded();

signals:
    // The diagnostics of the text as it is now.
    void Checked(const QList<Analysis::Diagnostic> &diagnostics);

private:
    void timerFired();
    void deliver(quint64 revision, const QList<Analysis::Diagnostic> &diagnostics);

    Snapshot m_snapshot;
    Runner m_runner;
    QThreadPool m_pool;
    QTimer m_timer;
    QElapsedTimer m_lastEdit;
    quint64 m_revision = 0;
    bool m_on = false;
};
