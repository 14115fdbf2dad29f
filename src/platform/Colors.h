#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Colours as the syntax definition files name them. A colour is a 32-bit value
// laid out 0x00BBGGRR (low byte red); a named system colour has the top byte
// 0xFF and the system colour number in the low byte.
namespace Colors {

constexpr uint32_t SystemColorFlag = 0xFF000000u;
constexpr uint32_t None = 0x1FFFFFFFu;
constexpr uint32_t Default = 0x20000000u;

[[nodiscard]] constexpr bool IsSystemColor(uint32_t color)
{
    return (color & 0xFF000000u) == SystemColorFlag;
}
[[nodiscard]] constexpr uint8_t Red(uint32_t color)
{
    return uint8_t(color);
}
[[nodiscard]] constexpr uint8_t Green(uint32_t color)
{
    return uint8_t(color >> 8);
}
[[nodiscard]] constexpr uint8_t Blue(uint32_t color)
{
    return uint8_t(color >> 16);
}
[[nodiscard]] constexpr uint32_t FromRgb(int red, int green, int blue)
{
    return uint32_t(red & 0xFF) | uint32_t(green & 0xFF) << 8 | uint32_t(blue & 0xFF) << 16;
}

// The value of a colour name such as "clNavy" or "clBtnFace", case ignored.
[[nodiscard]] std::optional<uint32_t> FromName(QStringView name);

// Reads the colour text of a class line: a colour name, else a 32-bit integer
// (optional leading spaces and sign, decimal, or hexadecimal after "$", "x" or
// "0x"). Raises TolvaneError "'<text>' is not a valid integer value" otherwise.
[[nodiscard]] uint32_t FromText(const QString &text);

// The integer reading alone; nullopt when the text is not a whole integer.
[[nodiscard]] std::optional<int32_t> ParseInteger(QStringView text);

} // namespace Colors
