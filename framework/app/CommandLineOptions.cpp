#include "framework/app/CommandLineOptions.h"

#include <algorithm>
#include <strings.h>

namespace Zestra
{

namespace
{
std::string Usage(const CommandLineOption& option)
{
    return option.value.empty() ? option.name : option.name + "=" + option.value;
}
} // namespace

void CommandLineOptions::Add(CommandLineOption option)
{
    for (CommandLineOption& existing : mOptions)
        if (strcasecmp(existing.name.c_str(), option.name.c_str()) == 0)
        {
            existing = std::move(option);
            return;
        }
    mOptions.push_back(std::move(option));
}

const CommandLineOption* CommandLineOptions::Find(const std::string& name) const
{
    for (const CommandLineOption& option : mOptions)
        if (strcasecmp(option.name.c_str(), name.c_str()) == 0)
            return &option;
    return nullptr;
}

std::string CommandLineOptions::HelpText(const std::string& title) const
{
    size_t width = 0;
    for (const CommandLineOption& option : mOptions)
        width = std::max(width, Usage(option).size());
    std::string text = "Options of " + title + ":\n";
    for (const CommandLineOption& option : mOptions)
    {
        std::string usage = Usage(option);
        text += "  " + usage + std::string(width - usage.size() + 2, ' ') + option.help + "\n";
    }
    return text;
}

} // namespace Zestra
