#include "TextFile.h"

#include "Errors.h"
#include "TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    if (QFileInfo(fileName).isDir())
        throw TolvaneError(CreateError(fileName, QStringLiteral("Is a directory")));
    QSaveFile file(fileName);
    // Unbuffered: a buffered QSaveFile flushes only at commit() and does not
    // notice a short write there (a full disk), so it would replace the
    // target with a truncated file. Written directly, the short count shows.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw TolvaneError(CreateError(fileName, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw TolvaneError(CreateError(fileName, reason));
    }
    if (!file.commit())
        throw TolvaneError(CreateError(fileName, file.errorString()));
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
