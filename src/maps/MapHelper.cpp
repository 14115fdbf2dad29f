// tolvane-maps: StormLib's side of the map reader, a program of its own so
// that a map that stops StormLib ends only this process (Isolation.h). It
// answers one request, read from standard input as fields each ended by a
// NUL, the script to write after them:
//   read MAP                  the script of MAP and whether MAP may be written
//   write MAP WORK SCRIPT     SCRIPT into WORK, a copy of MAP, read back and checked
// The answer goes to standard output as StormArchive::Encode writes it. Not
// meant to be run by hand.
#include "StormArchive.h"

#include <cstdio>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A forged table may ask StormLib for gigabytes; no real map needs this much
// more than the program holds at its start.
constexpr rlim_t kMemoryCeiling = rlim_t(2) << 30;

// What the program holds at its start: little, but under a sanitizer its
// shadow memory, which a ceiling from zero would leave no room beside.
rlim_t DataAtStart()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    char line[256];
    unsigned long long kilobytes = 0;
    while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr) {
        if (std::sscanf(line, "VmData: %llu kB", &kilobytes) == 1)
            break;
    }
    if (status != nullptr)
        std::fclose(status);
    return rlim_t(kilobytes) * 1024;
}

std::string ReadAll(std::FILE *file)
{
    std::string bytes;
    char chunk[1 << 16];
    for (size_t size; (size = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, size);
    return bytes;
}

bool WriteAll(const std::string &bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

// The script read straight into standard output, when that is a file in
// memory as the editor gives it: no copy of megabytes on the way.
class MappedOutput {
public:
    ~MappedOutput() { Unmap(); }
    char *Place(size_t size)
    {
        Unmap();
        if (ftruncate(STDOUT_FILENO, off_t(size)) != 0)
            return nullptr;
        void *data
            = mmap(nullptr, size + 1, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, STDOUT_FILENO, 0);
        m_data = data != MAP_FAILED ? static_cast<char *>(data) : nullptr;
        m_size = m_data != nullptr ? size : 0;
        return m_data;
    }
    size_t Size() const { return m_size; }
    void Unmap()
    {
        if (m_data != nullptr)
            munmap(m_data, m_size + 1);
        m_data = nullptr;
    }

private:
    char *m_data = nullptr;
    size_t m_size = 0;
};

bool AnswerReadInPlace(const std::string &path)
{
    MappedOutput output;
    const StormArchive::ReadOutcome outcome
        = StormArchive::ReadScript(path, [&output](size_t size) { return output.Place(size); });
    const size_t size = outcome.failure == StormArchive::Failure::None ? output.Size() : 0;
    output.Unmap();
    return ftruncate(STDOUT_FILENO, off_t(size)) == 0 && lseek(STDOUT_FILENO, off_t(size), SEEK_SET) >= 0
        && WriteAll(StormArchive::Trailer(outcome, size));
}

} // namespace

int main()
{
    const rlim_t ceiling = DataAtStart() + kMemoryCeiling;
    const rlimit limit { ceiling, ceiling };
    setrlimit(RLIMIT_DATA, &limit);
    // Started ahead of need, it waits here for its request.
    std::string input = ReadAll(stdin);
    std::vector<std::string> request;
    const size_t fields = input.starts_with("write") ? 3 : 2;
    for (size_t end; request.size() < fields && (end = input.find('\0')) != std::string::npos;) {
        request.push_back(input.substr(0, end));
        input.erase(0, end + 1);
    }
    struct stat output;
    if (request.size() == 2 && request[0] == "read" && fstat(STDOUT_FILENO, &output) == 0
        && S_ISREG(output.st_mode))
        return AnswerReadInPlace(request[1]) ? 0 : 1;
    const std::string answer = StormArchive::Answer(request, input);
    if (answer.empty()) {
        std::fputs("tolvane-maps: a helper of the editor, not meant to be run by hand\n", stderr);
        return 2;
    }
    return WriteAll(answer) ? 0 : 1;
}
