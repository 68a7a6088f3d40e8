// Whole files for test fixtures, in binary so line endings stay as written. Writing makes the parent folders first,
// so a fixture never depends on what an earlier step happened to create; reading a missing file gives "".
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace TestSupport
{

inline void WriteFile(const std::filesystem::path& path, std::string_view text)
{
    if (path.has_parent_path())
    {
        std::error_code ignored; // a failed folder shows up as the file the test then cannot find
        std::filesystem::create_directories(path.parent_path(), ignored);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace TestSupport
