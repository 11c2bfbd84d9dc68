// Writes the manual page or a shell's completions of the veltrane program to the standard output, for
// the build to install: made from the program's own commands and settings, they cannot drift from them.
#include "Completions.h"
#include "ManualPage.h"
#include "SettingsReload.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    const std::string what = argc == 2 ? argv[1] : "";
    const auto schema = veltrane::SettingsReload::schema();
    const veltrane::Completions completions(schema);
    if (what == "man") {
        std::cout << veltrane::ManualPage::roff(schema, VELTRANE_VERSION);
    } else if (what == "bash" || what == "zsh" || what == "fish") {
        std::cout << (what == "bash" ? completions.bash() : what == "zsh" ? completions.zsh() : completions.fish());
    } else {
        std::cerr << "usage: veltrane-docs man | bash | zsh | fish\n";
        return 2;
    }
    return 0;
}
