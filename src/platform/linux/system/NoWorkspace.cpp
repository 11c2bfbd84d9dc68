#include "platform/linux/system/NoWorkspace.h"

namespace veltrane::linuxbackend {

void NoWorkspace::openApplication(const std::string& path, const std::vector<std::string>&,
                                  OpenCompletion completion)
{
    mainQueue_.async([path, completion = std::move(completion)] {
        completion("cannot open " + path + ": there is no desktop session");
    });
}

}  // namespace veltrane::linuxbackend
