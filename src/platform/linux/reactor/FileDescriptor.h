#pragma once

#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

namespace veltrane::linuxbackend {

// Throws the error of the system call that just failed, saying what it was for.
[[noreturn]] inline void throwLastError(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

// An open file descriptor, closed with its owner.
class FileDescriptor {
public:
    // Owns what a system call returned; -1 owns nothing.
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    FileDescriptor() = default;
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other) {
            reset();
            descriptor_ = std::exchange(other.descriptor_, -1);
        }
        return *this;
    }

    // Owns what a system call returned, and throws std::system_error naming what failed when it failed.
    static FileDescriptor opened(int descriptor, const std::string& what)
    {
        if (descriptor < 0) {
            throwLastError(what);
        }
        return FileDescriptor(descriptor);
    }

    int get() const { return descriptor_; }
    bool valid() const { return descriptor_ >= 0; }
    // Closes what it owns, if anything.
    void reset()
    {
        if (descriptor_ >= 0) {
            ::close(std::exchange(descriptor_, -1));
        }
    }

private:
    int descriptor_ = -1;
};

}  // namespace veltrane::linuxbackend
