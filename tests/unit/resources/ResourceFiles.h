// The stored resource files of the source tree, found from this file's place so any build folder works.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pelluna::testing {

inline std::filesystem::path ResourcePath(const std::string& name) {
    std::string here = __FILE__;
#ifdef _WIN32
    // Under Wine the Unix root is drive Z:.
    if (!here.empty() && here.front() == '/') {
        here = "Z:" + here;
        for (char& c : here)
            if (c == '/') c = '\\';
    }
#endif
    return std::filesystem::path(here).parent_path() / ".." / ".." / ".." / "src" / "resources" / name;
}

inline std::vector<std::uint8_t> ReadResource(const std::string& name) {
    std::ifstream in(ResourcePath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace pelluna::testing
