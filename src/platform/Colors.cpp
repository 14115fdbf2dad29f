#include "Colors.h"

#include "Errors.h"

#include <array>

namespace {

struct NamedColor {
    const char *name;
    uint32_t value;
};

constexpr uint32_t Sys(uint32_t number)
{
    return Colors::SystemColorFlag | number;
}

constexpr std::array<NamedColor, 52> kNames { {
    { "clBlack", 0x000000 },
    { "clMaroon", 0x000080 },
    { "clGreen", 0x008000 },
    { "clOlive", 0x008080 },
    { "clNavy", 0x800000 },
    { "clPurple", 0x800080 },
    { "clTeal", 0x808000 },
    { "clGray", 0x808080 },
    { "clSilver", 0xC0C0C0 },
    { "clRed", 0x0000FF },
    { "clLime", 0x00FF00 },
    { "clYellow", 0x00FFFF },
    { "clBlue", 0xFF0000 },
    { "clFuchsia", 0xFF00FF },
    { "clAqua", 0xFFFF00 },
    { "clWhite", 0xFFFFFF },
    { "clMoneyGreen", 0xC0DCC0 },
    { "clSkyBlue", 0xF0CAA6 },
    { "clCream", 0xF0FBFF },
    { "clMedGray", 0xA4A0A0 },
    { "clNone", Colors::None },
    { "clDefault", Colors::Default },
    { "clScrollBar", Sys(0) },
    { "clBackground", Sys(1) },
    { "clActiveCaption", Sys(2) },
    { "clInactiveCaption", Sys(3) },
    { "clMenu", Sys(4) },
    { "clWindow", Sys(5) },
    { "clWindowFrame", Sys(6) },
    { "clMenuText", Sys(7) },
    { "clWindowText", Sys(8) },
    { "clCaptionText", Sys(9) },
    { "clActiveBorder", Sys(10) },
    { "clInactiveBorder", Sys(11) },
    { "clAppWorkSpace", Sys(12) },
    { "clHighlight", Sys(13) },
    { "clHighlightText", Sys(14) },
    { "clBtnFace", Sys(15) },
    { "clBtnShadow", Sys(16) },
    { "clGrayText", Sys(17) },
    { "clBtnText", Sys(18) },
    { "clInactiveCaptionText", Sys(19) },
    { "clBtnHighlight", Sys(20) },
    { "cl3DDkShadow", Sys(21) },
    { "cl3DLight", Sys(22) },
    { "clInfoText", Sys(23) },
    { "clInfoBk", Sys(24) },
    { "clHotLight", Sys(26) },
    { "clGradientActiveCaption", Sys(27) },
    { "clGradientInactiveCaption", Sys(28) },
    { "clMenuHighlight", Sys(29) },
    { "clMenuBar", Sys(30) },
} };

int DigitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

namespace Colors {

std::optional<uint32_t> FromName(QStringView name)
{
    for (const NamedColor &entry : kNames) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.value;
    }
    return std::nullopt;
}

std::optional<int32_t> ParseInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;
    uint64_t value = 0;
    for (; i < n; ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0)
            return std::nullopt;
        value = value * uint64_t(base) + uint64_t(d);
        // Hexadecimal may fill all 32 bits; decimal must fit a signed integer.
        if (value > (base == 16 ? 0xFFFFFFFFull : 0x80000000ull))
            return std::nullopt;
    }
    if (base == 10 && !negative && value > 0x7FFFFFFFull)
        return std::nullopt;
    const uint32_t bits = negative ? uint32_t(0) - uint32_t(value) : uint32_t(value);
    return int32_t(bits);
}

uint32_t FromText(const QString &text)
{
    if (const auto named = FromName(text))
        return *named;
    if (const auto number = ParseInteger(text))
        return uint32_t(*number);
    throw TolvaneError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

} // namespace Colors
