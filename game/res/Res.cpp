// The resource-id variables and their binding; the only place that knows which group declares which id.
#include "game/res/Res.h"

#include "framework/graphics/MemoryImage.h"

Zestra::Font* FONT_HUD_NUMBERS = nullptr;
Zestra::Font* FONT_LARGE_DARK = nullptr;
Zestra::Font* FONT_LARGE_LIGHT = nullptr;
Zestra::Font* FONT_MEDIUM_DARK = nullptr;
Zestra::Font* FONT_MEDIUM_LIGHT = nullptr;
Zestra::Font* FONT_SMALL = nullptr;
ResImage IMAGE_CUSTOM_DRAGGING;
ResImage IMAGE_CUSTOM_HAND;
ResImage IMAGE_CUSTOM_POINTER;
ResImage IMAGE_CUSTOM_TEXT;
int SOUND_BUTTON = -1;
ResImage IMAGE_ENTER_NAME;
ResImage IMAGE_ENTER_NAME_OK_DOWN;
ResImage IMAGE_ENTER_NAME_OK_OVER;
ResImage IMAGE_ENTER_NAME_OK_UP;
ResImage IMAGE_VELMORA_LOGO;
ResImage IMAGE_LOADER_BAR_BASE;
ResImage IMAGE_LOADER_BAR_TOP;
ResImage IMAGE_LOADING;
ResImage IMAGE_PLAY_GAME_DOWN;
ResImage IMAGE_PLAY_GAME_OVER;
ResImage IMAGE_PLAY_GAME_UP;
ResImage IMAGE_TITLE_BACKGROUND;
int SOUND_LOGO_BOUNCE = -1;
int SOUND_LOGO_LAND = -1;
int SOUND_LOGO_WHOOSH = -1;
ResImage IMAGE_LOGO_LETTER_1;
ResImage IMAGE_LOGO_LETTER_2;
ResImage IMAGE_LOGO_LETTER_3;
ResImage IMAGE_LOGO_LETTER_4;
ResImage IMAGE_LOGO_LETTER_5;
ResImage IMAGE_LOGO_LETTER_2_TILTED;
ResImage IMAGE_LOGO_LETTER_4_TILTED;
ResImage IMAGE_LOGO_BALL;
ResImage IMAGE_LOGO_TRAIL;
ResImage IMAGE_LOGO_TRADEMARK;
ResImage IMAGE_LOGO_CREATED_BY;
ResImage IMAGE_MENU_BACKGROUND_1;
ResImage IMAGE_MENU_BACKGROUND_2;
ResImage IMAGE_MENU_BACKGROUND_3;
ResImage IMAGE_MENU_BACKGROUND_4;
ResImage IMAGE_MENU_BACKGROUND_5;
ResImage IMAGE_MENU_BUTTON_DOWN;
ResImage IMAGE_MENU_BUTTON_NORMAL;
ResImage IMAGE_MENU_BUTTON_OVER;
ResImage IMAGE_MENU_CHARACTER_HANDBOOK;
ResImage IMAGE_MENU_CHECKBOX;
ResImage IMAGE_MENU_CHECKBOX_CHECKED;
ResImage IMAGE_MENU_CHECKBOX_CHECKED_HOVER;
ResImage IMAGE_MENU_CHECKBOX_HOVER;
ResImage IMAGE_MENU_CLIPBOARD;
ResImage IMAGE_MENU_COMIC1;
ResImage IMAGE_MENU_COMIC2;
ResImage IMAGE_MENU_COMIC3;
ResImage IMAGE_MENU_COMIC4;
ResImage IMAGE_MENU_COMPLETE_ICON;
ResImage IMAGE_MENU_COMPLETE_MINIGAME_ICON;
ResImage IMAGE_MENU_CREDITS_DOWN;
ResImage IMAGE_MENU_CREDITS_OVER;
ResImage IMAGE_MENU_CREDITS_POPUP;
ResImage IMAGE_MENU_CREDITS_TITLE;
ResImage IMAGE_MENU_CREDITS_UP;
ResImage IMAGE_MENU_CUSTOMER_HANDBOOK_DOWN;
ResImage IMAGE_MENU_CUSTOMER_HANDBOOK_NORMAL;
ResImage IMAGE_MENU_CUSTOMER_HANDBOOK_OVER;
ResImage IMAGE_MENU_DIALOG_BOX_1;
ResImage IMAGE_MENU_DIALOG_BOX_2;
ResImage IMAGE_MENU_DIALOG_BOX_3;
ResImage IMAGE_MENU_DIALOG_BOX_4;
ResImage IMAGE_MENU_DIALOG_BUTTON_DOWN;
ResImage IMAGE_MENU_DIALOG_BUTTON_NORMAL;
ResImage IMAGE_MENU_DIALOG_BUTTON_OVER;
ResImage IMAGE_MENU_EXPERT_COMPLETE_ICON;
ResImage IMAGE_MENU_PRELLA_MARKER;
ResImage IMAGE_MENU_HAMMER;
ResImage IMAGE_MENU_HIGH_SCORE_DOWN;
ResImage IMAGE_MENU_HIGH_SCORE_OVER;
ResImage IMAGE_MENU_HIGH_SCORE_POPUP;
ResImage IMAGE_MENU_HIGH_SCORE_TITLE;
ResImage IMAGE_MENU_HIGH_SCORE_UP;
ResImage IMAGE_MENU_HOW_TO_DOWN;
ResImage IMAGE_MENU_HOW_TO_OVER;
ResImage IMAGE_MENU_HOW_TO_PLAY_POPUP;
ResImage IMAGE_MENU_HOW_TO_PLAY_TITLE;
ResImage IMAGE_MENU_HOW_TO_UP;
ResImage IMAGE_MENU_IRIS;
ResImage IMAGE_MENU_LEVEL_BEGIN;
ResImage IMAGE_MENU_LEVEL_BUTTON_DOWN;
ResImage IMAGE_MENU_LEVEL_BUTTON_LARGE_DOWN;
ResImage IMAGE_MENU_LEVEL_BUTTON_LARGE_NORMAL;
ResImage IMAGE_MENU_LEVEL_BUTTON_LARGE_OVER;
ResImage IMAGE_MENU_LEVEL_BUTTON_NORMAL;
ResImage IMAGE_MENU_LEVEL_BUTTON_OVER;
ResImage IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_DOWN;
ResImage IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_NORMAL;
ResImage IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_OVER;
ResImage IMAGE_MENU_LEVEL_COMPLETE;
ResImage IMAGE_MENU_LEVEL_COMPLETE_DOUBLE;
ResImage IMAGE_MENU_LEVEL_COMPLETE_PRELLA;
ResImage IMAGE_MENU_LEVEL_COMPLETE_DORVIE;
ResImage IMAGE_MENU_LEVEL_FAIL;
ResImage IMAGE_MENU_MAIN;
ResImage IMAGE_MENU_MAP;
ResImage IMAGE_MENU_MAP_HUD;
ResImage IMAGE_MENU_MAP_TITLE;
ResImage IMAGE_MENU_NOT_COMPLETE_ICON;
ResImage IMAGE_MENU_OPTIONS_DOWN;
ResImage IMAGE_MENU_OPTIONS_OVER;
ResImage IMAGE_MENU_OPTIONS_UP;
ResImage IMAGE_MENU_PLAY_GAME_DOWN;
ResImage IMAGE_MENU_PLAY_GAME_OVER;
ResImage IMAGE_MENU_PLAY_GAME_UP;
ResImage IMAGE_MENU_PROFILE_BUTTON_NORMAL;
ResImage IMAGE_MENU_PROFILE_BUTTON_OK_NORMAL;
ResImage IMAGE_MENU_PROFILE_BUTTON_OK_OVER;
ResImage IMAGE_MENU_PROFILE_BUTTON_OK_SELECTED;
ResImage IMAGE_MENU_PROFILE_BUTTON_OVER;
ResImage IMAGE_MENU_PROFILE_BUTTON_SELECTED;
ResImage IMAGE_MENU_PROFILE_POPUP;
ResImage IMAGE_MENU_PROFILE_TITLE;
ResImage IMAGE_MENU_QUIT_DOWN;
ResImage IMAGE_MENU_QUIT_OVER;
ResImage IMAGE_MENU_QUIT_UP;
ResImage IMAGE_MENU_SAW;
ResImage IMAGE_MENU_SLIDER_THUMB;
ResImage IMAGE_MENU_SLIDER_TRACK;
ResImage IMAGE_MENU_STORE_SMOKE;
ResImage IMAGE_ACHIEVEMENT_ICONS;
ResImage IMAGE_ANGRY_CLOUD;
ResImage IMAGE_BACK_ROOM_SMOKE;
ResImage IMAGE_CASH_REGISTER;
ResImage IMAGE_CHRISTMAS_LIGHTS;
ResImage IMAGE_CLOSED_SIGN;
ResImage IMAGE_CLOTHING_FOLDED_SHADOW;
ResImage IMAGE_DOWN_ARROW;
ResImage IMAGE_EMPTY_HANGER;
ResImage IMAGE_EXPERT_GOAL_REACHED;
ResImage IMAGE_EXPLOSION;
ResImage IMAGE_GIFT_BAG;
ResImage IMAGE_GIFT_WRAP;
ResImage IMAGE_GIFT_WRAP_ICON;
ResImage IMAGE_GIFT_WRAP_PAPER;
ResImage IMAGE_GOAL_REACHED;
ResImage IMAGE_HEART_EMPTY;
ResImage IMAGE_HEART_FULL;
ResImage IMAGE_HUD_JAN;
ResImage IMAGE_HUD_FEB;
ResImage IMAGE_HUD_MAR;
ResImage IMAGE_HUD_APR;
ResImage IMAGE_HUD_MAY;
ResImage IMAGE_HUD_JUN;
ResImage IMAGE_HUD_JUL;
ResImage IMAGE_HUD_AUG;
ResImage IMAGE_HUD_SEP;
ResImage IMAGE_HUD_OCT;
ResImage IMAGE_HUD_NOV;
ResImage IMAGE_HUD_DEC;
ResImage IMAGE_HUD_CASH_ICON;
ResImage IMAGE_HUD_CLOCK;
ResImage IMAGE_HUD_DONE_HOVER;
ResImage IMAGE_HUD_DONE_NORMAL;
ResImage IMAGE_HUD_EXPERT_GOAL;
ResImage IMAGE_HUD_GOAL;
ResImage IMAGE_HUD_JAR_EMPTY;
ResImage IMAGE_HUD_JAR_FULL;
ResImage IMAGE_HUD_JAR_HALF;
ResImage IMAGE_HUD_LIVES;
ResImage IMAGE_HUD_OPTIONS_HOVER;
ResImage IMAGE_HUD_OPTIONS_NORMAL;
ResImage IMAGE_HUD_PRICE;
ResImage IMAGE_LEFT_ARROW;
ResImage IMAGE_MANNEQUIN_FEMALE;
ResImage IMAGE_MANNEQUIN_FEMALE_BOTTOM;
ResImage IMAGE_MANNEQUIN_FEMALE_TOP;
ResImage IMAGE_MANNEQUIN_MALE;
ResImage IMAGE_MANNEQUIN_MALE_BOTTOM;
ResImage IMAGE_MANNEQUIN_MALE_TOP;
ResImage IMAGE_MINIGAME_ERROR;
ResImage IMAGE_MINIGAME_MANNEQUIN_FEMALE;
ResImage IMAGE_MINIGAME_MANNEQUIN_MALE;
ResImage IMAGE_MINIGAME_POPUP;
ResImage IMAGE_MINIGAME_WINDOWS;
ResImage IMAGE_NEW_HOVER;
ResImage IMAGE_NEW_NORMAL;
ResImage IMAGE_NUMBERS;
ResImage IMAGE_OPEN_SIGN;
ResImage IMAGE_OUT_OF_STOCK;
ResImage IMAGE_RACK_PRICE_SIGN;
ResImage IMAGE_RIGHT_ARROW;
ResImage IMAGE_SHADOW;
ResImage IMAGE_SPEECH_BUBBLE;
ResImage IMAGE_TABLE_PRICE_SIGN;
ResImage IMAGE_TABLE_SMOKE;
ResImage IMAGE_TABLE_TAG;
ResImage IMAGE_TIMER;
ResImage IMAGE_UPGRADE_HOVER;
ResImage IMAGE_UPGRADE_NORMAL;
ResImage IMAGE_UP_ARROW;
int SOUND_APPLAUSE = -1;
int SOUND_CASH_REGISTER = -1;
int SOUND_CHANGING_ROOM = -1;
int SOUND_CONSTRUCTION = -1;
int SOUND_CORRECT = -1;
int SOUND_CUSTOMER_ANGRY = -1;
int SOUND_CUSTOMER_EXPLODE = -1;
int SOUND_EXPERT_GOAL = -1;
int SOUND_GIFT_WRAP = -1;
int SOUND_GOAL_REACHED = -1;
int SOUND_HIGHLIGHT = -1;
int SOUND_INCORRECT = -1;
int SOUND_LOST = -1;
int SOUND_PICK_UP = -1;
int SOUND_PUT_DOWN = -1;
int SOUND_SHUFFLING = -1;
int SOUND_START_DAY = -1;
int SOUND_START_ROUND = -1;
int SOUND_STORE_BUILT = -1;
int SOUND_THUNDER_CLOUD = -1;

const ResIdInfo kResourceIds[] = {
    {"FONT_HUD_NUMBERS", "Init", ResKind::Font, nullptr, nullptr, &FONT_HUD_NUMBERS},
    {"FONT_LARGE_DARK", "Init", ResKind::Font, nullptr, nullptr, &FONT_LARGE_DARK},
    {"FONT_LARGE_LIGHT", "Init", ResKind::Font, nullptr, nullptr, &FONT_LARGE_LIGHT},
    {"FONT_MEDIUM_DARK", "Init", ResKind::Font, nullptr, nullptr, &FONT_MEDIUM_DARK},
    {"FONT_MEDIUM_LIGHT", "Init", ResKind::Font, nullptr, nullptr, &FONT_MEDIUM_LIGHT},
    {"FONT_SMALL", "Init", ResKind::Font, nullptr, nullptr, &FONT_SMALL},
    {"IMAGE_CUSTOM_DRAGGING", "Init", ResKind::Image, &IMAGE_CUSTOM_DRAGGING, nullptr, nullptr},
    {"IMAGE_CUSTOM_HAND", "Init", ResKind::Image, &IMAGE_CUSTOM_HAND, nullptr, nullptr},
    {"IMAGE_CUSTOM_POINTER", "Init", ResKind::Image, &IMAGE_CUSTOM_POINTER, nullptr, nullptr},
    {"IMAGE_CUSTOM_TEXT", "Init", ResKind::Image, &IMAGE_CUSTOM_TEXT, nullptr, nullptr},
    {"SOUND_BUTTON", "Init", ResKind::Sound, nullptr, &SOUND_BUTTON, nullptr},
    {"IMAGE_ENTER_NAME", "TitleScreen", ResKind::Image, &IMAGE_ENTER_NAME, nullptr, nullptr},
    {"IMAGE_ENTER_NAME_OK_DOWN", "TitleScreen", ResKind::Image, &IMAGE_ENTER_NAME_OK_DOWN, nullptr, nullptr},
    {"IMAGE_ENTER_NAME_OK_OVER", "TitleScreen", ResKind::Image, &IMAGE_ENTER_NAME_OK_OVER, nullptr, nullptr},
    {"IMAGE_ENTER_NAME_OK_UP", "TitleScreen", ResKind::Image, &IMAGE_ENTER_NAME_OK_UP, nullptr, nullptr},
    {"IMAGE_VELMORA_LOGO", "TitleScreen", ResKind::Image, &IMAGE_VELMORA_LOGO, nullptr, nullptr},
    {"IMAGE_LOADER_BAR_BASE", "TitleScreen", ResKind::Image, &IMAGE_LOADER_BAR_BASE, nullptr, nullptr},
    {"IMAGE_LOADER_BAR_TOP", "TitleScreen", ResKind::Image, &IMAGE_LOADER_BAR_TOP, nullptr, nullptr},
    {"IMAGE_LOADING", "TitleScreen", ResKind::Image, &IMAGE_LOADING, nullptr, nullptr},
    {"IMAGE_PLAY_GAME_DOWN", "TitleScreen", ResKind::Image, &IMAGE_PLAY_GAME_DOWN, nullptr, nullptr},
    {"IMAGE_PLAY_GAME_OVER", "TitleScreen", ResKind::Image, &IMAGE_PLAY_GAME_OVER, nullptr, nullptr},
    {"IMAGE_PLAY_GAME_UP", "TitleScreen", ResKind::Image, &IMAGE_PLAY_GAME_UP, nullptr, nullptr},
    {"IMAGE_TITLE_BACKGROUND", "TitleScreen", ResKind::Image, &IMAGE_TITLE_BACKGROUND, nullptr, nullptr},
    {"SOUND_LOGO_BOUNCE", "TitleScreen", ResKind::Sound, nullptr, &SOUND_LOGO_BOUNCE, nullptr},
    {"SOUND_LOGO_LAND", "TitleScreen", ResKind::Sound, nullptr, &SOUND_LOGO_LAND, nullptr},
    {"SOUND_LOGO_WHOOSH", "TitleScreen", ResKind::Sound, nullptr, &SOUND_LOGO_WHOOSH, nullptr},
    {"IMAGE_LOGO_LETTER_1", "TitleScreen", ResKind::Image, &IMAGE_LOGO_LETTER_1, nullptr, nullptr},
    {"IMAGE_LOGO_LETTER_2", "TitleScreen", ResKind::Image, &IMAGE_LOGO_LETTER_2, nullptr, nullptr},
    {"IMAGE_LOGO_LETTER_3", "TitleScreen", ResKind::Image, &IMAGE_LOGO_LETTER_3, nullptr, nullptr},
    {"IMAGE_LOGO_LETTER_4", "TitleScreen", ResKind::Image, &IMAGE_LOGO_LETTER_4, nullptr, nullptr},
    {"IMAGE_LOGO_LETTER_5", "TitleScreen", ResKind::Image, &IMAGE_LOGO_LETTER_5, nullptr, nullptr},
    {"IMAGE_LOGO_LETTER_2_TILTED", "TitleScreen", ResKind::Image, &IMAGE_LOGO_LETTER_2_TILTED, nullptr, nullptr},
    {"IMAGE_LOGO_LETTER_4_TILTED", "TitleScreen", ResKind::Image, &IMAGE_LOGO_LETTER_4_TILTED, nullptr, nullptr},
    {"IMAGE_LOGO_BALL", "TitleScreen", ResKind::Image, &IMAGE_LOGO_BALL, nullptr, nullptr},
    {"IMAGE_LOGO_TRAIL", "TitleScreen", ResKind::Image, &IMAGE_LOGO_TRAIL, nullptr, nullptr},
    {"IMAGE_LOGO_TRADEMARK", "TitleScreen", ResKind::Image, &IMAGE_LOGO_TRADEMARK, nullptr, nullptr},
    {"IMAGE_LOGO_CREATED_BY", "TitleScreen", ResKind::Image, &IMAGE_LOGO_CREATED_BY, nullptr, nullptr},
    {"IMAGE_MENU_BACKGROUND_1", "Game", ResKind::Image, &IMAGE_MENU_BACKGROUND_1, nullptr, nullptr},
    {"IMAGE_MENU_BACKGROUND_2", "Game", ResKind::Image, &IMAGE_MENU_BACKGROUND_2, nullptr, nullptr},
    {"IMAGE_MENU_BACKGROUND_3", "Game", ResKind::Image, &IMAGE_MENU_BACKGROUND_3, nullptr, nullptr},
    {"IMAGE_MENU_BACKGROUND_4", "Game", ResKind::Image, &IMAGE_MENU_BACKGROUND_4, nullptr, nullptr},
    {"IMAGE_MENU_BACKGROUND_5", "Game", ResKind::Image, &IMAGE_MENU_BACKGROUND_5, nullptr, nullptr},
    {"IMAGE_MENU_BUTTON_DOWN", "Game", ResKind::Image, &IMAGE_MENU_BUTTON_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_BUTTON_NORMAL", "Game", ResKind::Image, &IMAGE_MENU_BUTTON_NORMAL, nullptr, nullptr},
    {"IMAGE_MENU_BUTTON_OVER", "Game", ResKind::Image, &IMAGE_MENU_BUTTON_OVER, nullptr, nullptr},
    {"IMAGE_MENU_CHARACTER_HANDBOOK", "Game", ResKind::Image, &IMAGE_MENU_CHARACTER_HANDBOOK, nullptr, nullptr},
    {"IMAGE_MENU_CHECKBOX", "Game", ResKind::Image, &IMAGE_MENU_CHECKBOX, nullptr, nullptr},
    {"IMAGE_MENU_CHECKBOX_CHECKED", "Game", ResKind::Image, &IMAGE_MENU_CHECKBOX_CHECKED, nullptr, nullptr},
    {"IMAGE_MENU_CHECKBOX_CHECKED_HOVER", "Game", ResKind::Image, &IMAGE_MENU_CHECKBOX_CHECKED_HOVER, nullptr, nullptr},
    {"IMAGE_MENU_CHECKBOX_HOVER", "Game", ResKind::Image, &IMAGE_MENU_CHECKBOX_HOVER, nullptr, nullptr},
    {"IMAGE_MENU_CLIPBOARD", "Game", ResKind::Image, &IMAGE_MENU_CLIPBOARD, nullptr, nullptr},
    {"IMAGE_MENU_COMIC1", "Game", ResKind::Image, &IMAGE_MENU_COMIC1, nullptr, nullptr},
    {"IMAGE_MENU_COMIC2", "Game", ResKind::Image, &IMAGE_MENU_COMIC2, nullptr, nullptr},
    {"IMAGE_MENU_COMIC3", "Game", ResKind::Image, &IMAGE_MENU_COMIC3, nullptr, nullptr},
    {"IMAGE_MENU_COMIC4", "Game", ResKind::Image, &IMAGE_MENU_COMIC4, nullptr, nullptr},
    {"IMAGE_MENU_COMPLETE_ICON", "Game", ResKind::Image, &IMAGE_MENU_COMPLETE_ICON, nullptr, nullptr},
    {"IMAGE_MENU_COMPLETE_MINIGAME_ICON", "Game", ResKind::Image, &IMAGE_MENU_COMPLETE_MINIGAME_ICON, nullptr, nullptr},
    {"IMAGE_MENU_CREDITS_DOWN", "Game", ResKind::Image, &IMAGE_MENU_CREDITS_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_CREDITS_OVER", "Game", ResKind::Image, &IMAGE_MENU_CREDITS_OVER, nullptr, nullptr},
    {"IMAGE_MENU_CREDITS_POPUP", "Game", ResKind::Image, &IMAGE_MENU_CREDITS_POPUP, nullptr, nullptr},
    {"IMAGE_MENU_CREDITS_TITLE", "Game", ResKind::Image, &IMAGE_MENU_CREDITS_TITLE, nullptr, nullptr},
    {"IMAGE_MENU_CREDITS_UP", "Game", ResKind::Image, &IMAGE_MENU_CREDITS_UP, nullptr, nullptr},
    {"IMAGE_MENU_CUSTOMER_HANDBOOK_DOWN", "Game", ResKind::Image, &IMAGE_MENU_CUSTOMER_HANDBOOK_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_CUSTOMER_HANDBOOK_NORMAL", "Game", ResKind::Image, &IMAGE_MENU_CUSTOMER_HANDBOOK_NORMAL, nullptr, nullptr},
    {"IMAGE_MENU_CUSTOMER_HANDBOOK_OVER", "Game", ResKind::Image, &IMAGE_MENU_CUSTOMER_HANDBOOK_OVER, nullptr, nullptr},
    {"IMAGE_MENU_DIALOG_BOX_1", "Game", ResKind::Image, &IMAGE_MENU_DIALOG_BOX_1, nullptr, nullptr},
    {"IMAGE_MENU_DIALOG_BOX_2", "Game", ResKind::Image, &IMAGE_MENU_DIALOG_BOX_2, nullptr, nullptr},
    {"IMAGE_MENU_DIALOG_BOX_3", "Game", ResKind::Image, &IMAGE_MENU_DIALOG_BOX_3, nullptr, nullptr},
    {"IMAGE_MENU_DIALOG_BOX_4", "Game", ResKind::Image, &IMAGE_MENU_DIALOG_BOX_4, nullptr, nullptr},
    {"IMAGE_MENU_DIALOG_BUTTON_DOWN", "Game", ResKind::Image, &IMAGE_MENU_DIALOG_BUTTON_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_DIALOG_BUTTON_NORMAL", "Game", ResKind::Image, &IMAGE_MENU_DIALOG_BUTTON_NORMAL, nullptr, nullptr},
    {"IMAGE_MENU_DIALOG_BUTTON_OVER", "Game", ResKind::Image, &IMAGE_MENU_DIALOG_BUTTON_OVER, nullptr, nullptr},
    {"IMAGE_MENU_EXPERT_COMPLETE_ICON", "Game", ResKind::Image, &IMAGE_MENU_EXPERT_COMPLETE_ICON, nullptr, nullptr},
    {"IMAGE_MENU_PRELLA_MARKER", "Game", ResKind::Image, &IMAGE_MENU_PRELLA_MARKER, nullptr, nullptr},
    {"IMAGE_MENU_HAMMER", "Game", ResKind::Image, &IMAGE_MENU_HAMMER, nullptr, nullptr},
    {"IMAGE_MENU_HIGH_SCORE_DOWN", "Game", ResKind::Image, &IMAGE_MENU_HIGH_SCORE_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_HIGH_SCORE_OVER", "Game", ResKind::Image, &IMAGE_MENU_HIGH_SCORE_OVER, nullptr, nullptr},
    {"IMAGE_MENU_HIGH_SCORE_POPUP", "Game", ResKind::Image, &IMAGE_MENU_HIGH_SCORE_POPUP, nullptr, nullptr},
    {"IMAGE_MENU_HIGH_SCORE_TITLE", "Game", ResKind::Image, &IMAGE_MENU_HIGH_SCORE_TITLE, nullptr, nullptr},
    {"IMAGE_MENU_HIGH_SCORE_UP", "Game", ResKind::Image, &IMAGE_MENU_HIGH_SCORE_UP, nullptr, nullptr},
    {"IMAGE_MENU_HOW_TO_DOWN", "Game", ResKind::Image, &IMAGE_MENU_HOW_TO_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_HOW_TO_OVER", "Game", ResKind::Image, &IMAGE_MENU_HOW_TO_OVER, nullptr, nullptr},
    {"IMAGE_MENU_HOW_TO_PLAY_POPUP", "Game", ResKind::Image, &IMAGE_MENU_HOW_TO_PLAY_POPUP, nullptr, nullptr},
    {"IMAGE_MENU_HOW_TO_PLAY_TITLE", "Game", ResKind::Image, &IMAGE_MENU_HOW_TO_PLAY_TITLE, nullptr, nullptr},
    {"IMAGE_MENU_HOW_TO_UP", "Game", ResKind::Image, &IMAGE_MENU_HOW_TO_UP, nullptr, nullptr},
    {"IMAGE_MENU_IRIS", "Game", ResKind::Image, &IMAGE_MENU_IRIS, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BEGIN", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BEGIN, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BUTTON_DOWN", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BUTTON_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BUTTON_LARGE_DOWN", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BUTTON_LARGE_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BUTTON_LARGE_NORMAL", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BUTTON_LARGE_NORMAL, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BUTTON_LARGE_OVER", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BUTTON_LARGE_OVER, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BUTTON_NORMAL", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BUTTON_NORMAL, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BUTTON_OVER", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BUTTON_OVER, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_DOWN", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_NORMAL", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_NORMAL, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_OVER", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_BUTTON_STRAIGHT_OVER, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_COMPLETE", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_COMPLETE, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_COMPLETE_DOUBLE", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_COMPLETE_DOUBLE, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_COMPLETE_PRELLA", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_COMPLETE_PRELLA, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_COMPLETE_DORVIE", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_COMPLETE_DORVIE, nullptr, nullptr},
    {"IMAGE_MENU_LEVEL_FAIL", "Game", ResKind::Image, &IMAGE_MENU_LEVEL_FAIL, nullptr, nullptr},
    {"IMAGE_MENU_MAIN", "Game", ResKind::Image, &IMAGE_MENU_MAIN, nullptr, nullptr},
    {"IMAGE_MENU_MAP", "Game", ResKind::Image, &IMAGE_MENU_MAP, nullptr, nullptr},
    {"IMAGE_MENU_MAP_HUD", "Game", ResKind::Image, &IMAGE_MENU_MAP_HUD, nullptr, nullptr},
    {"IMAGE_MENU_MAP_TITLE", "Game", ResKind::Image, &IMAGE_MENU_MAP_TITLE, nullptr, nullptr},
    {"IMAGE_MENU_NOT_COMPLETE_ICON", "Game", ResKind::Image, &IMAGE_MENU_NOT_COMPLETE_ICON, nullptr, nullptr},
    {"IMAGE_MENU_OPTIONS_DOWN", "Game", ResKind::Image, &IMAGE_MENU_OPTIONS_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_OPTIONS_OVER", "Game", ResKind::Image, &IMAGE_MENU_OPTIONS_OVER, nullptr, nullptr},
    {"IMAGE_MENU_OPTIONS_UP", "Game", ResKind::Image, &IMAGE_MENU_OPTIONS_UP, nullptr, nullptr},
    {"IMAGE_MENU_PLAY_GAME_DOWN", "Game", ResKind::Image, &IMAGE_MENU_PLAY_GAME_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_PLAY_GAME_OVER", "Game", ResKind::Image, &IMAGE_MENU_PLAY_GAME_OVER, nullptr, nullptr},
    {"IMAGE_MENU_PLAY_GAME_UP", "Game", ResKind::Image, &IMAGE_MENU_PLAY_GAME_UP, nullptr, nullptr},
    {"IMAGE_MENU_PROFILE_BUTTON_NORMAL", "Game", ResKind::Image, &IMAGE_MENU_PROFILE_BUTTON_NORMAL, nullptr, nullptr},
    {"IMAGE_MENU_PROFILE_BUTTON_OK_NORMAL", "Game", ResKind::Image, &IMAGE_MENU_PROFILE_BUTTON_OK_NORMAL, nullptr, nullptr},
    {"IMAGE_MENU_PROFILE_BUTTON_OK_OVER", "Game", ResKind::Image, &IMAGE_MENU_PROFILE_BUTTON_OK_OVER, nullptr, nullptr},
    {"IMAGE_MENU_PROFILE_BUTTON_OK_SELECTED", "Game", ResKind::Image, &IMAGE_MENU_PROFILE_BUTTON_OK_SELECTED, nullptr, nullptr},
    {"IMAGE_MENU_PROFILE_BUTTON_OVER", "Game", ResKind::Image, &IMAGE_MENU_PROFILE_BUTTON_OVER, nullptr, nullptr},
    {"IMAGE_MENU_PROFILE_BUTTON_SELECTED", "Game", ResKind::Image, &IMAGE_MENU_PROFILE_BUTTON_SELECTED, nullptr, nullptr},
    {"IMAGE_MENU_PROFILE_POPUP", "Game", ResKind::Image, &IMAGE_MENU_PROFILE_POPUP, nullptr, nullptr},
    {"IMAGE_MENU_PROFILE_TITLE", "Game", ResKind::Image, &IMAGE_MENU_PROFILE_TITLE, nullptr, nullptr},
    {"IMAGE_MENU_QUIT_DOWN", "Game", ResKind::Image, &IMAGE_MENU_QUIT_DOWN, nullptr, nullptr},
    {"IMAGE_MENU_QUIT_OVER", "Game", ResKind::Image, &IMAGE_MENU_QUIT_OVER, nullptr, nullptr},
    {"IMAGE_MENU_QUIT_UP", "Game", ResKind::Image, &IMAGE_MENU_QUIT_UP, nullptr, nullptr},
    {"IMAGE_MENU_SAW", "Game", ResKind::Image, &IMAGE_MENU_SAW, nullptr, nullptr},
    {"IMAGE_MENU_SLIDER_THUMB", "Game", ResKind::Image, &IMAGE_MENU_SLIDER_THUMB, nullptr, nullptr},
    {"IMAGE_MENU_SLIDER_TRACK", "Game", ResKind::Image, &IMAGE_MENU_SLIDER_TRACK, nullptr, nullptr},
    {"IMAGE_MENU_STORE_SMOKE", "Game", ResKind::Image, &IMAGE_MENU_STORE_SMOKE, nullptr, nullptr},
    {"IMAGE_ACHIEVEMENT_ICONS", "Game", ResKind::Image, &IMAGE_ACHIEVEMENT_ICONS, nullptr, nullptr},
    {"IMAGE_ANGRY_CLOUD", "Velmora", ResKind::Image, &IMAGE_ANGRY_CLOUD, nullptr, nullptr},
    {"IMAGE_BACK_ROOM_SMOKE", "Velmora", ResKind::Image, &IMAGE_BACK_ROOM_SMOKE, nullptr, nullptr},
    {"IMAGE_CASH_REGISTER", "Velmora", ResKind::Image, &IMAGE_CASH_REGISTER, nullptr, nullptr},
    {"IMAGE_CHRISTMAS_LIGHTS", "Velmora", ResKind::Image, &IMAGE_CHRISTMAS_LIGHTS, nullptr, nullptr},
    {"IMAGE_CLOSED_SIGN", "Velmora", ResKind::Image, &IMAGE_CLOSED_SIGN, nullptr, nullptr},
    {"IMAGE_CLOTHING_FOLDED_SHADOW", "Velmora", ResKind::Image, &IMAGE_CLOTHING_FOLDED_SHADOW, nullptr, nullptr},
    {"IMAGE_DOWN_ARROW", "Velmora", ResKind::Image, &IMAGE_DOWN_ARROW, nullptr, nullptr},
    {"IMAGE_EMPTY_HANGER", "Velmora", ResKind::Image, &IMAGE_EMPTY_HANGER, nullptr, nullptr},
    {"IMAGE_EXPERT_GOAL_REACHED", "Velmora", ResKind::Image, &IMAGE_EXPERT_GOAL_REACHED, nullptr, nullptr},
    {"IMAGE_EXPLOSION", "Velmora", ResKind::Image, &IMAGE_EXPLOSION, nullptr, nullptr},
    {"IMAGE_GIFT_BAG", "Velmora", ResKind::Image, &IMAGE_GIFT_BAG, nullptr, nullptr},
    {"IMAGE_GIFT_WRAP", "Velmora", ResKind::Image, &IMAGE_GIFT_WRAP, nullptr, nullptr},
    {"IMAGE_GIFT_WRAP_ICON", "Velmora", ResKind::Image, &IMAGE_GIFT_WRAP_ICON, nullptr, nullptr},
    {"IMAGE_GIFT_WRAP_PAPER", "Velmora", ResKind::Image, &IMAGE_GIFT_WRAP_PAPER, nullptr, nullptr},
    {"IMAGE_GOAL_REACHED", "Velmora", ResKind::Image, &IMAGE_GOAL_REACHED, nullptr, nullptr},
    {"IMAGE_HEART_EMPTY", "Velmora", ResKind::Image, &IMAGE_HEART_EMPTY, nullptr, nullptr},
    {"IMAGE_HEART_FULL", "Velmora", ResKind::Image, &IMAGE_HEART_FULL, nullptr, nullptr},
    {"IMAGE_HUD_JAN", "Velmora", ResKind::Image, &IMAGE_HUD_JAN, nullptr, nullptr},
    {"IMAGE_HUD_FEB", "Velmora", ResKind::Image, &IMAGE_HUD_FEB, nullptr, nullptr},
    {"IMAGE_HUD_MAR", "Velmora", ResKind::Image, &IMAGE_HUD_MAR, nullptr, nullptr},
    {"IMAGE_HUD_APR", "Velmora", ResKind::Image, &IMAGE_HUD_APR, nullptr, nullptr},
    {"IMAGE_HUD_MAY", "Velmora", ResKind::Image, &IMAGE_HUD_MAY, nullptr, nullptr},
    {"IMAGE_HUD_JUN", "Velmora", ResKind::Image, &IMAGE_HUD_JUN, nullptr, nullptr},
    {"IMAGE_HUD_JUL", "Velmora", ResKind::Image, &IMAGE_HUD_JUL, nullptr, nullptr},
    {"IMAGE_HUD_AUG", "Velmora", ResKind::Image, &IMAGE_HUD_AUG, nullptr, nullptr},
    {"IMAGE_HUD_SEP", "Velmora", ResKind::Image, &IMAGE_HUD_SEP, nullptr, nullptr},
    {"IMAGE_HUD_OCT", "Velmora", ResKind::Image, &IMAGE_HUD_OCT, nullptr, nullptr},
    {"IMAGE_HUD_NOV", "Velmora", ResKind::Image, &IMAGE_HUD_NOV, nullptr, nullptr},
    {"IMAGE_HUD_DEC", "Velmora", ResKind::Image, &IMAGE_HUD_DEC, nullptr, nullptr},
    {"IMAGE_HUD_CASH_ICON", "Velmora", ResKind::Image, &IMAGE_HUD_CASH_ICON, nullptr, nullptr},
    {"IMAGE_HUD_CLOCK", "Velmora", ResKind::Image, &IMAGE_HUD_CLOCK, nullptr, nullptr},
    {"IMAGE_HUD_DONE_HOVER", "Velmora", ResKind::Image, &IMAGE_HUD_DONE_HOVER, nullptr, nullptr},
    {"IMAGE_HUD_DONE_NORMAL", "Velmora", ResKind::Image, &IMAGE_HUD_DONE_NORMAL, nullptr, nullptr},
    {"IMAGE_HUD_EXPERT_GOAL", "Velmora", ResKind::Image, &IMAGE_HUD_EXPERT_GOAL, nullptr, nullptr},
    {"IMAGE_HUD_GOAL", "Velmora", ResKind::Image, &IMAGE_HUD_GOAL, nullptr, nullptr},
    {"IMAGE_HUD_JAR_EMPTY", "Velmora", ResKind::Image, &IMAGE_HUD_JAR_EMPTY, nullptr, nullptr},
    {"IMAGE_HUD_JAR_FULL", "Velmora", ResKind::Image, &IMAGE_HUD_JAR_FULL, nullptr, nullptr},
    {"IMAGE_HUD_JAR_HALF", "Velmora", ResKind::Image, &IMAGE_HUD_JAR_HALF, nullptr, nullptr},
    {"IMAGE_HUD_LIVES", "Velmora", ResKind::Image, &IMAGE_HUD_LIVES, nullptr, nullptr},
    {"IMAGE_HUD_OPTIONS_HOVER", "Velmora", ResKind::Image, &IMAGE_HUD_OPTIONS_HOVER, nullptr, nullptr},
    {"IMAGE_HUD_OPTIONS_NORMAL", "Velmora", ResKind::Image, &IMAGE_HUD_OPTIONS_NORMAL, nullptr, nullptr},
    {"IMAGE_HUD_PRICE", "Velmora", ResKind::Image, &IMAGE_HUD_PRICE, nullptr, nullptr},
    {"IMAGE_LEFT_ARROW", "Velmora", ResKind::Image, &IMAGE_LEFT_ARROW, nullptr, nullptr},
    {"IMAGE_MANNEQUIN_FEMALE", "Velmora", ResKind::Image, &IMAGE_MANNEQUIN_FEMALE, nullptr, nullptr},
    {"IMAGE_MANNEQUIN_FEMALE_BOTTOM", "Velmora", ResKind::Image, &IMAGE_MANNEQUIN_FEMALE_BOTTOM, nullptr, nullptr},
    {"IMAGE_MANNEQUIN_FEMALE_TOP", "Velmora", ResKind::Image, &IMAGE_MANNEQUIN_FEMALE_TOP, nullptr, nullptr},
    {"IMAGE_MANNEQUIN_MALE", "Velmora", ResKind::Image, &IMAGE_MANNEQUIN_MALE, nullptr, nullptr},
    {"IMAGE_MANNEQUIN_MALE_BOTTOM", "Velmora", ResKind::Image, &IMAGE_MANNEQUIN_MALE_BOTTOM, nullptr, nullptr},
    {"IMAGE_MANNEQUIN_MALE_TOP", "Velmora", ResKind::Image, &IMAGE_MANNEQUIN_MALE_TOP, nullptr, nullptr},
    {"IMAGE_MINIGAME_ERROR", "Velmora", ResKind::Image, &IMAGE_MINIGAME_ERROR, nullptr, nullptr},
    {"IMAGE_MINIGAME_MANNEQUIN_FEMALE", "Velmora", ResKind::Image, &IMAGE_MINIGAME_MANNEQUIN_FEMALE, nullptr, nullptr},
    {"IMAGE_MINIGAME_MANNEQUIN_MALE", "Velmora", ResKind::Image, &IMAGE_MINIGAME_MANNEQUIN_MALE, nullptr, nullptr},
    {"IMAGE_MINIGAME_POPUP", "Velmora", ResKind::Image, &IMAGE_MINIGAME_POPUP, nullptr, nullptr},
    {"IMAGE_MINIGAME_WINDOWS", "Velmora", ResKind::Image, &IMAGE_MINIGAME_WINDOWS, nullptr, nullptr},
    {"IMAGE_NEW_HOVER", "Velmora", ResKind::Image, &IMAGE_NEW_HOVER, nullptr, nullptr},
    {"IMAGE_NEW_NORMAL", "Velmora", ResKind::Image, &IMAGE_NEW_NORMAL, nullptr, nullptr},
    {"IMAGE_NUMBERS", "Velmora", ResKind::Image, &IMAGE_NUMBERS, nullptr, nullptr},
    {"IMAGE_OPEN_SIGN", "Velmora", ResKind::Image, &IMAGE_OPEN_SIGN, nullptr, nullptr},
    {"IMAGE_OUT_OF_STOCK", "Velmora", ResKind::Image, &IMAGE_OUT_OF_STOCK, nullptr, nullptr},
    {"IMAGE_RACK_PRICE_SIGN", "Velmora", ResKind::Image, &IMAGE_RACK_PRICE_SIGN, nullptr, nullptr},
    {"IMAGE_RIGHT_ARROW", "Velmora", ResKind::Image, &IMAGE_RIGHT_ARROW, nullptr, nullptr},
    {"IMAGE_SHADOW", "Velmora", ResKind::Image, &IMAGE_SHADOW, nullptr, nullptr},
    {"IMAGE_SPEECH_BUBBLE", "Velmora", ResKind::Image, &IMAGE_SPEECH_BUBBLE, nullptr, nullptr},
    {"IMAGE_TABLE_PRICE_SIGN", "Velmora", ResKind::Image, &IMAGE_TABLE_PRICE_SIGN, nullptr, nullptr},
    {"IMAGE_TABLE_SMOKE", "Velmora", ResKind::Image, &IMAGE_TABLE_SMOKE, nullptr, nullptr},
    {"IMAGE_TABLE_TAG", "Velmora", ResKind::Image, &IMAGE_TABLE_TAG, nullptr, nullptr},
    {"IMAGE_TIMER", "Velmora", ResKind::Image, &IMAGE_TIMER, nullptr, nullptr},
    {"IMAGE_UPGRADE_HOVER", "Velmora", ResKind::Image, &IMAGE_UPGRADE_HOVER, nullptr, nullptr},
    {"IMAGE_UPGRADE_NORMAL", "Velmora", ResKind::Image, &IMAGE_UPGRADE_NORMAL, nullptr, nullptr},
    {"IMAGE_UP_ARROW", "Velmora", ResKind::Image, &IMAGE_UP_ARROW, nullptr, nullptr},
    {"SOUND_APPLAUSE", "Velmora", ResKind::Sound, nullptr, &SOUND_APPLAUSE, nullptr},
    {"SOUND_CASH_REGISTER", "Velmora", ResKind::Sound, nullptr, &SOUND_CASH_REGISTER, nullptr},
    {"SOUND_CHANGING_ROOM", "Velmora", ResKind::Sound, nullptr, &SOUND_CHANGING_ROOM, nullptr},
    {"SOUND_CONSTRUCTION", "Velmora", ResKind::Sound, nullptr, &SOUND_CONSTRUCTION, nullptr},
    {"SOUND_CORRECT", "Velmora", ResKind::Sound, nullptr, &SOUND_CORRECT, nullptr},
    {"SOUND_CUSTOMER_ANGRY", "Velmora", ResKind::Sound, nullptr, &SOUND_CUSTOMER_ANGRY, nullptr},
    {"SOUND_CUSTOMER_EXPLODE", "Velmora", ResKind::Sound, nullptr, &SOUND_CUSTOMER_EXPLODE, nullptr},
    {"SOUND_EXPERT_GOAL", "Velmora", ResKind::Sound, nullptr, &SOUND_EXPERT_GOAL, nullptr},
    {"SOUND_GIFT_WRAP", "Velmora", ResKind::Sound, nullptr, &SOUND_GIFT_WRAP, nullptr},
    {"SOUND_GOAL_REACHED", "Velmora", ResKind::Sound, nullptr, &SOUND_GOAL_REACHED, nullptr},
    {"SOUND_HIGHLIGHT", "Velmora", ResKind::Sound, nullptr, &SOUND_HIGHLIGHT, nullptr},
    {"SOUND_INCORRECT", "Velmora", ResKind::Sound, nullptr, &SOUND_INCORRECT, nullptr},
    {"SOUND_LOST", "Velmora", ResKind::Sound, nullptr, &SOUND_LOST, nullptr},
    {"SOUND_PICK_UP", "Velmora", ResKind::Sound, nullptr, &SOUND_PICK_UP, nullptr},
    {"SOUND_PUT_DOWN", "Velmora", ResKind::Sound, nullptr, &SOUND_PUT_DOWN, nullptr},
    {"SOUND_SHUFFLING", "Velmora", ResKind::Sound, nullptr, &SOUND_SHUFFLING, nullptr},
    {"SOUND_START_DAY", "Velmora", ResKind::Sound, nullptr, &SOUND_START_DAY, nullptr},
    {"SOUND_START_ROUND", "Velmora", ResKind::Sound, nullptr, &SOUND_START_ROUND, nullptr},
    {"SOUND_STORE_BUILT", "Velmora", ResKind::Sound, nullptr, &SOUND_STORE_BUILT, nullptr},
    {"SOUND_THUNDER_CLOUD", "Velmora", ResKind::Sound, nullptr, &SOUND_THUNDER_CLOUD, nullptr},
};
const int kResourceIdCount = static_cast<int>(sizeof(kResourceIds) / sizeof(kResourceIds[0]));
const char* const kResourceGroups[4] = {"Init", "TitleScreen", "Game", "Velmora"};

bool BindGroup(Zestra::ResourceManager& manager, const std::string& group, std::string* errorText)
{
    bool any = false;
    for (int i = 0; i < kResourceIdCount; ++i)
    {
        const ResIdInfo& info = kResourceIds[i];
        if (group != info.group)
            continue;
        any = true;
        try
        {
            switch (info.kind)
            {
            case ResKind::Image:
                *info.image = manager.GetImageOrThrow(info.id);
                break;
            case ResKind::Sound:
                *info.sound = manager.GetSoundOrThrow(info.id);
                break;
            case ResKind::Font:
                *info.font = manager.GetFontOrThrow(info.id);
                break;
            }
        }
        catch (const Zestra::ResourceManagerException& e)
        {
            if (errorText)
                *errorText = e.what();
            return false;
        }
    }
    if (!any && errorText)
        *errorText = "Unknown resource group: " + group;
    return any;
}

void UnbindGroup(const std::string& group)
{
    for (int i = 0; i < kResourceIdCount; ++i)
    {
        const ResIdInfo& info = kResourceIds[i];
        if (group != info.group)
            continue;
        if (info.image)
            info.image->reset();
        if (info.sound)
            *info.sound = -1;
        if (info.font)
            *info.font = nullptr;
    }
}

void UnbindAllGroups()
{
    for (int i = 0; i < kResourceIdCount; ++i)
    {
        const ResIdInfo& info = kResourceIds[i];
        if (info.image)
            info.image->reset();
        if (info.sound)
            *info.sound = -1;
        if (info.font)
            *info.font = nullptr;
    }
}
