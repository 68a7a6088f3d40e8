// Placeholder board and application.
#include "game/app/Placeholder.h"

#include "framework/graphics/Graphics.h"
#include "framework/widgets/WidgetManager.h"

namespace
{

constexpr int kFlashTicks = 30;
constexpr int kBorder = 8;

} // namespace

PlaceholderBoard::PlaceholderBoard()
{
    // A diagonal pattern, so a fresh board already shows every colour.
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            mTiles[static_cast<size_t>(row * kColumns + column)] = (row + column) % kColours;
    mAcceptsFocus = true;
    mHandCursor = true;
}

Zestra::Color PlaceholderBoard::ColourOf(int index)
{
    static const Zestra::Color colours[kColours] = {
        Zestra::Color(214, 88, 110), Zestra::Color(240, 180, 80),  Zestra::Color(120, 190, 120),
        Zestra::Color(90, 160, 210), Zestra::Color(150, 110, 200), Zestra::Color(236, 226, 208),
    };
    return colours[((index % kColours) + kColours) % kColours];
}

Zestra::Rect PlaceholderBoard::TileRect(int column, int row) const
{
    const int tileW = (mWidth - 2 * kBorder) / kColumns;
    const int tileH = (mHeight - 2 * kBorder) / kRows;
    return Zestra::Rect(kBorder + column * tileW, kBorder + row * tileH, tileW, tileH);
}

void PlaceholderBoard::SetTile(int column, int row, int colour)
{
    mTiles[static_cast<size_t>(row * kColumns + column)] = ((colour % kColours) + kColours) % kColours;
    StartPulse(column, row);
}

void PlaceholderBoard::StartPulse(int column, int row)
{
    mPulseColumn = column;
    mPulseRow = row;
    mPulseTicks = kFlashTicks;
    Invalidate();
}

void PlaceholderBoard::Tick()
{
    Widget::Tick();
    // Only a running flash needs drawing; an untouched board stays clean and the loop can sleep.
    if (mPulseTicks > 0)
    {
        --mPulseTicks;
        Invalidate();
    }
}

void PlaceholderBoard::Paint(Zestra::Graphics& g)
{
    g.SetInk(Zestra::Color(52, 40, 48));
    g.FillBox(0, 0, mWidth, mHeight);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
        {
            Zestra::Rect r = TileRect(column, row);
            Zestra::Color c = ColourOf(TileColour(column, row));
            if (column == mPulseColumn && row == mPulseRow && mPulseTicks > 0)
            {
                // Fade from white back to the tile's colour.
                int t = mPulseTicks * 255 / kFlashTicks;
                c = Zestra::Color(c.mRed + (255 - c.mRed) * t / 255, c.mGreen + (255 - c.mGreen) * t / 255,
                                  c.mBlue + (255 - c.mBlue) * t / 255);
            }
            g.SetInk(c);
            g.FillBox(r.mX + 2, r.mY + 2, r.mWidth - 4, r.mHeight - 4);
            // A darker lower edge gives the tiles a little depth.
            g.SetInk(Zestra::Color(c.mRed * 3 / 4, c.mGreen * 3 / 4, c.mBlue * 3 / 4));
            g.FillBox(r.mX + 2, r.mY + r.mHeight - 8, r.mWidth - 4, 6);
        }
    Zestra::Rect sel = TileRect(mSelColumn, mSelRow);
    g.SetInk(mFocused ? Zestra::Color(255, 255, 255) : Zestra::Color(160, 150, 150));
    g.OutlineBox(sel.mX, sel.mY, sel.mWidth, sel.mHeight);
    g.OutlineBox(sel.mX + 1, sel.mY + 1, sel.mWidth - 2, sel.mHeight - 2);
}

void PlaceholderBoard::OnMouseDown(int x, int y, int clickCode)
{
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
        {
            if (!TileRect(column, row).Contains(x, y))
                continue;
            mSelColumn = column;
            mSelRow = row;
            const int colour = TileColour(column, row);
            if (clickCode == 2 || clickCode == -2)
            {
                for (int c = 0; c < kColumns; ++c)
                    mTiles[static_cast<size_t>(row * kColumns + c)] = colour;
                StartPulse(column, row);
            }
            else
                SetTile(column, row, clickCode < 0 ? colour - 1 : colour + 1);
            return;
        }
}

void PlaceholderBoard::OnKeyDown(int key)
{
    switch (key)
    {
    case 37: // Left
        mSelColumn = (mSelColumn + kColumns - 1) % kColumns;
        break;
    case 39: // Right
        mSelColumn = (mSelColumn + 1) % kColumns;
        break;
    case 38: // Up
        mSelRow = (mSelRow + kRows - 1) % kRows;
        break;
    case 40: // Down
        mSelRow = (mSelRow + 1) % kRows;
        break;
    case 13: // Return
    case 32: // Space
        SetTile(mSelColumn, mSelRow, TileColour(mSelColumn, mSelRow) + 1);
        return;
    case 46: // Delete
        mTiles.fill(kColours - 1);
        StartPulse(mSelColumn, mSelRow);
        return;
    default:
        if (key >= '1' && key < '1' + kColours)
        {
            SetTile(mSelColumn, mSelRow, key - '1');
            return;
        }
        Widget::OnKeyDown(key);
        return;
    }
    Invalidate();
}

PlaceholderApp::PlaceholderApp(Zestra::Platform& platform) : ZestraAppBase(platform)
{
    mProductName = "Velmora Row";
    mWindowTitle = "Velmora Row";
    mRegistryKey = "Kestrin\\Velmora Row";
    mWidth = 800;
    mHeight = 600;
}

PlaceholderApp::~PlaceholderApp()
{
    // The manager only links to the board; unlink it before the board goes.
    if (mBoard && mWidgetManager)
        mWidgetManager->DetachChild(mBoard.get());
}

void PlaceholderApp::Initialize()
{
    ZestraAppBase::Initialize();
    if (!mWidgetManager || mQuitting)
        return;
    mBoard = std::make_unique<PlaceholderBoard>();
    mBoard->SetBounds(0, 0, mWidth, mHeight);
    mWidgetManager->AttachChild(mBoard.get());
    mWidgetManager->FocusWidget(mBoard.get());
}
