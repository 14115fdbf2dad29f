#include "ScriptCheck.h"

#include "analysis/Project.h"
#include "langdata/ApiFiles.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace ScriptCheck {

namespace {

// The bytes a character takes in the encoded line.
int EncodedWidth(QChar c, bool utf8)
{
    if (!utf8)
        return 1;
    if (c.unicode() < 0x80)
        return 1;
    if (c.unicode() < 0x800)
        return 2;
    return c.isSurrogate() ? 2 : 3; // a pair makes four
}

// The character column of a 0-based byte column of the line.
int CharColumn(QStringView line, int byteColumn, bool utf8)
{
    int bytes = 0;
    int column = 0;
    while (column < line.size() && bytes < byteColumn)
        bytes += EncodedWidth(line[column++], utf8);
    return column + std::max(0, byteColumn - bytes);
}

} // namespace

QByteArray ScriptBytes(QByteArray utf8Text, bool utf8)
{
    if (utf8)
        return utf8Text;
    // Scripts are ASCII but for their strings and comments: the code page is
    // asked only for what is not, one byte for each UTF-16 unit.
    const auto ascii
        = std::find_if(utf8Text.cbegin(), utf8Text.cend(), [](char c) { return uchar(c) >= 0x80; });
    if (ascii == utf8Text.cend())
        return utf8Text;
    const qsizetype head = ascii - utf8Text.cbegin();
    const QString rest = QString::fromUtf8(utf8Text.constData() + head, utf8Text.size() - head);
    utf8Text.resize(head + rest.size());
    char *out = utf8Text.data() + head;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const char16_t c = rest[i].unicode();
        if (c < 0x80) {
            out[i] = char(c);
        } else {
            const QByteArray one = TextCodec::EncodeCp1252(QString(QChar(c)));
            out[i] = one.isEmpty() ? '?' : one[0];
        }
    }
    return utf8Text;
}

std::vector<TextMarks::Mark> MarksOf(
    const QList<Analysis::Diagnostic> &diagnostics, const std::function<QString(int)> &lineText, bool utf8)
{
    std::vector<TextMarks::Mark> marks;
    marks.reserve(size_t(diagnostics.size()));
    int cachedLine = -1;
    QString text;
    for (const Analysis::Diagnostic &d : diagnostics) {
        TextMarks::Mark mark;
        mark.line = std::max(0, d.line - 1);
        if (mark.line != cachedLine) {
            cachedLine = mark.line;
            text = lineText(mark.line);
        }
        const int byteColumn = std::max(0, d.column - 1);
        mark.column = CharColumn(text, byteColumn, utf8);
        const int end = CharColumn(text, byteColumn + std::max(1, d.length), utf8);
        mark.length = std::max(1, end - mark.column);
        mark.kind
            = d.severity == Analysis::Severity::Error ? TextMarks::Kind::Error : TextMarks::Kind::Warning;
        mark.message = d.message;
        marks.push_back(std::move(mark));
    }
    return marks;
}

QString Summary(int errors, int warnings)
{
    if (errors == 0 && warnings == 0)
        return QStringLiteral("No problems found");
    QStringList parts;
    if (errors > 0)
        parts.append(errors == 1 ? QStringLiteral("1 error") : QStringLiteral("%1 errors").arg(errors));
    if (warnings > 0)
        parts.append(
            warnings == 1 ? QStringLiteral("1 warning") : QStringLiteral("%1 warnings").arg(warnings));
    return parts.join(QLatin1String(", "));
}

bool IsAiScript(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".ai"), Qt::CaseInsensitive);
}

QList<Analysis::Diagnostic> Check(
    const QString &fileName, const QString &folder, const QByteArray &bytes, const Analysis::Api &api)
{
    // The editor wants the diagnostics alone.
    Analysis::Options options(false);
    return Analysis::AnalyseProject({ { fileName, bytes } }, api, options, folder).diagnostics;
}

std::shared_ptr<const Analysis::Api> ApiCache::Get(const Configuration &config, bool ai)
{
    const ApiFiles files = ApiFilesOf(config);
    Entry &entry = m_entries[ai ? 1 : 0];
    const QString path = ai ? files.aiApi : files.api;
    const QDateTime modified = path.isEmpty() ? QDateTime() : QFileInfo(path).lastModified();
    if (entry.api && !path.isEmpty() && entry.path == path && entry.modified == modified)
        return entry.api;
    entry = { path, modified, std::make_shared<const Analysis::Api>(LoadApi(files, ai)) };
    return entry.api;
}

} // namespace ScriptCheck

LiveCheck::LiveCheck(Snapshot snapshot, QObject *parent)
    : QObject(parent)
    , m_snapshot(std::move(snapshot))
{
    m_pool.setMaxThreadCount(1);
    m_runner = [this](std::function<void()> job) {
        // Only the newest text matters: a job still waiting is dropped.
        m_pool.clear();
        m_pool.start(std::move(job));
    };
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &LiveCheck::timerFired);
}

LiveCheck::~LiveCheck()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void LiveCheck::Start()
{
    m_on = true;
}

void LiveCheck::Stop()
{
    m_on = false;
    m_timer.stop();
    ++m_revision; // what is still running is for a text that has gone
}

void LiveCheck::TextChanged()
{
    ++m_revision;
    if (!m_on)
        return;
    // A keystroke only notes the time: restarting the timer on each one
    // costs more than the rest of the check's share of it.
    m_lastEdit.start();
    if (!m_timer.isActive())
        m_timer.start(kPauseMs);
}

void LiveCheck::timerFired()
{
    const qint64 quiet = m_lastEdit.elapsed();
    if (quiet < kPauseMs)
        m_timer.start(int(kPauseMs - quiet));
    else
        PauseEnded();
}

void LiveCheck::PauseEnded()
{
    m_timer.stop();
    if (!m_on)
        return;
    const quint64 revision = m_revision;
    Job job = m_snapshot();
    // Looked through only on this thread, once the result is back here.
    QPointer<LiveCheck> self(this);
    m_runner([job = std::move(job), revision, self] {
        QList<Analysis::Diagnostic> found = job();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, revision, found = std::move(found)] {
                if (self)
                    self->deliver(revision, found);
            },
            Qt::QueuedConnection);
    });
}

void LiveCheck::deliver(quint64 revision, const QList<Analysis::Diagnostic> &diagnostics)
{
    if (!m_on || revision != m_revision)
        return;
    emit Checked(diagnostics);
}
