#include "TextFile.h"

#include "Errors.h"
#include "TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
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

namespace {

// Writes all the bytes; a write that stopped part-way returns a short count
// without an error, and writing the rest again gives the system's reason.
void WriteAllBytes(QFileDevice &file, const FileBytes &entry)
{
    qint64 written = 0;
    while (written < entry.bytes.size()) {
        const qint64 n = file.write(entry.bytes.constData() + written, entry.bytes.size() - written);
        if (n <= 0)
            throw TolvaneError(CreateError(entry.fileName, file.errorString()));
        written += n;
    }
}

// The existing target opened for writing over in place, or null when there
// is none or it cannot be written; nothing in it changes yet.
std::unique_ptr<QFile> OpenInPlace(const QString &fileName, QString &reason)
{
    if (!QFileInfo(fileName).isFile())
        return nullptr;
    auto file = std::make_unique<QFile>(fileName);
    // Append keeps the old bytes until everything else has been written.
    if (!file->open(
            QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
        reason = file->errorString();
        return nullptr;
    }
    return file;
}

} // namespace

void WriteFiles(const QList<FileBytes> &files)
{
    // Every file is written out in full before the first one replaces its
    // target; the ones not committed are thrown away when this throws.
    std::vector<std::unique_ptr<QSaveFile>> pending;
    std::vector<std::pair<std::unique_ptr<QFile>, const FileBytes *>> inPlace;
    pending.reserve(files.size());
    for (const FileBytes &entry : files) {
        if (QFileInfo(entry.fileName).isDir())
            throw TolvaneError(CreateError(entry.fileName, QStringLiteral("Is a directory")));
        auto file = std::make_unique<QSaveFile>(entry.fileName);
        // Unbuffered: a buffered QSaveFile flushes only at commit() and does
        // not notice a short write there (a full disk), so it would replace
        // the target with a truncated file. Written directly, the short
        // count shows.
        if (file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            WriteAllBytes(*file, entry);
            pending.push_back(std::move(file));
            continue;
        }
        // A folder that takes no new file cannot hold the temporary one; an
        // existing target that may be written is then written over in place.
        QString reason = file->errorString();
        std::unique_ptr<QFile> existing = OpenInPlace(entry.fileName, reason);
        if (!existing)
            throw TolvaneError(CreateError(entry.fileName, reason));
        inPlace.emplace_back(std::move(existing), &entry);
    }
    // In place last: it is the one write that can leave a target half
    // written, and by now everything else has been.
    for (const auto &[file, entry] : inPlace) {
        if (!file->resize(0))
            throw TolvaneError(CreateError(entry->fileName, file->errorString()));
        WriteAllBytes(*file, *entry);
        file->close();
    }
    for (size_t i = 0; i < pending.size(); ++i) {
        QSaveFile &file = *pending[i];
        if (!file.commit())
            throw TolvaneError(CreateError(file.fileName(), file.errorString()));
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

namespace {

Encoding ScriptEncoding(const QByteArray &bytes)
{
    if (!TextCodec::LooksLikeUtf8(bytes))
        return Encoding::Cp1252;
    return bytes.startsWith("\xEF\xBB\xBF") ? Encoding::Utf8Bom : Encoding::Utf8;
}

} // namespace

Content DecodeScript(const QByteArray &bytes)
{
    Content content;
    content.encoding = ScriptEncoding(bytes);
    content.lines = SplitLines(Decode(bytes, content.encoding));
    return content;
}

ScriptText DecodeScriptText(const QByteArray &bytes)
{
    ScriptText script;
    script.encoding = ScriptEncoding(bytes);
    QString text = Decode(bytes, script.encoding);
    // Every break to LF in one pass, in place; as in SplitLines, a break at
    // the very end adds no empty line.
    QChar *out = text.data();
    const QChar *in = out;
    const QChar *end = in + text.size();
    while (in < end) {
        QChar c = *in++;
        if (c == u'\r') {
            if (in < end && *in == u'\n')
                ++in;
            c = u'\n';
        }
        *out++ = c;
    }
    qsizetype size = out - text.constData();
    if (size > 0 && text.at(size - 1) == u'\n')
        --size;
    text.truncate(size);
    script.text = std::move(text);
    return script;
}

ScriptUtf8 DecodeScriptUtf8(QByteArray bytes)
{
    ScriptUtf8 script;
    script.encoding = ScriptEncoding(bytes);
    if (script.encoding == Encoding::Cp1252) {
        if (std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) >= 0x80; }))
            bytes = TextCodec::DecodeCp1252(bytes).toUtf8();
    } else if (script.encoding == Encoding::Utf8Bom) {
        bytes.remove(0, 3);
    }
    if (bytes.endsWith("\r\n"))
        bytes.chop(2);
    else if (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    script.text = std::move(bytes);
    return script;
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
