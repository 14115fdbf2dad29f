#pragma once

#include <optional>
#include <string>
#include <string_view>

// The trigger text crosses the pipe to and from the bridge helper as one frame:
// the byte count in decimal, a colon, the bytes, a comma ("5:hello,"). Any byte
// value may appear in the text, so the count alone says where it ends.
namespace BridgeProtocol {

[[nodiscard]] std::string EncodeFrame(std::string_view text);

// The text of a stream that holds exactly one well-formed frame and nothing
// else; nothing for a truncated, malformed or oversized frame or trailing bytes.
[[nodiscard]] std::optional<std::string> DecodeFrame(std::string_view stream);

} // namespace BridgeProtocol
