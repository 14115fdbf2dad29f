#include "TextFile.h"

#include "Errors.h"
#include "TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace {

QString OpenError(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, reason);
}

QString CreateError(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason);
}

} // namespace

namespace TextFile {

bool FileExists(const QString &fileName)
{
    return !fileName.isEmpty() && QFileInfo(fileName).isFile();
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    const QChar *data = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString JoinLines(const QStringList &lines)
{
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    QString text;
    text.reserve(total);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

QByteArray ReadBytes(const QString &fileName)
{
    if (QFileInfo(fileName).isDir())
        throw TolvaneError(OpenError(fileName, QStringLiteral("Is a directory")));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TolvaneError(OpenError(fileName, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TolvaneError(OpenError(fileName, file.errorString()));
    return bytes;
}

void WriteBytes(const QString &fileName, const QByteArray &bytes)
{
    WriteFiles({ { fileName, bytes } });
}

void WriteFiles(const QList<FileBytes> &files)
{
    // Every file is written out in full before the first one replaces its
    // target; the ones not committed are thrown away when this throws.
    std::vector<std::unique_ptr<QSaveFile>> pending;
    pending.reserve(files.size());
    for (const FileBytes &entry : files) {
        if (QFileInfo(entry.fileName).isDir())
            throw TolvaneError(CreateError(entry.fileName, QStringLiteral("Is a directory")));
        auto file = std::make_unique<QSaveFile>(entry.fileName);
        // Unbuffered: a buffered QSaveFile flushes only at commit() and does
        // not notice a short write there (a full disk), so it would replace
        // the target with a truncated file. Written directly, the short
        // count shows.
        if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw TolvaneError(CreateError(entry.fileName, file->errorString()));
        // A write that stopped part-way returns a short count without an
        // error; writing the rest again gives the system's reason.
        qint64 written = 0;
        while (written < entry.bytes.size()) {
            const qint64 n = file->write(entry.bytes.constData() + written, entry.bytes.size() - written);
            if (n <= 0)
                throw TolvaneError(CreateError(entry.fileName, file->errorString()));
            written += n;
        }
        pending.push_back(std::move(file));
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        QSaveFile &file = *pending[static_cast<size_t>(i)];
        if (!file.commit())
            throw TolvaneError(CreateError(files.at(i).fileName, file.errorString()));
    }
}

void MakeFolder(const QString &folder)
{
    std::error_code error;
    std::filesystem::create_directories(
        std::filesystem::path(QFile::encodeName(folder).toStdString()), error);
    if (error)
        throw TolvaneError(QStringLiteral("Cannot create folder \"%1\". %2")
                               .arg(folder, QString::fromLocal8Bit(error.message())));
}

QString Decode(const QByteArray &bytes, Encoding encoding)
{
    // Decoding UTF-8 drops one leading byte order mark.
    return encoding == Encoding::Cp1252 ? TextCodec::DecodeCp1252(bytes) : QString::fromUtf8(bytes);
}

QByteArray Encode(const QString &text, Encoding encoding)
{
    if (encoding == Encoding::Cp1252)
        return TextCodec::EncodeCp1252(text);
    // Decoding drops one leading byte order mark, so a text that starts with
    // that character needs a mark in front to read back whole.
    QByteArray bytes = text.toUtf8();
    if (encoding == Encoding::Utf8Bom || text.startsWith(QChar(0xFEFF)))
        bytes.prepend("\xEF\xBB\xBF");
    return bytes;
}

QStringList LoadLines(const QString &fileName)
{
    return SplitLines(TextCodec::DecodeCp1252(ReadBytes(fileName)));
}

void SaveLines(const QString &fileName, const QStringList &lines)
{
    WriteBytes(fileName, TextCodec::EncodeCp1252(JoinLines(lines)));
}

Content DecodeScript(const QByteArray &bytes)
{
    Content content;
    if (!TextCodec::LooksLikeUtf8(bytes))
        content.encoding = Encoding::Cp1252;
    else if (bytes.startsWith("\xEF\xBB\xBF"))
        content.encoding = Encoding::Utf8Bom;
    else
        content.encoding = Encoding::Utf8;
    content.lines = SplitLines(Decode(bytes, content.encoding));
    return content;
}

Content LoadScript(const QString &fileName)
{
    return DecodeScript(ReadBytes(fileName));
}

void SaveScript(const QString &fileName, const QStringList &lines, Encoding encoding)
{
    WriteBytes(fileName, Encode(JoinLines(lines), encoding));
}

} // namespace TextFile
