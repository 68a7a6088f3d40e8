// The stand-in for the game's screens until they exist: PlaceholderApp sets up the window and settings key the
// game will use, and PlaceholderBoard is a coloured 800x600 board of tiles that answers clicks and keys, so the
// program opens a real window that runs the whole loop. Nothing animates unless touched, so an idle board costs
// no drawing at all.
#pragma once

#include "framework/app/ZestraAppBase.h"
#include "framework/graphics/Color.h"
#include "framework/widgets/Widget.h"

#include <array>
#include <memory>

class PlaceholderBoard : public Zestra::Widget
{
public:
    static constexpr int kColumns = 10;
    static constexpr int kRows = 8;

    PlaceholderBoard();

    void Tick() override;
    void Paint(Zestra::Graphics& g) override;
    bool AcceptsFocus() const override { return true; }
    // Left click turns a tile to the next colour, right click to the previous one; a double click fills the row.
    void OnMouseDown(int x, int y, int clickCode) override;
    // Arrows move the frame, Space or Return recolours its tile, digits pick a colour, Delete clears the board.
    void OnKeyDown(int key) override;

    // The colour index (0..kColours-1) of a tile; for tests and the game's later replacement alike.
    int TileColour(int column, int row) const { return mTiles[static_cast<size_t>(row * kColumns + column)]; }
    int SelectedColumn() const { return mSelColumn; }
    int SelectedRow() const { return mSelRow; }
    static Zestra::Color ColourOf(int index);
    static constexpr int kColours = 6;

private:
    Zestra::Rect TileRect(int column, int row) const;
    void SetTile(int column, int row, int colour);
    void StartPulse(int column, int row);

    std::array<int, kColumns * kRows> mTiles{};
    int mSelColumn = 0;
    int mSelRow = 0;
    int mPulseColumn = -1; // the tile that flashes after being touched
    int mPulseRow = -1;
    int mPulseTicks = 0; // updates left in the flash
};

class PlaceholderApp : public Zestra::ZestraAppBase
{
public:
    explicit PlaceholderApp(Zestra::Platform& platform);
    ~PlaceholderApp() override;

    void Initialize() override;
    PlaceholderBoard* Board() const { return mBoard.get(); }

private:
    std::unique_ptr<PlaceholderBoard> mBoard;
};
