// The game's resource identifiers: one program-wide variable per image, sound and font of the manifest that the
// code draws or plays by name, bound by name from the resource manager right after its group has loaded. An unbound
// image is null, an unbound sound -1 and an unbound font null.
#pragma once

#include "framework/resources/ResourceManager.h"

#include <string>

#include <utility>

namespace Zestra
{
class Font;
}

// Whatever the manager's image lookup hands out: a counted reference that keeps the image alive.
using ResImage = decltype(std::declval<Zestra::ResourceManager&>().GetImageOrThrow(std::string()));

// Group "Init"
extern Zestra::Font* FONT_HUD_NUMBERS;
extern Zestra::Font* FONT_LARGE_DARK;
extern Zestra::Font* FONT_LARGE_LIGHT;
extern Zestra::Font* FONT_MEDIUM_DARK;
extern Zestra::Font* FONT_MEDIUM_LIGHT;
extern Zestra::Font* FONT_SMALL;
extern ResImage IMAGE_CUSTOM_DRAGGING;
extern ResImage IMAGE_CUSTOM_HAND;
extern ResImage IMAGE_CUSTOM_POINTER;
extern ResImage IMAGE_CUSTOM_TEXT;
extern int SOUND_BUTTON;

// Group "TitleScreen"
extern ResImage IMAGE_ENTER_NAME;
extern ResImage IMAGE_ENTER_NAME_OK_DOWN;
extern ResImage IMAGE_ENTER_NAME_OK_OVER;
extern ResImage IMAGE_ENTER_NAME_OK_UP;
extern ResImage IMAGE_VELMORA_LOGO;
extern ResImage IMAGE_LOADER_BAR_BASE;
extern ResImage IMAGE_LOADER_BAR_TOP;
extern ResImage IMAGE_LOADING;
extern ResImage IMAGE_PLAY_GAME_DOWN;
extern ResImage IMAGE_PLAY_GAME_OVER;
extern ResImage IMAGE_PLAY_GAME_UP;
extern ResImage IMAGE_TITLE_BACKGROUND;
extern int SOUND_LOGO_BOUNCE;
extern int SOUND_LOGO_LAND;
extern int SOUND_LOGO_WHOOSH;
extern ResImage IMAGE_LOGO_LETTER_1;
extern ResImage IMAGE_LOGO_LETTER_2;
extern ResImage IMAGE_LOGO_LETTER_3;
extern ResImage IMAGE_LOGO_LETTER_4;
extern ResImage IMAGE_LOGO_LETTER_5;
extern ResImage IMAGE_LOGO_LETTER_2_TILTED;
extern ResImage IMAGE_LOGO_LETTER_4_TILTED;
extern ResImage IMAGE_LOGO_BALL;
extern ResImage IMAGE_LOGO_TRAIL;
extern ResImage IMAGE_LOGO_TRADEMARK;
extern ResImage IMAGE_LOGO_CREATED_BY;

// Group "Game"
extern ResImage IMAGE_MENU_BACKGROUND_1;
extern ResImage IMAGE_MENU_BACKGROUND_2;
extern ResImage IMAGE_MENU_BACKGROUND_3;
extern ResImage IMAGE_MENU_BACKGROUND_4;
extern ResImage IMAGE_MENU_BACKGROUND_5;
extern ResImage IMAGE_MENU_BUTTON_DOWN;
extern ResImage IMAGE_MENU_BUTTON_NORMAL;
extern ResImage IMAGE_MENU_BUTTON_OVER;
extern ResImage IMAGE_MENU_CHARACTER_HANDBOOK;
extern ResImage IMAGE_MENU_CHECKBOX;
extern ResImage IMAGE_MENU_CHECKBOX_CHECKED;
extern ResImage IMAGE_MENU_CHECKBOX_CHECKED_HOVER;
extern ResImage IMAGE_MENU_CHECKBOX_HOVER;
extern ResImage IMAGE_MENU_CLIPBOARD;
extern ResImage IMAGE_MENU_COMIC1;
extern ResImage IMAGE_MENU_COMIC2;
extern ResImage IMAGE_MENU_COMIC3;
extern ResImage IMAGE_MENU_COMIC4;
extern ResImage IMAGE_MENU_COMPLETE_ICON;
extern ResImage IMAGE_MENU_COMPLETE_MINIGAME_ICON;
extern ResImage IMAGE_MENU_CREDITS_DOWN;
extern ResImage IMAGE_MENU_CREDITS_OVER;
extern ResImage IMAGE_MENU_CREDITS_POPUP;
extern ResImage IMAGE_MENU_CREDITS_TITLE;
extern ResImage IMAGE_MENU_CREDITS_UP;
extern ResImage IMAGE_MENU_CUSTOMER_HANDBOOK_DOWN;
extern ResImage IMAGE_MENU_CUSTOMER_HANDBOOK_NORMAL;
extern ResImage IMAGE_MENU_CUSTOMER_HANDBOOK_OVER;
extern ResImage IMAGE_MENU_DIALOG_BOX_1;
extern ResImage IMAGE_MENU_DIALOG_BOX_2;
extern ResImage IMAGE_MENU_DIALOG_BOX_3;
extern ResImage IMAGE_MENU_DIALOG_BOX_4;
extern ResImage IMAGE_MENU_DIALOG_BUTTON_DOWN;
extern ResImage IMAGE_MENU_DIALOG_BUTTON_NORMAL;
extern ResImage IMAGE_MENU_DIALOG_BUTTON_OVER;
extern ResImage IMAGE_MENU_EXPERT_COMPLETE_ICON;
extern ResImage IMAGE_MENU_PRELLA_MARKER;
extern ResImage IMAGE_MENU_HAMMER;
extern ResImage IMAGE_MENU_HIGH_SCORE_DOWN;
extern ResImage IMAGE_MENU_HIGH_SCORE_OVER;
extern ResImage IMAGE_MENU_HIGH_SCORE_POPUP;
extern ResImage IMAGE_MENU_HIGH_SCORE_TITLE;
extern ResImage IMAGE_MENU_HIGH_SCORE_UP;
extern ResImage IMAGE_MENU_HOW_TO_DOWN;
extern ResImage IMAGE_MENU_HOW_TO_OVER;
extern ResImage IMAGE_MENU_HOW_TO_PLAY_POPUP;
extern ResImage IMAGE_MENU_HOW_TO_PLAY_TITLE;
extern ResImage IMAGE_MENU_HOW_TO_UP;
extern ResImage IMAGE_MENU_IRIS;
extern ResImage IMAGE_MENU_LEVEL_BEGIN;
extern ResImage IMAGE_MENU_LEVEL_BUTTON_DOWN;
extern ResImage IMAGE_MENU_LEVEL_BUTTON_LARGE_DOWN;
extern ResImage IMAGE_MENU_LEVEL_BUTTON_LARGE_NORMAL;
extern ResImage IMAGE_MENU_LEVEL_BUTTON_LARGE_OVER;
extern ResImage IMAGE_MENU_LEVEL_BUTTON_NORMAL;
extern ResImage IMAGE_MENU_LEVEL_BUTTON_OVER;
extern ResImage IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_DOWN;
extern ResImage IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_NORMAL;
extern ResImage IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_OVER;
extern ResImage IMAGE_MENU_LEVEL_COMPLETE;
extern ResImage IMAGE_MENU_LEVEL_COMPLETE_DOUBLE;
extern ResImage IMAGE_MENU_LEVEL_COMPLETE_PRELLA;
extern ResImage IMAGE_MENU_LEVEL_COMPLETE_DORVIE;
extern ResImage IMAGE_MENU_LEVEL_FAIL;
extern ResImage IMAGE_MENU_MAIN;
extern ResImage IMAGE_MENU_MAP;
extern ResImage IMAGE_MENU_MAP_HUD;
extern ResImage IMAGE_MENU_MAP_TITLE;
extern ResImage IMAGE_MENU_NOT_COMPLETE_ICON;
extern ResImage IMAGE_MENU_OPTIONS_DOWN;
extern ResImage IMAGE_MENU_OPTIONS_OVER;
extern ResImage IMAGE_MENU_OPTIONS_UP;
extern ResImage IMAGE_MENU_PLAY_GAME_DOWN;
extern ResImage IMAGE_MENU_PLAY_GAME_OVER;
extern ResImage IMAGE_MENU_PLAY_GAME_UP;
extern ResImage IMAGE_MENU_PROFILE_BUTTON_NORMAL;
extern ResImage IMAGE_MENU_PROFILE_BUTTON_OK_NORMAL;
extern ResImage IMAGE_MENU_PROFILE_BUTTON_OK_OVER;
extern ResImage IMAGE_MENU_PROFILE_BUTTON_OK_SELECTED;
extern ResImage IMAGE_MENU_PROFILE_BUTTON_OVER;
extern ResImage IMAGE_MENU_PROFILE_BUTTON_SELECTED;
extern ResImage IMAGE_MENU_PROFILE_POPUP;
extern ResImage IMAGE_MENU_PROFILE_TITLE;
extern ResImage IMAGE_MENU_QUIT_DOWN;
extern ResImage IMAGE_MENU_QUIT_OVER;
extern ResImage IMAGE_MENU_QUIT_UP;
extern ResImage IMAGE_MENU_SAW;
extern ResImage IMAGE_MENU_SLIDER_THUMB;
extern ResImage IMAGE_MENU_SLIDER_TRACK;
extern ResImage IMAGE_MENU_STORE_SMOKE;
extern ResImage IMAGE_ACHIEVEMENT_ICONS; // one cel per achievement

// Group "Velmora"
extern ResImage IMAGE_ANGRY_CLOUD;
extern ResImage IMAGE_BACK_ROOM_SMOKE;
extern ResImage IMAGE_CASH_REGISTER;
extern ResImage IMAGE_CHRISTMAS_LIGHTS;
extern ResImage IMAGE_CLOSED_SIGN;
extern ResImage IMAGE_CLOTHING_FOLDED_SHADOW;
extern ResImage IMAGE_DOWN_ARROW;
extern ResImage IMAGE_EMPTY_HANGER;
extern ResImage IMAGE_EXPERT_GOAL_REACHED;
extern ResImage IMAGE_EXPLOSION;
extern ResImage IMAGE_GIFT_BAG;
extern ResImage IMAGE_GIFT_WRAP;
extern ResImage IMAGE_GIFT_WRAP_ICON;
extern ResImage IMAGE_GIFT_WRAP_PAPER;
extern ResImage IMAGE_GOAL_REACHED;
extern ResImage IMAGE_HEART_EMPTY;
extern ResImage IMAGE_HEART_FULL;
extern ResImage IMAGE_HUD_JAN;
extern ResImage IMAGE_HUD_FEB;
extern ResImage IMAGE_HUD_MAR;
extern ResImage IMAGE_HUD_APR;
extern ResImage IMAGE_HUD_MAY;
extern ResImage IMAGE_HUD_JUN;
extern ResImage IMAGE_HUD_JUL;
extern ResImage IMAGE_HUD_AUG;
extern ResImage IMAGE_HUD_SEP;
extern ResImage IMAGE_HUD_OCT;
extern ResImage IMAGE_HUD_NOV;
extern ResImage IMAGE_HUD_DEC;
extern ResImage IMAGE_HUD_CASH_ICON;
extern ResImage IMAGE_HUD_CLOCK;
extern ResImage IMAGE_HUD_DONE_HOVER;
extern ResImage IMAGE_HUD_DONE_NORMAL;
extern ResImage IMAGE_HUD_EXPERT_GOAL;
extern ResImage IMAGE_HUD_GOAL;
extern ResImage IMAGE_HUD_JAR_EMPTY;
extern ResImage IMAGE_HUD_JAR_FULL;
extern ResImage IMAGE_HUD_JAR_HALF;
extern ResImage IMAGE_HUD_LIVES;
extern ResImage IMAGE_HUD_OPTIONS_HOVER;
extern ResImage IMAGE_HUD_OPTIONS_NORMAL;
extern ResImage IMAGE_HUD_PRICE;
extern ResImage IMAGE_LEFT_ARROW;
extern ResImage IMAGE_MANNEQUIN_FEMALE;
extern ResImage IMAGE_MANNEQUIN_FEMALE_BOTTOM;
extern ResImage IMAGE_MANNEQUIN_FEMALE_TOP;
extern ResImage IMAGE_MANNEQUIN_MALE;
extern ResImage IMAGE_MANNEQUIN_MALE_BOTTOM;
extern ResImage IMAGE_MANNEQUIN_MALE_TOP;
extern ResImage IMAGE_MINIGAME_ERROR;
extern ResImage IMAGE_MINIGAME_MANNEQUIN_FEMALE;
extern ResImage IMAGE_MINIGAME_MANNEQUIN_MALE;
extern ResImage IMAGE_MINIGAME_POPUP;
extern ResImage IMAGE_MINIGAME_WINDOWS;
extern ResImage IMAGE_NEW_HOVER;
extern ResImage IMAGE_NEW_NORMAL;
extern ResImage IMAGE_NUMBERS;
extern ResImage IMAGE_OPEN_SIGN;
extern ResImage IMAGE_OUT_OF_STOCK;
extern ResImage IMAGE_RACK_PRICE_SIGN;
extern ResImage IMAGE_RIGHT_ARROW;
extern ResImage IMAGE_SHADOW;
extern ResImage IMAGE_SPEECH_BUBBLE;
extern ResImage IMAGE_TABLE_PRICE_SIGN;
extern ResImage IMAGE_TABLE_SMOKE;
extern ResImage IMAGE_TABLE_TAG;
extern ResImage IMAGE_TIMER;
extern ResImage IMAGE_UPGRADE_HOVER;
extern ResImage IMAGE_UPGRADE_NORMAL;
extern ResImage IMAGE_UP_ARROW;
extern int SOUND_APPLAUSE;
extern int SOUND_CASH_REGISTER;
extern int SOUND_CHANGING_ROOM;
extern int SOUND_CONSTRUCTION;
extern int SOUND_CORRECT;
extern int SOUND_CUSTOMER_ANGRY;
extern int SOUND_CUSTOMER_EXPLODE;
extern int SOUND_EXPERT_GOAL;
extern int SOUND_GIFT_WRAP;
extern int SOUND_GOAL_REACHED;
extern int SOUND_HIGHLIGHT;
extern int SOUND_INCORRECT;
extern int SOUND_LOST;
extern int SOUND_PICK_UP;
extern int SOUND_PUT_DOWN;
extern int SOUND_SHUFFLING;
extern int SOUND_START_DAY;
extern int SOUND_START_ROUND;
extern int SOUND_STORE_BUILT;
extern int SOUND_THUNDER_CLOUD;

enum class ResKind
{
    Image,
    Sound,
    Font,
};

// One identifier, the group that must declare it, and its variable (exactly one of the three is set).
struct ResIdInfo
{
    const char* id;
    const char* group;
    ResKind kind;
    ResImage* image;
    int* sound;
    Zestra::Font** font;
};

// Every identifier of the four groups, group by group.
extern const ResIdInfo kResourceIds[];
extern const int kResourceIdCount;
// The four group names in loading order: "Init", "TitleScreen", "Game", "Velmora".
extern const char* const kResourceGroups[4];

// Looks every identifier of the group up with the throwing lookups and stores it in its variable. Stops at the
// first identifier that is missing or not loaded and returns false (errorText gets the lookup's message); true
// when all are bound. An unknown group name binds nothing and fails.
bool BindGroup(Zestra::ResourceManager& manager, const std::string& group, std::string* errorText = nullptr);
// Releases the group's image references and resets its variables, so the manager can free what it unloads.
void UnbindGroup(const std::string& group);
// Releases every bound image reference and resets the variables of all groups (shutdown, before the manager goes).
void UnbindAllGroups();
