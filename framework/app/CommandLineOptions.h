// The options the program accepts: one table that both the parser and "-help" read, so an option cannot be
// accepted without being listed or listed without being accepted. The framework fills in its own options; a game
// adds its own to the same table (usually in its application's constructor).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Zestra
{

struct CommandLineOption
{
    std::string name;  // with its dash, e.g. "-seed"; matched without regard to case
    std::string value; // what the value stands for ("N", "FILE"); empty for an option that takes no value
    std::string help;  // one line
    // Called with the text after the first "=" (empty without one). Reports a bad value itself.
    std::function<void(const std::string& value)> handle;
};

class CommandLineOptions
{
public:
    // Adds the option at the end of the list, or replaces the one of the same name where it stands.
    void Add(CommandLineOption option);
    // Null for a name that is not in the table.
    const CommandLineOption* Find(const std::string& name) const;
    const std::vector<CommandLineOption>& All() const { return mOptions; }
    // The "-help" text: a title line, then one line per option in table order.
    std::string HelpText(const std::string& title) const;

private:
    std::vector<CommandLineOption> mOptions;
};

} // namespace Zestra
