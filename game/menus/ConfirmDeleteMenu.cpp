// The delete confirmation and its hand-made name filling.
#include "game/menus/ConfirmDeleteMenu.h"

#include "framework/log/Log.h"
#include "game/data/Localization.h"

#include <cstdio>

std::string FillProfileName(const std::string& format, const std::string& name, bool* ok)
{
    std::string text;
    int names = 0;
    bool valid = true;
    for (size_t i = 0; i < format.size() && valid; i++)
    {
        if (format[i] != '%')
        {
            text += format[i];
            continue;
        }
        char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (next == '%')
            text += '%';
        else if (next == 's' && names++ == 0)
            text += name;
        else
            valid = false;
        i++;
    }
    valid = valid && names == 1;
    if (ok != nullptr)
        *ok = valid;
    return valid ? text : std::string();
}

namespace
{

std::string DeleteText(const std::string& name)
{
    const std::string& format = GetText("delete_text");
    bool ok = false;
    std::string text = FillProfileName(format, name, &ok);
    if (!ok && !format.empty())
    {
        // A text the data got wrong shows as missing rather than being trusted as a format.
        Zestra::LogFormat("velmora: localization \"delete_text\" needs exactly one %%s (and %%%% for a percent "
                             "sign); it is not shown\n");
    }
    return text;
}

} // namespace

ConfirmDeleteMenu::ConfirmDeleteMenu(Zestra::Board* board, const std::string& profileName,
                                     std::function<void()> deleteProfile)
    : ConfirmMenu(GetText("delete_title"), DeleteText(profileName), GetText("delete_confirm"), GetText("delete_cancel"),
                  board),
      deleteProfile(std::move(deleteProfile))
{
}

void ConfirmDeleteMenu::OnConfirm()
{
    if (deleteProfile)
        deleteProfile();
}
