#include "framework/log/Log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace Zestra
{

void Log(const std::string& text)
{
    if (text.empty() || text.back() != '\n')
    {
        std::string line = text + "\n";
        std::fputs(line.c_str(), stderr);
        return;
    }
    std::fputs(text.c_str(), stderr);
}

void LogFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0)
    {
        std::vector<char> buffer(size_t(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), size_t(length));
    }
    va_end(again);
    Log(text);
}

void LogDetail(const std::string& text)
{
    if (std::getenv("VELMORA_DEBUG") != nullptr)
        Log(text);
}

} // namespace Zestra
