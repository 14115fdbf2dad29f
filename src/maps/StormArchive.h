#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A map's archive as StormLib reads and writes it. Plain C++ on the C library
// and StormLib alone: these functions run in a child process (Isolation.h),
// where a damaged archive that stops StormLib takes only the child with it.
// Errors are StormLib's codes (errno values below 1000 on this system).
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

// The script of the map at `path` and whether the map may be written.
[[nodiscard]] ReadOutcome ReadScript(const std::string &path);

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

// StormLib's own error codes in words; nullptr for a system error (errno).
[[nodiscard]] const char *Reason(uint32_t code);

// The fields of an outcome as bytes, to cross from the child to the parent;
// Decode gives false for bytes that are not an outcome.
[[nodiscard]] std::string Encode(const ReadOutcome &outcome);
[[nodiscard]] std::string Encode(const WriteOutcome &outcome);
[[nodiscard]] bool Decode(const std::string &bytes, ReadOutcome &outcome);
[[nodiscard]] bool Decode(const std::string &bytes, WriteOutcome &outcome);

} // namespace StormArchive
