#include "platform/linux/system/LinuxBundle.h"

#include <gtest/gtest.h>

namespace veltrane::linuxbackend {
namespace {

TEST(LinuxBundle, AnswersTheInformationKeysFromTheValuesGiven)
{
    const LinuxBundle bundle({.identifier = "com.marrowind.Veltrane",
                              .name = "Veltrane",
                              .shortVersion = "0.1.0",
                              .buildNumber = "42",
                              .path = "/opt/veltrane/bin",
                              .copyright = "Copyright 2026"});

    EXPECT_EQ(bundle.bundlePath(), "/opt/veltrane/bin");
    EXPECT_EQ(bundle.bundleIdentifier(), "com.marrowind.Veltrane");
    EXPECT_EQ(bundle.infoString("CFBundleIdentifier"), "com.marrowind.Veltrane");
    EXPECT_EQ(bundle.infoString("CFBundleName"), "Veltrane");
    EXPECT_EQ(bundle.infoString("CFBundleDisplayName"), "Veltrane");
    EXPECT_EQ(bundle.infoString("CFBundleShortVersionString"), "0.1.0");
    EXPECT_EQ(bundle.infoString("CFBundleVersion"), "42");
    EXPECT_EQ(bundle.infoString("NSHumanReadableCopyright"), "Copyright 2026");
    EXPECT_EQ(bundle.infoString("CFBundleExecutable"), std::nullopt);
    EXPECT_EQ(bundle.localizedString("Quit", "Main", "Quit Veltrane"), "Quit Veltrane");
}

}  // namespace
}  // namespace veltrane::linuxbackend
