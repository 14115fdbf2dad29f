#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A map's archive as StormLib reads and writes it. Plain C++ on the C library
// and StormLib alone: reading and writing run in the helper program
// tolvane-maps (Isolation.h), where a damaged archive that stops StormLib
// takes only the helper with it. Errors are StormLib's codes (errno values
// below 1000 on this system).
namespace StormArchive {

enum class Failure : uint32_t {
    None,
    Open, // StormLib does not open it as an archive
    NoScript,
    LuaScript,
    ReadScript,
    WriteScript, // replacing the script failed
    Close, // writing the archive's tables failed
    ReadBack, // the new archive does not open or read
    ScriptDiffers, // the script read back is not the one written
    FileDiffers, // another file changed or went; `detail` names it
    ListDiffers, // the file list lost a name; `detail` names it
    Checksums, // the new script fails the checksums of (attributes)
    Protected, // the map must not be written; `code` is its Protection
};

// Why a map that opens cannot be written safely.
enum class Protection : uint32_t { None, Malformed, VersionOne, Signed };

inline constexpr const char *kScriptNames[] = { "war3map.j", "scripts\\war3map.j" };
inline constexpr const char *kLuaNames[] = { "war3map.lua", "scripts\\war3map.lua" };

struct ReadOutcome {
    Failure failure = Failure::None;
    uint32_t code = 0;
    std::string scriptName;
    std::string script;
    Protection protection = Protection::None;
    uint64_t archiveOffset = 0; // 512 after a map header
};

// Where a file read goes: memory for `size` bytes, or nullptr when there is none.
using Place = std::function<char *(size_t size)>;

// The script of the map at `path` and whether the map may be written. With
// a `place`, the script goes there and outcome.script stays empty.
[[nodiscard]] ReadOutcome ReadScript(const std::string &path, const Place &place = {});

struct WriteOutcome {
    Failure failure = Failure::None;
    uint32_t code = 0;
    std::string detail;
    uint64_t archiveOffset = 0;
};

// Replaces the script inside `work`, a copy of the map at `original`, and
// reads the result back: the script must be `script` and every other file
// what it is in `original`. Refuses a map that ReadScript finds protected.
// `work` is left unusable on failure.
[[nodiscard]] WriteOutcome WriteScript(
    const std::string &original, const std::string &work, const std::string &script);

struct NewFile {
    std::string name;
    std::string bytes;
    bool encrypted = false;
};
struct NewArchive {
    std::vector<NewFile> files;
    bool listfile = true;
    bool attributes = true;
};
// Writes a new archive; 0 or StormLib's error.
[[nodiscard]] uint32_t Create(const std::string &path, const NewArchive &archive);

// The helper's answer to a request (its arguments) with its standard input:
//   read MAP                 Encode(ReadScript(MAP))
//   write MAP WORK           Encode(WriteScript(MAP, WORK, input))
// Empty for a request it does not know.
[[nodiscard]] std::string Answer(const std::vector<std::string> &request, const std::string &input);

// StormLib's own error codes in words; nullptr for a system error (errno).
[[nodiscard]] const char *Reason(uint32_t code);

// An outcome as bytes, to cross from the child to the parent. The script
// comes first and keeps its place, so neither side copies it: Decode leaves
// outcome.script empty and gives the script's size, the length of the
// front of `bytes` that is the script. False for bytes that are no outcome.
[[nodiscard]] std::string Encode(ReadOutcome outcome);
// What Encode puts after a script of that size that went to a place of its own.
[[nodiscard]] std::string Trailer(const ReadOutcome &outcome, uint64_t scriptSize);
[[nodiscard]] std::string Encode(const WriteOutcome &outcome);
[[nodiscard]] bool Decode(std::string_view bytes, ReadOutcome &outcome, size_t &scriptSize);
[[nodiscard]] bool Decode(std::string_view bytes, WriteOutcome &outcome);

} // namespace StormArchive
