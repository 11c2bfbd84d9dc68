// Any bytes as a desktop entry, up to the first NUL; after it, NUL-separated, the instance and the
// class of a window and an executable to look its application up by. Checked on every input:
// - an application found has the entry's id and a Name of printable text, as the desktop shows it;
// - an application found by any name is found by its desktop file id too.

#include "FuzzInput.h"
#include "platform/linux/system/PrintableText.h"
#include "platform/linux/x11/DesktopEntries.h"

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using veltrane::fuzz::fail;
using veltrane::linuxbackend::DesktopEntries;
using veltrane::linuxbackend::isPrintableText;

constexpr std::string_view kId = "org.example.Editor";

const std::filesystem::path& applicationsFolder()
{
    static const std::filesystem::path folder = [] {
        std::string made = (std::filesystem::temp_directory_path() / "desktop-entry-fuzzer-XXXXXX").string();
        if (::mkdtemp(made.data()) == nullptr) {
            fail("cannot make a folder for the desktop entry");
        }
        return std::filesystem::path(made);
    }();
    return folder;
}

std::vector<std::string> queriesIn(std::string_view line)
{
    std::vector<std::string> queries;
    for (std::size_t start = 0; start <= line.size() && queries.size() < 3;) {
        const auto end = std::min(line.find('\0', start), line.size());
        queries.emplace_back(line.substr(start, end - start));
        start = end + 1;
    }
    queries.resize(3);
    return queries;
}

void checkFound(const std::optional<DesktopEntries::Entry>& entry, const DesktopEntries& entries,
                const std::string& how)
{
    if (!entry) {
        return;
    }
    if (entry->id != kId || entry->name.empty() || !isPrintableText(entry->name)) {
        fail("found by " + how + " an application that is no entry's: " + entry->id + " named " +
             entry->name);
    }
    if (entries.forWindowClass("", std::string(kId)) != entry) {
        fail("found by " + how + " an application that its desktop file id does not find");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto end = std::min(input.find('\0'), input.size());
    // A new file each time: the file system would write a truncated one out at once.
    const auto file = applicationsFolder() / (std::string(kId) + ".desktop");
    std::filesystem::remove(file);
    std::ofstream(file, std::ios::binary) << input.substr(0, end);
    const auto queries = queriesIn(end < input.size() ? input.substr(end + 1) : std::string_view());

    const DesktopEntries entries({applicationsFolder()});
    checkFound(entries.forWindowClass(queries[0], queries[1]), entries, "window class");
    checkFound(entries.forExecutable(queries[2]), entries, "executable");
    checkFound(entries.forWindowClass("", "Editor"), entries, "the id's last part");
    return 0;
}
