#include "platform/linux/x11/DesktopEntries.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace veltrane::linuxbackend {
namespace {

using namespace std::string_literals;
using Entry = DesktopEntries::Entry;

class DesktopEntriesTest : public ::testing::Test {
protected:
    void write(const std::filesystem::path& path, const std::string& text) const
    {
        std::filesystem::create_directories((folder.path() / path).parent_path());
        testsupport::TemporaryFolder::write(folder.path() / path, text);
    }

    static std::string application(const std::string& name, const std::string& more = "")
    {
        return "[Desktop Entry]\nType=Application\nName=" + name + "\n" + more;
    }

    DesktopEntries entries() const
    {
        return DesktopEntries({folder / "home", folder / "missing", folder / "system"});
    }

    const testsupport::TemporaryFolder folder;
};

// Earlier folders win, and a hidden entry removes the application.
TEST_F(DesktopEntriesTest, FindsTheApplicationOfAWindowClassThenOfAnExecutableInTheFirstFolderThatHasIt)
{
    write("home/editor.desktop", application("Mine"));
    write("system/editor.desktop", application("System"));
    write("home/gone.desktop", application("Gone", "Hidden=true\n"));
    write("system/gone.desktop", application("Gone"));
    write("system/kde/konsole.desktop", application("Konsole"));

    write("system/a.desktop", application("Hidden Terminal", "StartupWMClass=Term\nNoDisplay=true\n"));
    write("system/b.desktop", application("Terminal", "StartupWMClass=Term\n"));
    write("system/term.desktop", application("Not By Id"));
    write("system/org.example.Viewer.desktop", application("Viewer", "Name[de]=Betrachter\n"));
    write("system/player.desktop",
          application("Player", "Exec=env LANG=C -i -u DISPLAY \"/opt/my apps/player\" --start %U\n"));

    const auto desktop = entries();
    EXPECT_EQ(desktop.forWindowClass("", "editor"), (Entry{"editor", "Mine"}));
    EXPECT_EQ(desktop.forWindowClass("gone", "Gone"), std::nullopt);
    EXPECT_EQ(desktop.forWindowClass("kde-konsole", ""), (Entry{"kde-konsole", "Konsole"}));
    EXPECT_EQ(desktop.forWindowClass("term", "Term"), (Entry{"b", "Terminal"}));
    EXPECT_EQ(desktop.forWindowClass("anything", "VIEWER"), (Entry{"org.example.Viewer", "Viewer"}));
    EXPECT_EQ(desktop.forWindowClass("org.example.viewer", "Other"), (Entry{"org.example.Viewer", "Viewer"}));
    EXPECT_EQ(desktop.forWindowClass("nobody", "Nobody"), std::nullopt);
    EXPECT_EQ(desktop.forExecutable("/usr/lib/player"), (Entry{"player", "Player"}));
    EXPECT_EQ(desktop.forExecutable("/usr/bin/env"), std::nullopt);
}

TEST_F(DesktopEntriesTest, SkipsWhatIsNotAnApplicationEntry)
{
    write("system/binary.desktop", "\0\xff[Desktop Entry]\0Name=\x80\n"s);
    write("system/long.desktop", std::string(300000, 'x') + "\n" + application("Long"));
    write("system/huge.desktop", application("Huge") + std::string(2 << 20, '#'));
    write("system/groupless.desktop", "Type=Application\nName=Groupless\n");
    write("system/action.desktop", "[Desktop Entry]\nType=Application\n[Desktop Action new]\nName=Action\n");
    write("system/link.desktop", "[Desktop Entry]\nType=Link\nName=Link\n");
    write("system/notes.txt", application("Notes"));
    write("system/garbled.desktop", application("Bad\xc0\xaf\x1b[0m"));
    write("system/quote.desktop", application("Quote", "Exec=\"unterminated\n"));

    const auto desktop = entries();
    EXPECT_EQ(desktop.forWindowClass("long", ""), (Entry{"long", "Long"}));
    EXPECT_EQ(desktop.forExecutable("/bin/unterminated"), (Entry{"quote", "Quote"}));
    for (const char* id : {"binary", "huge", "groupless", "action", "link", "notes", "garbled"}) {
        EXPECT_EQ(desktop.forWindowClass(id, ""), std::nullopt) << id;
    }
}

}  // namespace
}  // namespace veltrane::linuxbackend
