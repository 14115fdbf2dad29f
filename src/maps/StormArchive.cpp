#include "StormArchive.h"

#include <StormLib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace StormArchive {

namespace {

struct ArchiveCloser {
    void operator()(void *archive) const { SFileCloseArchive(archive); }
};
using Archive = std::unique_ptr<void, ArchiveCloser>;

// No script of a map comes near this; a damaged table may claim gigabytes.
constexpr DWORD kLargestFile = 512u << 20;

uint32_t LastError(uint32_t fallback = ERROR_FILE_CORRUPT)
{
    const DWORD code = GetLastError();
    return code != ERROR_SUCCESS ? code : fallback;
}

Archive Open(const std::string &path, DWORD flags, uint32_t &code)
{
    HANDLE archive = nullptr;
    if (!SFileOpenArchive(path.c_str(), 0, flags, &archive)) {
        code = LastError(ERROR_BAD_FORMAT);
        return {};
    }
    return Archive(archive);
}

// Reads the file into the memory `place` gives for its size.
bool ReadFile(HANDLE archive, const char *name, const Place &place, uint32_t &code)
{
    HANDLE file = nullptr;
    if (!SFileOpenFileEx(archive, name, SFILE_OPEN_FROM_MPQ, &file)) {
        code = LastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    DWORD high = 0;
    const DWORD size = SFileGetFileSize(file, &high);
    char *bytes = size != SFILE_INVALID_SIZE && high == 0 && size <= kLargestFile ? place(size) : nullptr;
    DWORD read = 0;
    const bool ok = bytes != nullptr
        && (size == 0 || (SFileReadFile(file, bytes, size, &read, nullptr) && read == size));
    if (!ok)
        code = LastError();
    SFileCloseFile(file);
    return ok;
}

bool ReadFile(HANDLE archive, const char *name, std::string &bytes, uint32_t &code)
{
    return ReadFile(
        archive, name,
        [&bytes](size_t size) {
            // Room for the fields Encode puts after a script.
            bytes.reserve(size + 256);
            bytes.assign(size, '\0');
            return bytes.data();
        },
        code);
}

const char *FindName(HANDLE archive, const char *const (&names)[2])
{
    for (const char *name : names) {
        if (SFileHasFile(archive, name))
            return name;
    }
    return nullptr;
}

Protection ProtectionOf(HANDLE archive)
{
    DWORD flags = 0;
    SFileGetFileInfo(archive, SFileMpqFlags, &flags, sizeof flags, nullptr);
    if (flags & (MPQ_FLAG_MALFORMED | MPQ_FLAG_HASH_TABLE_CUT | MPQ_FLAG_BLOCK_TABLE_CUT))
        return Protection::Malformed;
    DWORD signatures = SIGNATURE_TYPE_NONE;
    SFileGetFileInfo(archive, SFileMpqSignatures, &signatures, sizeof signatures, nullptr);
    return signatures != SIGNATURE_TYPE_NONE ? Protection::Signed : Protection::None;
}

uint64_t ArchiveOffset(HANDLE archive)
{
    ULONGLONG offset = 0;
    SFileGetFileInfo(archive, SFileMpqHeaderOffset, &offset, sizeof offset, nullptr);
    return offset;
}

// The script, else why there is none to edit.
void ReadScriptOf(HANDLE archive, ReadOutcome &outcome, const Place &place)
{
    const char *name = FindName(archive, kScriptNames);
    if (name == nullptr) {
        outcome.failure = FindName(archive, kLuaNames) != nullptr ? Failure::LuaScript : Failure::NoScript;
        return;
    }
    outcome.scriptName = name;
    const bool read = place ? ReadFile(archive, name, place, outcome.code)
                            : ReadFile(archive, name, outcome.script, outcome.code);
    if (!read)
        outcome.failure = Failure::ReadScript;
}

// Names StormLib makes up for files that no list names: "File00000012.xxx".
bool IsMadeUpName(const char *name)
{
    if (std::strncmp(name, "File", 4) != 0 || std::strlen(name) < 13 || name[12] != '.')
        return false;
    return std::all_of(name + 4, name + 12, [](char c) { return c >= '0' && c <= '9'; })
        && std::strpbrk(name, "\\/") == nullptr;
}

uint64_t Fingerprint(const std::string &bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ull;
    return hash ^ bytes.size();
}

// Where the file of that name sits in the archive's file table.
DWORD FileIndex(HANDLE archive, const char *name)
{
    HANDLE file = nullptr;
    DWORD index = ~DWORD(0);
    if (SFileOpenFileEx(archive, name, SFILE_OPEN_FROM_MPQ, &file)) {
        SFileGetFileInfo(file, SFileInfoFileIndex, &index, sizeof index, nullptr);
        SFileCloseFile(file);
    }
    return index;
}

// Every file but the script and the archive's own, by name; the made-up
// names change when the archive is compacted, so those files count as a set.
// The files to leave out are found by their place, since a map without a
// list knows them by made-up names too.
struct Contents {
    std::map<std::string, uint64_t> named;
    std::vector<uint64_t> unnamed;
};

Contents ContentsOf(HANDLE archive, const char *script)
{
    const DWORD skipped[] = { FileIndex(archive, script), FileIndex(archive, LISTFILE_NAME),
        FileIndex(archive, ATTRIBUTES_NAME), FileIndex(archive, SIGNATURE_NAME) };
    Contents contents;
    SFILE_FIND_DATA found;
    HANDLE search = SFileFindFirstFile(archive, "*", &found, nullptr);
    for (bool more = search != nullptr; more; more = SFileFindNextFile(search, &found)) {
        if (std::find(std::begin(skipped), std::end(skipped), found.dwBlockIndex) != std::end(skipped))
            continue;
        const char *name = found.cFileName;
        std::string bytes;
        uint32_t code = 0;
        // A file StormLib cannot read here must be just as unreadable there.
        const uint64_t print = ReadFile(archive, name, bytes, code) ? Fingerprint(bytes) : ~uint64_t(code);
        if (IsMadeUpName(name))
            contents.unnamed.push_back(print);
        else
            contents.named.emplace(name, print);
    }
    if (search != nullptr)
        SFileFindClose(search);
    std::sort(contents.unnamed.begin(), contents.unnamed.end());
    return contents;
}

// Now, in the file time of (attributes): 100 ns steps since 1601.
ULONGLONG FileTimeNow()
{
    using namespace std::chrono;
    const auto since1970 = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100;
    return ULONGLONG(since1970) + 116444736000000000ull;
}

bool Replace(HANDLE archive, const char *name, const std::string &script, uint32_t &code)
{
    HANDLE file = nullptr;
    DWORD flags = MPQ_FILE_COMPRESS;
    LCID locale = LANG_NEUTRAL;
    if (SFileOpenFileEx(archive, name, SFILE_OPEN_FROM_MPQ, &file)) {
        SFileGetFileInfo(file, SFileInfoFlags, &flags, sizeof flags, nullptr);
        SFileGetFileInfo(file, SFileInfoLocale, &locale, sizeof locale, nullptr);
        SFileCloseFile(file);
    }
    // The new script is stored as the old one was: compressed, encrypted or not.
    flags &= MPQ_FILE_IMPLODE | MPQ_FILE_COMPRESS | MPQ_FILE_ENCRYPTED | MPQ_FILE_FIX_KEY
        | MPQ_FILE_SINGLE_UNIT | MPQ_FILE_SECTOR_CRC;
    const auto size = DWORD(script.size());
    if (!SFileCreateFile(
            archive, name, FileTimeNow(), size, locale, flags | MPQ_FILE_REPLACEEXISTING, &file)) {
        code = LastError(ERROR_CAN_NOT_COMPLETE);
        return false;
    }
    const bool written = size == 0 || SFileWriteFile(file, script.data(), size, MPQ_COMPRESSION_ZLIB);
    if (!written)
        code = LastError(ERROR_CAN_NOT_COMPLETE);
    if (!SFileFinishFile(file) && written) {
        code = LastError(ERROR_CAN_NOT_COMPLETE);
        return false;
    }
    return written;
}

// Drops the space the old script took. StormLib copies every file's stored
// bytes into a new archive beside `work`; when it cannot (an encrypted file
// that no list names), the archive stays as it was and only keeps that space.
void Compact(const std::string &work)
{
    uint32_t code = 0;
    Archive archive = Open(work, 0, code);
    if (archive != nullptr)
        SFileCompactArchive(archive.get(), nullptr, false);
    std::remove((work + ".tmp").c_str());
}

WriteOutcome Failed(Failure failure, uint32_t code, std::string detail = {})
{
    WriteOutcome outcome;
    outcome.failure = failure;
    outcome.code = code;
    outcome.detail = std::move(detail);
    return outcome;
}

WriteOutcome Verify(const std::string &original, const std::string &work, const std::string &script)
{
    uint32_t code = 0;
    Archive before = Open(original, STREAM_FLAG_READ_ONLY, code);
    Archive after = Open(work, STREAM_FLAG_READ_ONLY, code);
    if (before == nullptr || after == nullptr)
        return Failed(Failure::ReadBack, code);
    const char *name = FindName(after.get(), kScriptNames);
    std::string written;
    if (name == nullptr || !ReadFile(after.get(), name, written, code))
        return Failed(Failure::ReadBack, code);
    if (written != script)
        return Failed(Failure::ScriptDiffers, 0);
    const DWORD checks = SFileVerifyFile(
        after.get(), name, SFILE_VERIFY_SECTOR_CRC | SFILE_VERIFY_FILE_CRC | SFILE_VERIFY_FILE_MD5);
    if (checks & VERIFY_FILE_ERROR_MASK)
        return Failed(Failure::Checksums, 0);
    const Contents old = ContentsOf(before.get(), name);
    const Contents now = ContentsOf(after.get(), name);
    for (const auto &[file, print] : old.named) {
        const auto there = now.named.find(file);
        if (there == now.named.end() || there->second != print)
            return Failed(Failure::FileDiffers, 0, file);
    }
    if (old.unnamed != now.unnamed || now.named.size() != old.named.size())
        return Failed(Failure::FileDiffers, 0);
    // StormLib writes a new (listfile) only where there was one.
    if (SFileHasFile(before.get(), LISTFILE_NAME) != SFileHasFile(after.get(), LISTFILE_NAME))
        return Failed(Failure::FileDiffers, 0, LISTFILE_NAME);
    WriteOutcome outcome;
    outcome.archiveOffset = ArchiveOffset(after.get());
    return outcome;
}

void Put(std::string &out, uint64_t value)
{
    char bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = char(value >> (8 * i));
    out.append(bytes, 8);
}

void Put(std::string &out, const std::string &value)
{
    Put(out, uint64_t(value.size()));
    out += value;
}

// Reads the fields back in the order they were put.
class Fields {
public:
    explicit Fields(std::string_view bytes)
        : m_bytes(bytes)
    {
    }
    template<typename T> void Get(T &value)
    {
        uint64_t number = 0;
        if (m_ok && m_bytes.size() - m_pos >= 8) {
            for (int i = 0; i < 8; ++i)
                number |= uint64_t(static_cast<unsigned char>(m_bytes[m_pos + size_t(i)])) << (8 * i);
            m_pos += 8;
        } else {
            m_ok = false;
        }
        value = T(number);
    }
    void Get(std::string &value)
    {
        uint64_t size = 0;
        Get(size);
        m_ok = m_ok && m_bytes.size() - m_pos >= size;
        value = m_ok ? std::string(m_bytes.substr(m_pos, size_t(size))) : std::string();
        m_pos += m_ok ? size_t(size) : 0;
    }
    [[nodiscard]] bool Whole() const { return m_ok && m_pos == m_bytes.size(); }

private:
    std::string_view m_bytes;
    size_t m_pos = 0;
    bool m_ok = true;
};

} // namespace

ReadOutcome ReadScript(const std::string &path, const Place &place)
{
    ReadOutcome first;
    // The game reads every map as an archive of the first version; map
    // protectors forge the rest of the header, which only that mode ignores.
    for (const DWORD mode : { DWORD(0), DWORD(MPQ_OPEN_FORCE_MPQ_V1) }) {
        ReadOutcome outcome;
        Archive archive = Open(path, STREAM_FLAG_READ_ONLY | mode, outcome.code);
        if (archive != nullptr) {
            outcome.protection = mode != 0 ? Protection::VersionOne : ProtectionOf(archive.get());
            outcome.archiveOffset = ArchiveOffset(archive.get());
            ReadScriptOf(archive.get(), outcome, place);
        } else {
            outcome.failure = Failure::Open;
        }
        if (outcome.failure == Failure::None)
            return outcome;
        if (mode == 0)
            first = std::move(outcome);
    }
    return first;
}

WriteOutcome WriteScript(const std::string &original, const std::string &work, const std::string &script)
{
    // The map as the editor opened it: it must read, and may be written.
    const ReadOutcome check = ReadScript(original);
    if (check.failure != Failure::None)
        return Failed(check.failure, check.code);
    if (check.protection != Protection::None)
        return Failed(Failure::Protected, uint32_t(check.protection));
    {
        uint32_t code = 0;
        Archive archive = Open(work, 0, code);
        if (archive == nullptr)
            return Failed(Failure::Open, code);
        const char *name = FindName(archive.get(), kScriptNames);
        if (name == nullptr)
            return Failed(
                FindName(archive.get(), kLuaNames) != nullptr ? Failure::LuaScript : Failure::NoScript, 0);
        if (!Replace(archive.get(), name, script, code))
            return Failed(Failure::WriteScript, code);
        if (!SFileCloseArchive(archive.release()))
            return Failed(Failure::Close, LastError(ERROR_CAN_NOT_COMPLETE));
    }
    Compact(work);
    return Verify(original, work, script);
}

uint32_t Create(const std::string &path, const NewArchive &archive)
{
    SFILE_CREATE_MPQ info {};
    info.cbSize = sizeof info;
    info.dwMpqVersion = MPQ_FORMAT_VERSION_1;
    info.dwFileFlags1 = archive.listfile ? MPQ_FILE_DEFAULT_INTERNAL : 0;
    info.dwFileFlags2 = archive.attributes ? MPQ_FILE_DEFAULT_INTERNAL : 0;
    info.dwAttrFlags
        = archive.attributes ? MPQ_ATTRIBUTE_CRC32 | MPQ_ATTRIBUTE_FILETIME | MPQ_ATTRIBUTE_MD5 : 0;
    info.dwSectorSize = 0x1000;
    info.dwMaxFileCount = DWORD(archive.files.size()) + 8;
    HANDLE handle = nullptr;
    if (!SFileCreateArchive2(path.c_str(), &info, &handle))
        return LastError(ERROR_CAN_NOT_COMPLETE);
    Archive created(handle);
    for (const NewFile &file : archive.files) {
        const DWORD flags = MPQ_FILE_COMPRESS | (file.encrypted ? MPQ_FILE_ENCRYPTED | MPQ_FILE_FIX_KEY : 0);
        uint32_t code = 0;
        HANDLE added = nullptr;
        if (!SFileCreateFile(
                handle, file.name.c_str(), 0, DWORD(file.bytes.size()), LANG_NEUTRAL, flags, &added))
            return LastError(ERROR_CAN_NOT_COMPLETE);
        const bool written = file.bytes.empty()
            || SFileWriteFile(added, file.bytes.data(), DWORD(file.bytes.size()), MPQ_COMPRESSION_ZLIB);
        code = written ? 0 : LastError(ERROR_CAN_NOT_COMPLETE);
        if (!SFileFinishFile(added) || code != 0)
            return code != 0 ? code : LastError(ERROR_CAN_NOT_COMPLETE);
    }
    return SFileCloseArchive(created.release()) ? 0 : LastError(ERROR_CAN_NOT_COMPLETE);
}

std::string Answer(const std::vector<std::string> &request, const std::string &input)
{
    if (request.size() == 2 && request[0] == "read")
        return Encode(ReadScript(request[1]));
    if (request.size() == 3 && request[0] == "write")
        return Encode(WriteScript(request[1], request[2], input));
    return {};
}

const char *Reason(uint32_t code)
{
    switch (code) {
    case ERROR_BAD_FORMAT:
        return "It is not an archive that StormLib can read.";
    case ERROR_HANDLE_EOF:
        return "The archive ends before its data do.";
    case ERROR_CAN_NOT_COMPLETE:
        return "StormLib could not complete the work.";
    case ERROR_FILE_CORRUPT:
        return "The archive is damaged.";
    case ERROR_UNKNOWN_FILE_KEY:
        return "A file is encrypted with a key that StormLib cannot find.";
    case ERROR_CHECKSUM_ERROR:
        return "A checksum does not match: the archive is damaged.";
    case ERROR_FILE_INCOMPLETE:
        return "A file of the archive is incomplete.";
    default:
        return code >= ERROR_BAD_FORMAT ? "StormLib reported an unknown error." : nullptr;
    }
}

std::string Encode(ReadOutcome outcome)
{
    std::string out = std::move(outcome.script);
    out += Trailer(outcome, out.size());
    return out;
}

std::string Trailer(const ReadOutcome &outcome, uint64_t scriptSize)
{
    std::string out;
    Put(out, uint64_t(outcome.failure));
    Put(out, outcome.code);
    Put(out, outcome.scriptName);
    Put(out, uint64_t(outcome.protection));
    Put(out, outcome.archiveOffset);
    Put(out, scriptSize);
    return out;
}

std::string Encode(const WriteOutcome &outcome)
{
    std::string out;
    Put(out, uint64_t(outcome.failure));
    Put(out, outcome.code);
    Put(out, outcome.detail);
    Put(out, outcome.archiveOffset);
    return out;
}

bool Decode(std::string_view bytes, ReadOutcome &outcome, size_t &scriptSize)
{
    uint64_t size = 0;
    Fields last(bytes.substr(bytes.size() - std::min<size_t>(bytes.size(), 8)));
    last.Get(size);
    if (!last.Whole() || size > bytes.size() - 8)
        return false;
    Fields fields(bytes.substr(size_t(size), bytes.size() - 8 - size_t(size)));
    fields.Get(outcome.failure);
    fields.Get(outcome.code);
    fields.Get(outcome.scriptName);
    fields.Get(outcome.protection);
    fields.Get(outcome.archiveOffset);
    scriptSize = size_t(size);
    return fields.Whole() && outcome.failure <= Failure::Protected
        && outcome.protection <= Protection::Signed;
}

bool Decode(std::string_view bytes, WriteOutcome &outcome)
{
    Fields fields(bytes);
    fields.Get(outcome.failure);
    fields.Get(outcome.code);
    fields.Get(outcome.detail);
    fields.Get(outcome.archiveOffset);
    return fields.Whole() && outcome.failure <= Failure::Protected;
}

} // namespace StormArchive
