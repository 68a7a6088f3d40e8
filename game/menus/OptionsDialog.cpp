// Controls and their effects in the options dialog.
#include "game/menus/OptionsDialog.h"

#include "framework/app/ZestraAppBase.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/Platform.h"
#include "framework/widgets/ControlSupport.h"
#include "framework/widgets/Slider.h"
#include "game/data/Localization.h"
#include "game/data/PersonStats.h"
#include "game/ui/Button.h"
#include "game/menus/ConfirmMainMenu.h"
#include "game/ui/FancyCheckbox.h"
#include "game/ui/MenuHost.h"
#include "game/menus/NoticeMenu.h"
#include "game/ui/VoiceHost.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"

#include <memory>

using namespace Zestra;

namespace
{
constexpr int kMusicTop = 80;
constexpr int kSliderStep = 45;
constexpr int kBoxesBelowVoice = 65;
// Box x from the centred box position; spaced so the labels centred over them keep apart.
constexpr int k3DOffset = -140;
constexpr int kFullScreenOffset = -25;
constexpr int kCursorsOffset = 95;
constexpr int kCloseBottomGap = 20 + 18; // from the dialog's bottom to the close button's bottom
constexpr int kReturnBottomGap = 18;
constexpr int kButtonGap = 4;        // between the two stacked buttons
constexpr int kSliderShift = 30;     // right of centre, to leave room for the labels beside the sliders
constexpr int kSliderLabelGap = 12;  // from a label's right end to its slider
constexpr int kBoxLabelDrop = 17;
const Color kLabelColour{250, 203, 25};
// Whose hello is the voice sample.
constexpr const char* kSampleVoicePerson = "Masel";
} // namespace

OptionsDialog::OptionsDialog(Board* board, bool inGame)
    : DialogMenu(board, IMAGE_MENU_DIALOG_BOX_3.get(), GetText("options_title")), inGame(inGame)
{
    Image* track = IMAGE_MENU_SLIDER_TRACK.get();
    Image* thumb = IMAGE_MENU_SLIDER_THUMB.get();
    int trackWidth = track != nullptr ? track->GetWidth() : 0;
    int thumbHeight = thumb != nullptr ? thumb->GetHeight() : 0;
    auto makeSlider = [&](int id, int top)
    {
        auto slider = std::make_unique<Slider>(track, thumb, id, this);
        slider->SetBounds(mWidth / 2 - trackWidth / 2 + kSliderShift, top, trackWidth, thumbHeight);
        return AddChild(std::move(slider));
    };
    musicSlider = makeSlider(kMusicSlider, kMusicTop);
    soundSlider = makeSlider(kSoundSlider, kMusicTop + kSliderStep);
    voiceSlider = makeSlider(kVoiceSlider, kMusicTop + 2 * kSliderStep);

    int boxTop = kMusicTop + 2 * kSliderStep + kBoxesBelowVoice;
    auto makeBox = [&](int id, int offset)
    {
        auto box = std::make_unique<FancyCheckbox>(this, id);
        box->mX = mWidth / 2 - box->mWidth / 2 + offset;
        box->mY = boxTop;
        return AddChild(std::move(box));
    };
    box3D = makeBox(k3DBox, k3DOffset);
    fullScreenBox = makeBox(kFullScreenBox, kFullScreenOffset);
    cursorsBox = makeBox(kCursorsBox, kCursorsOffset);

    int buttonHeight = IMAGE_MENU_DIALOG_BUTTON_NORMAL ? IMAGE_MENU_DIALOG_BUTTON_NORMAL->GetHeight() : 0;
    if (inGame)
    {
        int returnTop = mHeight - buttonHeight - kReturnBottomGap;
        closeButton = AddDialogButton(GetText("options_return_to_game"), mWidth / 2, returnTop, kClose);
        mainMenuButton =
            AddDialogButton(GetText("options_main_menu"), mWidth / 2, returnTop - buttonHeight - kButtonGap, kMainMenu);
    }
    else
    {
        closeButton =
            AddDialogButton(GetText("options_close"), mWidth / 2, mHeight - buttonHeight - kCloseBottomGap, kClose);
    }
    confirmControl = closeButton;
    cancelControl = closeButton;
}

void OptionsDialog::OnAttachedToManager(WidgetManager* manager)
{
    DialogMenu::OnAttachedToManager(manager);
    ZestraAppBase* app = AppOf(*this);
    if (app == nullptr || mReadSettings)
        return;
    // The controls show the application's settings as they are when the dialog opens.
    mReadSettings = true;
    musicSlider->SetValue(app->GetMusicVolume());
    soundSlider->SetValue(app->GetEffectsVolume());
    if (MenuHost* host = Host())
        voiceSlider->SetValue(host->Voices().GetVoiceVolume());
    box3D->SetChecked(app->Is3D(), false);
    fullScreenBox->SetChecked(!app->Window().mWindowed, false);
    cursorsBox->SetChecked(app->Window().mCustomCursorsEnabled, false);
}

void OptionsDialog::ApplyDisplayChoices()
{
    ZestraAppBase* app = AppOf(*this);
    if (app == nullptr)
        return;
    app->SetScreenMode(!fullScreenBox->IsChecked(), box3D->IsChecked(), false);
    app->SetCustomCursorsEnabled(cursorsBox->IsChecked());
    // The volumes and choices are kept even if the game ends without an orderly exit.
    app->SaveSettings();
}

void OptionsDialog::ButtonPressed(int id)
{
    switch (id)
    {
    case kClose:
        ApplyDisplayChoices();
        Close();
        break;
    case kMainMenu:
        ApplyDisplayChoices();
        if (MenuHost* host = Host())
            host->AddMenu(std::make_unique<ConfirmMainMenu>(board, mDialogId));
        break;
    default:
        break;
    }
}

void OptionsDialog::SliderMoved(int id, double value)
{
    ZestraAppBase* app = AppOf(*this);
    if (app == nullptr)
        return;
    switch (id)
    {
    case kMusicSlider:
        app->SetMusicVolume(value);
        break;
    case kSoundSlider:
        app->SetEffectsVolume(value);
        // The sample waits for the release, so dragging is not a string of cash registers.
        if (!soundSlider->mDragging)
            PlayGameSound(SOUND_CASH_REGISTER);
        break;
    case kVoiceSlider:
        if (MenuHost* host = Host())
        {
            VoiceHost& voices = host->Voices();
            voices.SetVoiceVolume(value);
            if (!voiceSlider->mDragging)
                voices.PlayVoice(FindPerson(kSampleVoicePerson).helloVoice);
        }
        break;
    default:
        break;
    }
}

void OptionsDialog::OpenNotice(const char* titleKey, const char* textKey)
{
    if (MenuHost* host = Host())
        host->AddMenu(std::make_unique<NoticeMenu>(board, titleKey, textKey));
}

void OptionsDialog::CheckboxToggled(int id, bool checked)
{
    ZestraAppBase* app = AppOf(*this);
    if (app == nullptr)
        return;
    if (id == k3DBox && checked)
    {
        switch (app->mPlatform.Query3DSupport())
        {
        case Support3D::NotRecommended:
            OpenNotice("3d_recommended", "3d_recommended_msg");
            break;
        case Support3D::Impossible:
            box3D->SetChecked(false, false);
            OpenNotice("3d_not_supported", "3d_not_supported_msg");
            break;
        case Support3D::Recommended:
            break;
        }
    }
    else if (id == kFullScreenBox && !checked && app->Window().mFullscreenOnly)
    {
        fullScreenBox->SetChecked(true, false);
        OpenNotice("no_windowed_mode", "no_windowed_mode_msg");
    }
}

void OptionsDialog::Paint(Graphics& g)
{
    DialogMenu::Paint(g);
    Font* font = FONT_SMALL;
    if (font == nullptr)
        return;
    g.SetTypeface(font);
    g.SetInk(kLabelColour);
    // Children are placed in screen pixels; the labels are drawn in the dialog's own. A slider's label stands on its
    // left, level with it, where no handle of the slider above can reach it.
    const std::pair<const char*, Slider*> sliderLabels[] = {
        {"music_volume", musicSlider}, {"sound_volume", soundSlider}, {"voice_volume", voiceSlider}};
    for (const auto& [key, slider] : sliderLabels)
    {
        const std::string& text = GetText(key);
        int baseline = slider->mY - mY + (slider->mHeight + font->Ascent() - font->Descent()) / 2;
        g.PrintText(text, slider->mX - mX - kSliderLabelGap - font->TextWidth(text), baseline);
    }
    const std::pair<const char*, FancyCheckbox*> boxLabels[] = {
        {"3d_mode", box3D}, {"full_screen", fullScreenBox}, {"custom_cursors", cursorsBox}};
    for (const auto& [key, box] : boxLabels)
    {
        const std::string& text = GetText(key);
        int centreX = box->mX - mX + box->mWidth / 2;
        g.PrintText(text, centreX - font->TextWidth(text) / 2, box->mY - mY + kBoxLabelDrop - box->mHeight);
    }
}
