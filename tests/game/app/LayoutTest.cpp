// Every screen's layout read from its own rectangles rather than its pixels: where each run of text lands as its
// font measures it (through the drawing context's text observer) and where each control of the screen sits. A text
// must stay inside the clip it is drawn with, clear of every other text and of the controls it does not belong to;
// a control must stay inside its panel and clear of the others. Skipped when the build has no content folder.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/TextObserver.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/data/LevelStats.h"
#include "game/flow/MenuCatalog.h"
#include "game/menus/ConfirmMainMenu.h"
#include "game/menus/OptionsDialog.h"
#include "game/shopday/Board.h"
#include "game/ui/Menu.h"

#include "tests/game/LoadedGame.h"

#include <gtest/gtest.h>

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

namespace
{

using namespace Zestra;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

struct DrawnText
{
    std::string text;
    Rect extent;
    Rect clip;
    int call = 0; // runs of one print call share it
};

struct Control
{
    std::string name;
    Rect rect;
};

// What one screen shows, as rectangles in screen pixels.
struct Layout
{
    std::vector<DrawnText> texts;
    std::vector<Control> controls;
    Rect panel; // empty: the controls may go anywhere
};

class TextRecorder : public TextObserver
{
public:
    void TextDrawn(const std::string& text, const Rect& extent, const Rect& clip, bool continues) override
    {
        if (!continues)
            ++calls;
        // Blank runs (the spaces between colour segments) take room nobody sees, and a run wholly outside its clip
        // is not shown at all.
        if (text.find_first_not_of(' ') != std::string::npos && !extent.IsEmpty() &&
            !extent.Intersection(clip).IsEmpty())
            texts.push_back({text, extent, clip, calls});
    }
    std::vector<DrawnText> texts;
    int calls = 0;
};

std::string Show(const Rect& r)
{
    std::ostringstream out;
    out << "(" << r.mX << "," << r.mY << " " << r.mWidth << "x" << r.mHeight << ")";
    return out.str();
}

bool Inside(const Rect& inner, const Rect& outer)
{
    return inner.mX >= outer.mX && inner.mY >= outer.mY && inner.mX + inner.mWidth <= outer.mX + outer.mWidth &&
           inner.mY + inner.mHeight <= outer.mY + outer.mHeight;
}

bool Overlap(const Rect& a, const Rect& b)
{
    return !a.Intersection(b).IsEmpty();
}

// The same words drawn again a few pixels off are a shadow or an outline, not a second text.
bool Shadow(const DrawnText& a, const DrawnText& b)
{
    return a.text == b.text && std::abs(a.extent.mX - b.extent.mX) <= 3 && std::abs(a.extent.mY - b.extent.mY) <= 3;
}

// One line per fault, naming the texts and controls with their rectangles.
std::vector<std::string> LayoutFaults(const Layout& layout)
{
    std::vector<std::string> faults;
    const auto& texts = layout.texts;
    for (size_t i = 0; i < texts.size(); ++i)
    {
        const DrawnText& t = texts[i];
        if (!Inside(t.extent, t.clip))
            faults.push_back("text '" + t.text + "' " + Show(t.extent) + " leaves its box " + Show(t.clip));
        for (size_t j = i + 1; j < texts.size(); ++j)
        {
            const DrawnText& u = texts[j];
            if (u.call != t.call && Overlap(t.extent, u.extent) && !Shadow(t, u))
                faults.push_back("text '" + t.text + "' " + Show(t.extent) + " touches text '" + u.text + "' " +
                                 Show(u.extent));
        }
        for (const Control& c : layout.controls)
            if (Overlap(t.extent, c.rect) && !Inside(t.extent, c.rect))
                faults.push_back("text '" + t.text + "' " + Show(t.extent) + " touches " + c.name + " " +
                                 Show(c.rect));
    }
    for (size_t i = 0; i < layout.controls.size(); ++i)
    {
        const Control& c = layout.controls[i];
        if (!layout.panel.IsEmpty() && !Inside(c.rect, layout.panel))
            faults.push_back(c.name + " " + Show(c.rect) + " leaves its panel " + Show(layout.panel));
        for (size_t j = i + 1; j < layout.controls.size(); ++j)
            if (Overlap(c.rect, layout.controls[j].rect))
                faults.push_back(c.name + " " + Show(c.rect) + " touches " + layout.controls[j].name + " " +
                                 Show(layout.controls[j].rect));
    }
    return faults;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += "\n  " + line;
    return all;
}

TEST(LayoutRules, EachKindOfFaultIsFoundAndACleanScreenHasNone)
{
    const Rect screen(0, 0, 800, 600);
    const Control ok{"button 'OK'", Rect(100, 100, 100, 40)};
    auto text = [&](const char* words, Rect extent, int call) { return DrawnText{words, extent, screen, call}; };
    struct Case
    {
        const char* name;
        Layout layout;
        const char* fault; // a piece of the one fault expected; null for none
    };
    const Case cases[] = {
        {"clean", {{text("Sales", Rect(10, 10, 50, 16), 1), text("OK", Rect(120, 110, 20, 16), 2)}, {ok}, screen},
         nullptr},
        {"a wrapped text's own lines may touch", {{text("one", Rect(10, 10, 50, 16), 1),
                                                  text("two", Rect(10, 24, 50, 16), 1)}, {}, screen}, nullptr},
        {"a shadow", {{text("Title", Rect(10, 10, 50, 16), 1), text("Title", Rect(12, 12, 50, 16), 2)}, {}, screen},
         nullptr},
        {"cut by its clip", {{DrawnText{"Back to the Shop", Rect(95, 110, 130, 16), ok.rect, 1}}, {}, {}},
         "leaves its box"},
        {"runs into another", {{text("Extra time bonus", Rect(10, 10, 120, 16), 1), text("197", Rect(125, 10, 24, 16), 2)},
                               {}, screen}, "touches text '197'"},
        {"half over a control", {{text("Sound", Rect(90, 95, 40, 16), 1)}, {ok}, screen}, "touches button 'OK'"},
        {"a control off its panel", {{}, {ok}, Rect(0, 0, 150, 150)}, "leaves its panel"},
        {"two controls on each other", {{}, {ok, Control{"button 'Quit'", Rect(150, 130, 100, 40)}}, screen},
         "touches button 'Quit'"},
    };
    for (const Case& c : cases)
    {
        std::vector<std::string> faults = LayoutFaults(c.layout);
        if (c.fault == nullptr)
        {
            EXPECT_TRUE(faults.empty()) << c.name << Join(faults);
            continue;
        }
        ASSERT_EQ(1u, faults.size()) << c.name << Join(faults);
        EXPECT_NE(std::string::npos, faults[0].find(c.fault)) << c.name << ": " << faults[0];
    }
}

std::string Describe(const Widget& widget)
{
    int status = 0;
    char* demangled = abi::__cxa_demangle(typeid(widget).name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled != nullptr ? demangled : typeid(widget).name();
    std::free(demangled);
    if (const auto* button = dynamic_cast<const ButtonWidget*>(&widget); button != nullptr && !button->mCaption.empty())
        name += " '" + button->mCaption + "'";
    return name;
}

Rect Bounds(const Widget& widget)
{
    return Rect(widget.mX, widget.mY, widget.mWidth, widget.mHeight);
}

// Draws the screen with only the given top-level widgets shown (all of them when empty) and records its texts.
std::vector<DrawnText> RecordTexts(GameApp& app, const std::vector<const Widget*>& layer)
{
    WidgetManager& manager = *app.mWidgetManager;
    std::vector<Widget*> hidden;
    if (!layer.empty())
        for (Widget* widget : manager.Children())
            if (widget->mShown && std::find(layer.begin(), layer.end(), widget) == layer.end())
            {
                widget->mShown = false;
                hidden.push_back(widget);
            }
    MemoryImage target(800, 600);
    TextRecorder recorder;
    Graphics g(&target);
    g.mTextObserver = &recorder;
    manager.RedrawInto(g);
    for (Widget* widget : hidden)
        widget->mShown = true;
    return recorder.texts;
}

// The top menu with its controls, alone; or the whole screen when no menu is open.
Layout ReadLayout(GameApp& app)
{
    Layout layout;
    const Menu* top = app.OpenMenus().empty() ? nullptr : app.OpenMenus().back();
    if (top == nullptr)
    {
        layout.texts = RecordTexts(app, {});
        return layout;
    }
    std::vector<const Widget*> layer{top};
    for (const auto& child : top->children)
    {
        layer.push_back(child.get());
        if (child->mShown)
            layout.controls.push_back({Describe(*child), Bounds(*child)});
    }
    layout.panel = Bounds(*top);
    layout.texts = RecordTexts(app, layer);
    return layout;
}

class Layouts : public ::testing::Test
{
protected:
    void TearDown() override { TestSupport::StopLoadedGame(platform, app); }
    bool Start(const std::string& level)
    {
        TestSupport::StopLoadedGame(platform, app);
        TestSupport::StartLoadedGame(level.c_str(), platform, app);
        return app != nullptr && app->GetBoard() != nullptr;
    }
    void Updates(int count)
    {
        for (int i = 0; i < count; i++)
        {
            app->RunUpdate();
            app->RunFractionalUpdate(1.0);
            app->ProcessDeferredDeletes();
        }
    }

    HeadlessPlatform* platform = nullptr;
    GameApp* app = nullptr;
};

// What a screen does on purpose that the rules would call a fault.
struct Allowance
{
    const char* screen;
    const char* fault; // a piece of the fault's line
    const char* why;
};
const Allowance kAllowances[] = {
    {"credits", "leaves its box", "the names scroll through their window and are cut at its edges"},
};

std::vector<std::string> WithoutAllowed(const char* screen, std::vector<std::string> faults)
{
    for (const Allowance& allowed : kAllowances)
        if (std::string(screen) == allowed.screen)
            std::erase_if(faults, [&](const std::string& line) { return line.find(allowed.fault) != std::string::npos; });
    return faults;
}

TEST_F(Layouts, EveryScreenKeepsItsTextsInTheirBoxesAndItsControlsOnItsPanel)
{
    if (!Start("-level=1:1"))
        GTEST_SKIP() << "no content folder in " << kGameDir;
    for (const MenuCatalogEntry& entry : MenuCatalog())
    {
        entry.open(*app->GetBoard(), *app);
        const Menu* menu = app->OpenMenus().empty() ? nullptr : app->OpenMenus().back();
        // As long as the slowest screen takes to settle (a store being built on the map).
        for (int i = 0; i < 600 && !((menu == nullptr || menu->IsSettled()) && i >= 60); i++)
            Updates(1);
        std::vector<std::string> faults = WithoutAllowed(entry.name, LayoutFaults(ReadLayout(*app)));
        EXPECT_TRUE(faults.empty()) << "screen " << entry.name << Join(faults);
        app->CloseStartScreens();
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
    }
}

TEST_F(Layouts, TheFloorAndItsCountersFitInEveryStore)
{
    if (!Start("-level=1:1"))
        GTEST_SKIP() << "no content folder in " << kGameDir;
    const int stores = StoreCount();
    for (int store = 1; store <= stores; ++store)
    {
        ASSERT_TRUE(store == 1 || Start("-level=" + std::to_string(store) + ":1")) << store;
        // Long enough for customers to come in and the counters to move.
        Updates(1500);
        std::vector<std::string> faults = LayoutFaults(ReadLayout(*app));
        EXPECT_TRUE(faults.empty()) << "the floor of store " << store << Join(faults);
    }
}

// The question asked over the in-game options hides them whole: nothing of the dialog behind peeks out around it.
TEST_F(Layouts, TheQuestionOverTheOptionsCoversThem)
{
    if (!Start("-level=1:1"))
        GTEST_SKIP() << "no content folder in " << kGameDir;
    Board& board = *app->GetBoard();
    Menu* options = app->AddMenu(std::make_unique<OptionsDialog>(&board, true));
    Menu* question = app->AddMenu(std::make_unique<ConfirmMainMenu>(&board, options->mDialogId));
    for (int i = 0; i < 600 && !(options->IsSettled() && question->IsSettled()); i++)
        Updates(1);
    EXPECT_TRUE(Inside(Bounds(*options), Bounds(*question)))
        << "options " << Show(Bounds(*options)) << " under the question " << Show(Bounds(*question));
    std::vector<std::string> faults = LayoutFaults(ReadLayout(*app));
    EXPECT_TRUE(faults.empty()) << "the question over the options" << Join(faults);
}

} // namespace
