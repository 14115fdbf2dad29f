// The text-file reader on any bytes: code page 1252 decodes and encodes back
// byte for byte, UTF-8 is recognised exactly when the bytes are UTF-8, and the
// lines split and join as the line-end rules say.
#include "FuzzSupport.h"

#include <QStringDecoder>

namespace {

bool HasHighByte(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

// The text with every CR LF, lone CR and lone LF made CR LF, and a final
// CR LF when the text does not end with a break.
QString NormalisedLineEnds(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QLatin1String("\r\n");
        } else if (text[i] == u'\n') {
            out += QLatin1String("\r\n");
        } else {
            out += text[i];
        }
    }
    if (!out.isEmpty() && !out.endsWith(QLatin1String("\r\n")))
        out += QLatin1String("\r\n");
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);

    const QString cp1252 = TextCodec::DecodeCp1252(bytes);
    Fuzz::Require(cp1252.size() == bytes.size(), "one character per byte");
    Fuzz::Require(TextCodec::EncodeCp1252(cp1252) == bytes, "cp1252 decode then encode is byte exact");

    // Qt drops a leading byte order mark when it decodes; the program puts it
    // back when it saves such a script.
    const bool utf8 = TextCodec::LooksLikeUtf8(bytes);
    const QByteArray withoutMark = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    const bool roundTrips = QString::fromUtf8(bytes).toUtf8() == withoutMark;
    if (utf8)
        Fuzz::Require(roundTrips, "text taken for UTF-8 decodes and encodes back byte for byte");
    else if (HasHighByte(bytes))
        Fuzz::Require(!roundTrips, "valid UTF-8 with a high byte is taken for UTF-8");

    const TextFile::Content script = TextFile::DecodeScript(bytes);
    Fuzz::Require((script.encoding != TextFile::Encoding::Cp1252) == utf8,
                  "DecodeScript picks the detected encoding");
    Fuzz::Require((script.encoding == TextFile::Encoding::Utf8Bom) == (utf8 && bytes.startsWith("\xEF\xBB\xBF")),
                  "a byte order mark is remembered");
    const QString text = TextFile::Decode(bytes, script.encoding);
    const TextFile::ScriptText whole = TextFile::DecodeScriptText(bytes);
    Fuzz::Require(whole.encoding == script.encoding && whole.text == script.lines.join(u'\n'),
                  "the editor's whole text is the lines joined by LF");
    const TextFile::ScriptUtf8 utf8Text = TextFile::DecodeScriptUtf8(bytes);
    QStringDecoder keepingMarks(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString lf = keepingMarks(utf8Text.text);
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    Fuzz::Require(utf8Text.encoding == script.encoding && lf == whole.text,
        "the editor's UTF-8 text holds the same lines");
    for (const QString &line : script.lines)
        Fuzz::Require(!line.contains(u'\r') && !line.contains(u'\n'), "no line holds a line break");
    const QString joined = TextFile::JoinLines(script.lines);
    Fuzz::Require(
        joined == NormalisedLineEnds(text), "split then joined gives the text with CR LF line ends");
    Fuzz::Require(TextFile::SplitLines(joined) == script.lines, "joined lines split back to the same lines");
    const TextFile::Content reloaded = TextFile::DecodeScript(TextFile::Encode(joined, script.encoding));
    // Plain ASCII reads the same either way.
    const bool ascii = !HasHighByte(TextFile::Encode(joined, script.encoding));
    Fuzz::Require(reloaded.encoding == script.encoding || ascii, "saved lines load back in their encoding");
    Fuzz::Require(reloaded.lines == script.lines, "saved lines load back the same");
    return 0;
}
