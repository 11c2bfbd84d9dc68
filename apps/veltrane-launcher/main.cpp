#include "Launcher.h"
#include "app/Relauncher.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string_view>

namespace {

constexpr const char* kUsage = "usage: VeltraneLauncher.app                  start Veltrane, as at login\n"
                               "       VeltraneLauncher.app relaunch SECONDS start it again once it has quit "
                               "and that many seconds passed\n";

// The helper lives inside the program's folder, where the application expects it; the program is at
// the top of that folder.
std::filesystem::path program()
{
    std::error_code error;
    const auto helper = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string path = helper.string();
    const std::string_view inside = veltrane::Relauncher::kHelperPath;
    const auto folder = path.ends_with(inside)
                            ? std::filesystem::path(path.substr(0, path.size() - inside.size()))
                            : helper.parent_path();
    return folder / "veltrane";
}

std::optional<std::int64_t> seconds(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 1) {
        return veltrane::Launcher(program()).login();
    }
    if (argc == 3 && std::string_view(argv[1]) == "relaunch") {
        if (const auto delay = seconds(argv[2])) {
            return veltrane::Launcher(program()).relaunch(*delay);
        }
        std::cerr << "veltrane-launcher: the delay must be a whole number of seconds, not \"" << argv[2]
                  << "\"\n";
    }
    std::cerr << kUsage;
    return 2;
}
