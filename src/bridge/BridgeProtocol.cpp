#include "bridge/BridgeProtocol.h"

#include <cstdint>

namespace BridgeProtocol {

namespace {

// Ten digits hold any count up to 9,999,999,999; a longer count is not ours.
constexpr std::size_t MaxCountDigits = 10;

} // namespace

std::string EncodeFrame(std::string_view text)
{
    std::string frame = std::to_string(text.size());
    frame.reserve(frame.size() + text.size() + 2);
    frame += ':';
    frame.append(text);
    frame += ',';
    return frame;
}

std::optional<std::string> TakeFrame(std::string_view &stream)
{
    std::size_t pos = 0;
    std::uint64_t count = 0;
    while (pos < stream.size() && stream[pos] >= '0' && stream[pos] <= '9') {
        if (pos == MaxCountDigits)
            return std::nullopt;
        count = count * 10 + static_cast<std::uint64_t>(stream[pos] - '0');
        ++pos;
    }
    if (pos == 0 || pos == stream.size() || stream[pos] != ':')
        return std::nullopt;
    ++pos;
    if (stream.size() - pos < count + 1 || stream[pos + count] != ',')
        return std::nullopt;
    std::string text(stream.substr(pos, static_cast<std::size_t>(count)));
    stream.remove_prefix(pos + count + 1);
    return text;
}

std::optional<std::string> DecodeFrame(std::string_view stream)
{
    std::optional<std::string> text = TakeFrame(stream);
    if (!stream.empty())
        return std::nullopt;
    return text;
}

} // namespace BridgeProtocol
