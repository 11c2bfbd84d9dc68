#include "platform/linux/system/KernelRelease.h"

#include <gtest/gtest.h>

namespace veltrane::linuxbackend {
namespace {

using Version = platform::OperatingSystemVersion;

TEST(KernelRelease, ReadsTheLeadingNumbersOfTheRelease)
{
    EXPECT_EQ(kernelReleaseVersion("6.1.0-57-amd64"), (Version{6, 1, 0}));
    EXPECT_EQ(kernelReleaseVersion("5.15.0-91-generic"), (Version{5, 15, 0}));
    EXPECT_EQ(kernelReleaseVersion("6.10.14-linuxkit"), (Version{6, 10, 14}));
    EXPECT_EQ(kernelReleaseVersion("4.19.112+"), (Version{4, 19, 112}));
    EXPECT_EQ(kernelReleaseVersion("6.8"), (Version{6, 8, 0}));
    EXPECT_EQ(kernelReleaseVersion("6.8.1.2"), (Version{6, 8, 1}));
}

TEST(KernelRelease, StopsAtThePartThatIsNoNumber)
{
    EXPECT_EQ(kernelReleaseVersion(""), (Version{}));
    EXPECT_EQ(kernelReleaseVersion("generic"), (Version{}));
    EXPECT_EQ(kernelReleaseVersion("6.x.3"), (Version{6, 0, 0}));
    EXPECT_EQ(kernelReleaseVersion("6.-1.3"), (Version{6, 0, 0}));
    EXPECT_EQ(kernelReleaseVersion("6.99999999999.3"), (Version{6, 0, 0}));
}

}  // namespace
}  // namespace veltrane::linuxbackend
