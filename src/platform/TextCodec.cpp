#include "TextCodec.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// 0x80..0x9F; undefined positions keep their own value.
// clang-format off
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

char EncodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

// The first byte at or after i that is not ASCII, or n. Scripts are mostly
// ASCII, so eight bytes at a time.
qsizetype SkipAscii(const unsigned char *p, qsizetype i, qsizetype n)
{
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0)
            break;
    }
    while (i < n && p[i] < 0x80)
        ++i;
    return i;
}

} // namespace

namespace TextCodec {

QString DecodeCp1252(const QByteArray &bytes)
{
    // Latin-1 but for 0x80..0x9F: the toolkit's fast Latin-1 decoder, then
    // those few bytes put right.
    QString text = QString::fromLatin1(bytes.constData(), bytes.size());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.constData());
    QChar *out = nullptr;
    for (qsizetype i = SkipAscii(in, 0, bytes.size()); i < bytes.size();
         i = SkipAscii(in, i + 1, bytes.size())) {
        if (in[i] >= 0xA0)
            continue;
        if (out == nullptr)
            out = text.data();
        out[i] = QChar(kHighControls[in[i] - 0x80]);
    }
    return text;
}

QByteArray EncodeCp1252(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    const QChar *in = text.constData();
    char *out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = in[i].unicode();
        out[i] = c < 0x80 ? static_cast<char>(c) : EncodeOne(c);
    }
    return bytes;
}

bool LooksLikeUtf8(const QByteArray &bytes)
{
    bool sawHigh = false;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while ((i = SkipAscii(p, i, n)) < n) {
        const unsigned char b = p[i];
        sawHigh = true;
        int follow = 0;
        unsigned int cp = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            follow = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            follow = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            follow = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + follow >= n)
            return false;
        for (int k = 1; k <= follow; ++k) {
            const unsigned char c = p[i + k];
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((follow == 2 && cp < 0x800) || (follow == 3 && cp < 0x10000) || cp > 0x10FFFF
            || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return sawHigh;
}

} // namespace TextCodec
