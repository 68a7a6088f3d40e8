// The global string keys the game's screens look up by fixed name; the data checker verifies the file has them.
#include "game/data/Localization.h"

const std::vector<std::string> kLocalizationKeys = {
    // options dialog
    "3d_mode", "3d_not_supported", "3d_not_supported_msg", "3d_recommended", "3d_recommended_msg", "custom_cursors",
    "full_screen", "music_volume", "no_windowed_mode", "no_windowed_mode_msg", "options_close", "options_main_menu",
    "options_return_to_game", "options_title", "sound_volume", "voice_volume",
    // information screens
    "back_to_menu", "characters_back", "characters_select_customer", "characters_title", "character_favorites",
    "comic_click_to_continue", "credits_title", "high_scores_title", "how_to_play_title", "comic1_panel1",
    "comic1_panel2", "comic1_panel3", "comic1_panel4", "comic2_panel1", "comic2_panel2", "comic2_panel3",
    "comic2_panel4", "comic3_panel1", "comic3_panel2", "comic3_panel3", "comic3_panel4", "comic4_panel1",
    "comic4_panel2", "comic4_panel3", "comic4_panel4", "credits_disclaimer", "final_score", "high_score_for",
    "highscore_continue", "highscore_final", "highscore_next", "highscore_prev", "howto_page_floor",
    "howto_page_customers", "howto_page_later", "howto_previous", "howto_next", "howto_fetch", "howto_orders",
    "howto_tidy", "howto_register", "howto_hearts", "howto_cloud", "howto_desk", "howto_goal", "howto_shop",
    "howto_drinks", "howto_gift_wrap", "howto_rival",
    // level start and results
    "cash", "level_complete", "level_complete_continue", "level_complete_ok", "level_expert_complete",
    "level_expert_goal", "level_fail_game_over", "level_fail_game_over_msg", "level_fail_ok", "level_fail_title",
    "level_goal", "level_boss_start_ok", "level_start_ok", "level_status_quit", "lost_customers", "minigame", "tips",
    "takings", "run_cash", "practice_money_kept", "practice_money_end",
    // confirmation dialogs
    "delete_cancel", "delete_confirm", "delete_text", "delete_title", "new_game_cancel", "new_game_confirm",
    "new_game_text", "new_game_title", "notice_button", "quit_cancel", "quit_confirm", "quit_text", "quit_title",
    "stop_playing_cancel", "stop_playing_confirm", "stop_playing_text", "stop_playing_title", "tutorial_cancel",
    "tutorial_confirm", "tutorial_text", "tutorial_title",
    // main menu and profiles
    "main_menu_play", "main_menu_high_scores", "main_menu_options", "main_menu_how_to_play", "main_menu_credits",
    "main_menu_quit", "main_menu_trophies",
    // trophies and statistics (each achievement's own texts are checked from its table)
    "achievement_toast", "achievements_count", "achievements_earned", "achievements_statistics", "achievements_title",
    "statistics_best_day", "statistics_days", "statistics_expert", "statistics_lost", "statistics_memory_best",
    "statistics_money", "statistics_passed", "statistics_served", "statistics_time", "statistics_tips",
    "statistics_title", "statistics_trophies",
    "cancel_game", "enter_name", "enter_name_default", "enter_name_menu", "enter_name_ok", "load_game", "new_game",
    "no_profile", "not_you",
    "player_select_cancel", "player_select_delete", "player_select_ok", "player_select_play", "select_profile",
    "start_game_title", "welcome", "welcome_new",
    // store map, upgrade shop, minigame, board
    "map_choose_store", "map_click_to_continue", "store_locked", "upgrade_buy", "upgrade_cancel",
    "upgrade_furniture_notice", "minigame_bonus", "minigame_done", "minigame_extra_time", "minigame_final_score",
    "minigame_matches", "minigame_preview", "minigame_solving", "paused", "hud_cash", "hud_practice", "hud_takings",
    // tutorials
    "tutorial_click_to_continue", "tutorial_intro1", "tutorial_intro2", "tutorial_mannequin", "tutorial_put_down",
    "tutorial_good_job", "tutorial_first_customer", "tutorial_restock", "tutorial_restock_put_down",
    "tutorial_restock_tip", "tutorial_clean_up", "tutorial_discard", "tutorial_ready_to_pay1", "tutorial_goodies",
    "tutorial_another_cust", "tutorial_put_on_table", "tutorial_restock_pair", "tutorial_put_down_pair",
    "tutorial_ready_to_pay2", "tutorial_customer_service", "tutorial_bring_to_service", "tutorial_ready_to_pay3",
    "tutorial_last_tip", "tutorial_end", "tutorial13_intro1", "tutorial13_intro2", "tutorial13_double_click",
    "tutorial13_put_down", "tutorial13_end", "tutorial2_intro1", "tutorial2_intro2", "tutorial2_bring_clothes",
    "tutorial2_restock", "tutorial2_impatient", "tutorial2_coffee", "tutorial2_ready_to_pay", "tutorial2_end",
    "tutorial3_intro1", "tutorial3_intro2", "tutorial3_gift_wrap", "tutorial3_wait_to_pay", "tutorial3_ready_to_pay",
    "tutorial_shopping_intro1", "tutorial_shopping_intro2", "tutorial_shopping_intro3",
    "tutorial_shopping_buy_equipment", "tutorial_shopping_good_job", "tutorial_shopping_done_button",
    // money
    "money_template", "money_template_decimal",
};
