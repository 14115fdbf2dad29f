// tolvane-bridge.exe: lets the editor, running outside Wine, reach the game
// editor's trigger window inside it.
//   tolvane-bridge.exe read    writes the script box's text to standard output
//   tolvane-bridge.exe write   puts the text from standard input into the box
//   tolvane-bridge.exe find    only looks for the box
// Both texts are one frame of BridgeProtocol. Exit codes: 0 done (for read also
// when there is no script box: the frame is then empty), 1 no script box to
// write or find, 2 bad use or a malformed frame (nothing is written then).

#include "bridge/BridgeProtocol.h"
#include "bridge/Win32Trigger.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

std::string ReadAllInput()
{
    std::string input;
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0)
        input.append(chunk, n);
    return input;
}

bool WriteAllOutput(const std::string &bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Text mode would turn each LF into CR LF on the way.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);

    if (argc != 2)
        return 2;
    if (std::strcmp(argv[1], "read") == 0)
        return WriteAllOutput(BridgeProtocol::EncodeFrame(Win32Trigger::ReadTriggerText())) ? 0 : 2;
    if (std::strcmp(argv[1], "write") == 0) {
        const std::optional<std::string> text = BridgeProtocol::DecodeFrame(ReadAllInput());
        if (!text)
            return 2;
        return Win32Trigger::WriteTriggerText(*text) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "find") == 0)
        return Win32Trigger::FindTriggerTextBox() ? 0 : 1;
    return 2;
}
