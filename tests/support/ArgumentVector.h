#pragma once

#include <string>
#include <vector>

namespace veltrane::testsupport {

// The words as exec and spawn want them: pointers into the strings' own buffers, then a null. The
// strings must outlive the vector.
inline std::vector<char*> argumentVector(std::vector<std::string>& words)
{
    std::vector<char*> pointers;
    for (auto& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace veltrane::testsupport
