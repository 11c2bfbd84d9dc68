#pragma once

#include <cstdlib>
#include <memory>

namespace veltrane::desktoptest {

// A reply of the X server, freed with this object.
template <typename Reply> using XReply = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> XReply<Reply> ownReply(Reply* reply)
{
    return XReply<Reply>(reply, &std::free);
}

}  // namespace veltrane::desktoptest
