#include "platform/linux/settings/TextFile.h"

#include "platform/linux/reactor/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>

namespace veltrane::linuxbackend {

namespace {

void writeAll(int descriptor, std::string_view text, const std::string& what)
{
    while (!text.empty()) {
        const auto written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno != EINTR) {
            throwLastError(what);
        }
        text.remove_prefix(written < 0 ? 0 : static_cast<std::size_t>(written));
    }
}

// A new name beside the target, hidden, that no other writer of this or another process uses.
std::filesystem::path temporaryBeside(const std::filesystem::path& target)
{
    static std::atomic<unsigned> written{0};
    return target.parent_path() / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                                   std::to_string(written++) + ".tmp");
}

// The new file keeps the permissions the user gave the old one.
void keepMode(int descriptor, const std::filesystem::path& target, const std::string& what)
{
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 && ::fchmod(descriptor, status.st_mode & 07777) != 0) {
        throwLastError(what);
    }
}

void writeSynced(const std::filesystem::path& temporary, const std::filesystem::path& target,
                 std::string_view text, const std::string& what)
{
    const auto file = FileDescriptor::opened(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666), what);
    keepMode(file.get(), target, what);
    writeAll(file.get(), text, what);
    if (::fsync(file.get()) != 0) {
        throwLastError(what);
    }
}

// Makes the rename itself survive a crash. Some file systems cannot sync a folder; the new text is in
// place all the same, so that is no failure.
void syncFolder(const std::filesystem::path& folder)
{
    const FileDescriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (descriptor.valid()) {
        ::fsync(descriptor.get());
    }
}

}  // namespace

std::optional<std::string> readTextFile(const std::filesystem::path& path)
{
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        throwLastError("cannot read " + path.string());
    }
    std::string text;
    std::array<char, 4096> chunk{};
    for (;;) {
        const auto read = ::read(file.get(), chunk.data(), chunk.size());
        if (read == 0) {
            return text;
        }
        if (read < 0 && errno != EINTR) {
            throwLastError("cannot read " + path.string());
        }
        text.append(chunk.data(), read < 0 ? 0 : static_cast<std::size_t>(read));
    }
}

void replaceTextFile(const std::filesystem::path& path, std::string_view text)
{
    // Through a symbolic link, as when the file is kept with the user's other configuration files, the
    // link stays and the file it leads to is replaced.
    const auto target = std::filesystem::weakly_canonical(path);
    std::filesystem::create_directories(target.parent_path());
    const auto temporary = temporaryBeside(target);
    const std::string what = "cannot write " + path.string();
    try {
        writeSynced(temporary, target, text, what);
        if (::rename(temporary.c_str(), target.c_str()) != 0) {
            throwLastError(what);
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    syncFolder(target.parent_path());
}

}  // namespace veltrane::linuxbackend
