#pragma once

#include <optional>
#include <string>
#include <string_view>

// The trigger text crosses the pipe to and from the bridge helper as one frame:
// the byte count in decimal, a colon, the bytes, a comma ("5:hello,"). Any byte
// value may appear in the text, so the count alone says where it ends.
namespace BridgeProtocol {

[[nodiscard]] std::string EncodeFrame(std::string_view text);

// Takes the frame at the front of stream off it and returns its text; nothing,
// and stream untouched, when the front is not a whole well-formed frame.
[[nodiscard]] std::optional<std::string> TakeFrame(std::string_view &stream);

// The text of a stream that holds exactly one well-formed frame and nothing
// else; nothing for a truncated, malformed or oversized frame or trailing bytes.
[[nodiscard]] std::optional<std::string> DecodeFrame(std::string_view stream);

} // namespace BridgeProtocol
