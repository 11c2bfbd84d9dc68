#include "platform/linux/system/RunningInstance.h"

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace veltrane::linuxbackend {

namespace {

// The socket's address; a path too long for one cannot be listened on.
sockaddr_un addressOf(const std::filesystem::path& socket)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string& path = socket.native();
    if (path.size() >= sizeof address.sun_path) {
        throw std::system_error(std::make_error_code(std::errc::filename_too_long), socket.string());
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

FileDescriptor unixSocket(int flags)
{
    return FileDescriptor::opened(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | flags, 0),
                                  "cannot make a socket");
}

const sockaddr* generic(const sockaddr_un& address)
{
    return static_cast<const sockaddr*>(static_cast<const void*>(&address));
}

}  // namespace

std::filesystem::path RunningInstance::defaultPath()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') {
        return std::filesystem::path(runtime) / "veltrane.socket";
    }
    const auto folder = std::filesystem::temp_directory_path() / ("veltrane-" + std::to_string(::getuid()));
    // Another user's folder of that name is no place for this user's lock.
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        throwLastError("cannot make " + folder.string());
    }
    return folder / "veltrane.socket";
}

std::unique_ptr<RunningInstance> RunningInstance::claim(const std::filesystem::path& socket, Reactor& reactor,
                                                        std::function<void()> reopened)
{
    const auto lockPath = socket.string() + ".lock";
    auto lock = FileDescriptor::opened(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600),
                                       "cannot open " + lockPath);
    // The kernel lets go of the lock when its holder ends, however it ends.
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) {
            throwLastError("cannot lock " + lockPath);
        }
        announce(socket);
        return nullptr;
    }
    const auto address = addressOf(socket);
    auto listening = unixSocket(SOCK_NONBLOCK);
    // What is there was left by an instance that ended without removing it.
    ::unlink(socket.c_str());
    if (::bind(listening.get(), generic(address), sizeof address) != 0 || ::listen(listening.get(), 4) != 0) {
        throwLastError("cannot listen on " + socket.string());
    }
    return std::unique_ptr<RunningInstance>(
        new RunningInstance(std::move(lock), std::move(listening), reactor, std::move(reopened)));
}

// The instance may still be starting and not listening yet: then it is not told.
void RunningInstance::announce(const std::filesystem::path& socket)
{
    const auto address = addressOf(socket);
    const auto connection = unixSocket(0);
    [[maybe_unused]] const int connected = ::connect(connection.get(), generic(address), sizeof address);
}

RunningInstance::RunningInstance(FileDescriptor lock, FileDescriptor listening, Reactor& reactor,
                                 std::function<void()> reopened)
    : lock_(std::move(lock)), listening_(std::move(listening)), reopened_(std::move(reopened)),
      connecting_(reactor.watch("the socket of later starts", listening_.get(), EPOLLIN,
                                [this](std::uint32_t) { accept(); }))
{
}

void RunningInstance::accept()
{
    // A connection says all there is to say. One that cannot be taken (out of descriptors) would
    // leave the socket readable for ever: the reactor then drops it.
    for (;;) {
        const FileDescriptor connection(::accept4(listening_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!connection.valid()) {
            if (errno != EAGAIN && errno != EINTR && errno != ECONNABORTED) {
                throwLastError("cannot take a later start");
            }
            return;
        }
        reopened_();
    }
}

}  // namespace veltrane::linuxbackend
