#pragma once

// Writes that fail on purpose, for the tests of every place the program
// writes a file: a read-only folder and target (root included), a target
// that is a folder, a full disk and a write that stops half-way.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <unistd.h>

// Makes writes beyond `bytes` fail, as a full disk does, even for root. A file
// grows up to the limit, then the next write fails ("File too large").
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

// Root writes into any folder whatever its permissions. While it guards a
// read-only folder, file access of the calling thread runs as "nobody":
// a file-system uid other than 0 drops the capabilities that override
// permissions, and going back to 0 restores them.
constexpr uid_t kUnprivilegedUid = 65534;

// Hands a scratch folder and all in it to "nobody", so that the program can
// go on reading and writing there under a ReadOnlyFolder. Does nothing for
// an ordinary user, whose own folders they are.
inline void ShareWithUnprivilegedUser(const QString &folder)
{
    if (geteuid() != 0)
        return;
    const auto give = [](const QString &path) {
        (void)lchown(QFile::encodeName(path).constData(), kUnprivilegedUid, kUnprivilegedUid);
    };
    give(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        give(it.next());
}

// While alive, `folder` cannot be written: it is made read-only and, for
// root, the calling thread's file access runs as "nobody".
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &folder)
        : m_folder(folder)
        , m_permissions(QFile::permissions(folder))
    {
        QFile::setPermissions(folder,
            QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                | QFile::ExeOther);
        if (geteuid() == 0) {
            (void)setfsuid(kUnprivilegedUid);
            m_dropped = setfsuid(kUnprivilegedUid) == static_cast<int>(kUnprivilegedUid);
        }
        QFile probe(QDir(folder).filePath(QStringLiteral(".write-probe")));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            m_failure = QStringLiteral("the system lets this process write into a read-only folder");
        } else if (geteuid() == 0 && !m_dropped) {
            m_failure = QStringLiteral("the system refused to run file access as an unprivileged user");
        }
    }
    ~ReadOnlyFolder()
    {
        if (m_dropped)
            (void)setfsuid(0);
        QFile::setPermissions(m_folder, m_permissions);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // Empty when the folder really cannot be written; else why not, for QSKIP.
    [[nodiscard]] QString Failure() const { return m_failure; }

private:
    QString m_folder;
    QFile::Permissions m_permissions;
    bool m_dropped = false;
    QString m_failure;
};

enum class WriteFault { ReadOnlyFolder, TargetIsFolder, FullDisk, HalfWay };

// One fault on the writes of `target` while alive. TargetIsFolder replaces
// the target by a folder holding one file; HalfWay lets `halfWayBytes` of
// each written file through; the full disk lets nothing through.
class InjectedFault {
public:
    InjectedFault(WriteFault fault, const QString &target, rlim_t halfWayBytes)
    {
        switch (fault) {
        case WriteFault::ReadOnlyFolder:
            // A writable target would be written over in place.
            QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            m_folder.emplace(QFileInfo(target).absolutePath());
            break;
        case WriteFault::TargetIsFolder: {
            QFile::remove(target);
            QDir().mkpath(target);
            QFile inside(QDir(target).filePath(QStringLiteral("inside.txt")));
            (void)(inside.open(QIODevice::WriteOnly) && inside.write("kept\r\n") == 6);
            break;
        }
        case WriteFault::FullDisk:
            m_limit.emplace(0);
            break;
        case WriteFault::HalfWay:
            m_limit.emplace(halfWayBytes);
            break;
        }
    }

    [[nodiscard]] QString Failure() const { return m_folder ? m_folder->Failure() : QString(); }

    // The reason the user's message should give.
    [[nodiscard]] static QString Reason(WriteFault fault)
    {
        switch (fault) {
        case WriteFault::ReadOnlyFolder:
            return QString::fromLocal8Bit(std::strerror(EACCES));
        case WriteFault::TargetIsFolder:
            return QStringLiteral("Is a directory");
        case WriteFault::FullDisk:
        case WriteFault::HalfWay:
            break;
        }
        return QString::fromLocal8Bit(std::strerror(EFBIG));
    }

    // The folder a TargetIsFolder fault left in place of the target, untouched.
    [[nodiscard]] static bool IsUntouchedFolder(const QString &target)
    {
        return QFileInfo(target).isDir()
            && QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
            == QStringList { QStringLiteral("inside.txt") };
    }

private:
    std::optional<ReadOnlyFolder> m_folder;
    std::optional<FileSizeLimit> m_limit;
};
