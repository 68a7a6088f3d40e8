// The 23 pictures of every store plus its furniture types, in the store's palette. Positions noted in the
// comments are where the game places each picture on the 800 x 600 floor.
#include "tools/contentgen/Generator.h"

#include <cmath>

namespace ContentGen
{

namespace
{
const Rgb kEdge{0.25, 0.17, 0.16};

// White HUD numbers must read on the store's colour: darken light accents until they are dark enough.
Rgb DarkEnough(Rgb c, double maxLuminance)
{
    for (int i = 0; i < 20 && 0.3 * c.r + 0.59 * c.g + 0.11 * c.b > maxLuminance; ++i)
        c = c.Darker(0.12);
    return c;
}

void Wallpaper(Canvas& c, const Palette& p, double x, double y, double w, double h)
{
    cairo_t* cr = c.Cr();
    cairo_rectangle(cr, x, y, w, h);
    c.FillPath(p.wall);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    if (p.motif == "stripes")
    {
        for (double sx = x; sx < x + w; sx += 28)
            cairo_rectangle(cr, sx, y, 10, h);
        c.FillPath(p.wall2);
    }
    else if (p.motif == "bricks")
    {
        for (double sy = y; sy < y + h; sy += 16)
            for (double sx = x - ((static_cast<int>((sy - y) / 16) % 2) ? 20 : 0); sx < x + w; sx += 40)
            {
                c.RoundRect(sx + 1, sy + 1, 38, 14, 2);
            }
        c.FillPath(p.wall2);
    }
    else if (p.motif == "damask")
    {
        for (double sy = y + 14; sy < y + h; sy += 34)
            for (double sx = x + ((static_cast<int>((sy - y) / 34) % 2) ? 17 : 0); sx < x + w; sx += 34)
            {
                c.Ellipse(sx, sy, 6, 9);
                c.Ellipse(sx, sy, 9, 4);
            }
        c.FillPath(p.wall2);
    }
    else if (p.motif == "plaid")
    {
        for (double sx = x; sx < x + w; sx += 40)
            cairo_rectangle(cr, sx, y, 12, h);
        for (double sy = y; sy < y + h; sy += 40)
            cairo_rectangle(cr, x, sy, w, 12);
        c.FillPath(p.wall2.WithAlpha(0.7));
    }
    else if (p.motif == "stars")
    {
        unsigned seed = 99;
        for (int k = 0; k < static_cast<int>(w * h / 900); ++k)
        {
            seed = seed * 1103515245u + 12345u;
            double sx = x + (seed >> 8) % static_cast<unsigned>(w);
            seed = seed * 1103515245u + 12345u;
            double sy = y + (seed >> 8) % static_cast<unsigned>(h);
            c.Ellipse(sx, sy, 1.4, 1.4);
        }
        c.FillPath(p.accent2.WithAlpha(0.7));
    }
    cairo_restore(cr);
}

void Floor(Canvas& c, const Palette& p, double y0)
{
    cairo_t* cr = c.Cr();
    cairo_rectangle(cr, 0, y0, c.Width(), c.Height() - y0);
    c.FillPath(p.floor);
    // Planks (or tiles for the evening store) with staggered joints.
    bool tiles = p.motif == "damask" || p.motif == "stars";
    double rowH = tiles ? 50 : 26;
    int row = 0;
    for (double y = y0; y < c.Height(); y += rowH, ++row)
    {
        double len = tiles ? 50 : 160;
        for (double x = (row % 2) * len / 2 - len; x < c.Width(); x += len)
        {
            cairo_rectangle(cr, x + 1, y + 1, len - 2, rowH - 2);
            c.FillPath((row + static_cast<int>(x / len)) % 2 ? p.floor : p.floor2);
        }
    }
}

void Stanchion(Canvas& c, const Palette& p, double x, double y)
{
    c.Ellipse(x, y + 30, 7, 3);
    c.FillStroke({0.7, 0.6, 0.3}, kEdge, 1);
    cairo_rectangle(c.Cr(), x - 2, y, 4, 30);
    c.FillStroke({0.85, 0.7, 0.3}, kEdge, 1);
    c.Ellipse(x, y, 4, 4);
    c.FillStroke({0.95, 0.8, 0.35}, kEdge, 1);
}

// Velvet rope between posts; vertical runs go top to bottom, horizontal ones left to right. A vertical run is cut
// by the game into depth bands post by post, so its three posts stay 40 rows tall (knob top to foot) at equal
// spacing, the first one's knob on the top row and the last one's foot on the bottom row.
void Rope(Canvas& c, const Palette& p, bool vertical)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    int posts = 3;
    double x0 = vertical ? w / 2 : 8, y0 = 6;
    double step = vertical ? (h - 40) / (posts - 1) : (w - 16) / (posts - 1);
    for (int i = 0; i + 1 < posts; ++i)
    {
        double ax = vertical ? x0 : x0 + i * step, ay = vertical ? y0 + i * step : y0;
        double bx = vertical ? x0 : x0 + (i + 1) * step, by = vertical ? y0 + (i + 1) * step : y0;
        cairo_move_to(cr, ax, ay + 2);
        if (vertical)
            cairo_curve_to(cr, ax + 8, ay + step * 0.3, bx + 8, by - step * 0.3, bx, by + 2);
        else
            cairo_curve_to(cr, ax + step * 0.3, ay + 14, bx - step * 0.3, by + 14, bx, by + 2);
        c.StrokePath(kEdge, 5);
        cairo_move_to(cr, ax, ay + 2);
        if (vertical)
            cairo_curve_to(cr, ax + 8, ay + step * 0.3, bx + 8, by - step * 0.3, bx, by + 2);
        else
            cairo_curve_to(cr, ax + step * 0.3, ay + 14, bx - step * 0.3, by + 14, bx, by + 2);
        c.StrokePath(p.accent, 3);
    }
    for (int i = 0; i < posts; ++i)
        Stanchion(c, p, vertical ? x0 : x0 + i * step, vertical ? y0 + i * step : y0);
}

void Background(Canvas& c, const Palette& p, bool minigame)
{
    cairo_t* cr = c.Cr();
    double wallH = minigame ? 360 : 150;
    Wallpaper(c, p, 0, 0, 800, wallH);
    Floor(c, p, wallH);
    cairo_rectangle(cr, 0, wallH - 8, 800, 10);
    c.FillStroke(p.trim, p.wood.Darker(0.3), 1.5);
    if (minigame)
    {
        // Display stage behind the mannequins and the tray table at the bottom.
        c.RoundRect(-10, 300, 820, 60, 8);
        c.FillStroke(p.wood, p.wood.Darker(0.4), 2);
        cairo_rectangle(cr, 0, 372, 800, 228);
        c.FillGradient(p.accent.Lighter(0.55), p.accent.Lighter(0.35), 372, 600);
        cairo_rectangle(cr, 0, 368, 800, 8);
        c.FillPath(p.accent.Darker(0.2));
        for (int k = 0; k < 3; ++k)
        {
            c.Ellipse(140 + k * 260, 40, 40, 12);
            c.FillPath({1, 1, 0.9, 0.6});
        }
        return;
    }
    // Back-room doorway at the top right, where the merchant fetches stock.
    c.RoundRect(712, 30, 80, 122, 6);
    c.FillStroke(p.wood.Darker(0.35), p.wood.Darker(0.55), 3);
    cairo_rectangle(cr, 720, 38, 64, 114);
    c.FillPath({0.12, 0.1, 0.12});
    c.RoundRect(724, 14, 56, 14, 4);
    c.FillStroke(p.accent, p.accent.Darker(0.4), 1.5);
    // Rug under the centre of the floor and a little plant in the corner by the window.
    c.RoundRect(250, 380, 300, 110, 30);
    c.FillPath(p.accent.WithAlpha(0.18));
    c.RoundRect(262, 392, 276, 86, 24);
    c.StrokePath(p.accent2.WithAlpha(0.35), 3);
    c.RoundRect(620, 40, 70, 60, 4);
    c.FillStroke({0.8, 0.92, 0.98}, p.trim.Darker(0.3), 4);
    cairo_move_to(cr, 655, 40);
    cairo_line_to(cr, 655, 100);
    c.StrokePath(p.trim.Darker(0.3), 3);
}

// Bottom bar: plates behind the money (right-aligned at x 178) and the goal (right-aligned at x 390), a nook
// for the drink station around x 432; the jar, lives, clock and month pictures are drawn over it.
void Hud(Canvas& c, const Palette& p)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    double top = 34;
    Rgb base = DarkEnough(p.accent, 0.42);
    cairo_rectangle(cr, 0, top, w, h - top);
    c.FillGradient(base.Darker(0.05), base.Darker(0.4), top, h);
    cairo_rectangle(cr, 0, top - 3, w, 5);
    c.FillPath(p.trim);
    for (double x : {72.0, 280.0})
    {
        c.RoundRect(x, top + 12, 116, 36, 10);
        c.FillStroke(base.Darker(0.5), p.trim.WithAlpha(0.5), 2);
    }
    c.RoundRect(392, top - 14, 82, h - top + 20, 14);
    c.FillStroke(base.Darker(0.2), p.trim, 2.5);
}

void TutorialBox(Generator& g, Canvas& c, const Palette& p)
{
    double w = c.Width(), h = c.Height();
    c.RoundRect(4, 4, w - 10, h - 10, 16);
    c.FillStroke(Rgb{1, 0.98, 0.94}, p.accent, 3);
    // Prella's portrait in the left margin (the text starts 70 pixels in).
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    c.Ellipse(38, 42, 28, 28);
    cairo_clip_preserve(cr);
    c.FillPath(p.accent.Lighter(0.6));
    if (const RecipeLine* look = g.LookFor("Prella"))
        DrawFigureFront(c, *look, 38, 196, 1.7, Expression::Smile);
    cairo_restore(cr);
    c.Ellipse(38, 42, 28, 28);
    c.StrokePath(p.accent, 2.5);
}

void ChangingRoom(Canvas& c, const Palette& p)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    cairo_rectangle(cr, 4, 14, w - 8, h - 18);
    c.FillStroke(p.wall2.Darker(0.12), kEdge, 2);
    c.RoundRect(w / 2 - 16, 30, 32, 46, 14);
    c.FillStroke({0.85, 0.93, 0.98}, p.trim.Darker(0.3), 3);
    cairo_rectangle(cr, 0, 0, w, 16);
    c.FillStroke(p.accent, p.accent.Darker(0.4), 2);
    for (int side = 0; side < 2; ++side)
    {
        cairo_rectangle(cr, side ? w - 8 : 0, 14, 8, h - 14);
        c.FillStroke(p.wood, p.wood.Darker(0.4), 1.5);
    }
    cairo_rectangle(cr, 4, h - 8, w - 8, 8);
    c.FillPath(p.floor2.Darker(0.15));
}

// Curtain strip: cel 0 open ... cel 3 closed, each cel 102 pixels wide.
void ChangingRoomDoor(Canvas& c, const Palette& p, int cels)
{
    double h = c.Height();
    cairo_t* cr = c.Cr();
    for (int i = 0; i < cels; ++i)
    {
        double x0 = i * 102.0, cover = (i / (cels - 1.0));
        cairo_save(cr);
        cairo_rectangle(cr, x0, 0, 102, h);
        cairo_clip(cr);
        cairo_move_to(cr, x0 + 6, 17);
        cairo_line_to(cr, x0 + 96, 17);
        c.StrokePath({0.6, 0.6, 0.65}, 2.5);
        double width = 10 + cover * 80;
        for (int side = 0; side < 2; ++side)
        {
            double left = side ? x0 + 96 - width / 2 : x0 + 6;
            cairo_rectangle(cr, left, 18, width / 2, h - 26);
            c.FillStroke(p.accent2, p.accent2.Darker(0.4), 1.5);
            for (double fx = left + 6; fx < left + width / 2 - 2; fx += 8)
            {
                cairo_move_to(cr, fx, 20);
                cairo_line_to(cr, fx, h - 10);
            }
            c.StrokePath(p.accent2.Darker(0.25), 1.2);
        }
        cairo_restore(cr);
    }
}

// Drawn over the room at (-9, -4): it darkens only the floor and wall around the booth, never the booth.
void Shadow(Canvas& c)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_rectangle(cr, 9, 4, 102, 126);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    c.RoundRect(2, 10, w - 2, h - 10, 10);
    c.FillPath({0, 0, 0, 0.1});
    c.RoundRect(14, 12, w - 10, h - 12, 8);
    c.FillPath({0, 0, 0, 0.12});
}

void CashCounter(Canvas& c, const Palette& p)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    c.RoundRect(0, 66, w - 4, 22, 5);
    c.FillStroke(p.wood.Lighter(0.2), p.wood.Darker(0.45), 2);
    cairo_rectangle(cr, 0, 86, w - 10, h - 88);
    c.FillStroke(p.wood, p.wood.Darker(0.45), 2);
    cairo_rectangle(cr, 0, 98, w - 10, 10);
    c.FillPath(p.accent);
    for (double x = 20; x < w - 20; x += 44)
    {
        c.RoundRect(x, 116, 32, h - 128, 4);
        c.StrokePath(p.wood.Darker(0.3), 1.5);
    }
}

void ServiceDesk(Canvas& c, const Palette& p)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    c.RoundRect(4, 20, w - 4, 26, 6);
    c.FillStroke(p.wood.Lighter(0.2), p.wood.Darker(0.45), 2);
    cairo_rectangle(cr, 10, 44, w - 10, h - 46);
    c.FillStroke(p.wood, p.wood.Darker(0.45), 2);
    cairo_rectangle(cr, 10, 56, w - 10, 10);
    c.FillPath(p.accent);
    // A little bell and a "?" plaque make it read as the help desk.
    c.Ellipse(34, 22, 9, 7);
    c.FillStroke({0.95, 0.8, 0.35}, kEdge, 1.2);
    c.Ellipse(w / 2 + 6, 96, 18, 18);
    c.FillStroke(p.trim, p.accent, 2.5);
    c.TextCentered("?", w / 2 + 6, 96, 26, FontFace::SansBold, p.accent);
}

void Drink(Canvas& c, const Palette& p, bool active)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    c.RoundRect(6, h - 26, w - 12, 22, 4);
    c.FillStroke(p.wood, p.wood.Darker(0.45), 2);
    c.RoundRect(w / 2 - 16, 8, 32, h - 32, 6);
    c.FillStroke({0.75, 0.77, 0.82}, kEdge, 2);
    c.RoundRect(w / 2 - 10, 14, 20, 12, 3);
    c.FillPath(active ? Rgb{0.4, 0.95, 0.5} : Rgb{0.3, 0.35, 0.35});
    for (int k = 0; k < 2; ++k)
    {
        double cx = 14 + k * (w - 28);
        c.RoundRect(cx - 6, h - 38, 12, 12, 2);
        c.FillStroke({1, 1, 1}, kEdge, 1.2);
        c.Ellipse(cx, h - 37, 5, 2);
        c.FillPath({0.45, 0.28, 0.15});
    }
    if (active)
        for (int k = 0; k < 2; ++k)
        {
            double cx = 14 + k * (w - 28);
            cairo_move_to(cr, cx, h - 42);
            cairo_curve_to(cr, cx - 5, h - 48, cx + 5, h - 52, cx, h - 58);
            c.StrokePath({1, 1, 1, 0.8}, 2);
        }
}

void GoodieRack(Canvas& c, const Palette& p, int level)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    cairo_move_to(cr, w / 2, 6);
    cairo_line_to(cr, w / 2, h - 6);
    c.StrokePath({0.55, 0.55, 0.6}, 3);
    c.Ellipse(w / 2, h - 5, 16, 4);
    c.FillStroke({0.55, 0.55, 0.6}, kEdge, 1);
    int tiers = level == 1 ? 2 : 3;
    const Rgb goods[] = {p.accent, p.accent2, {0.96, 0.75, 0.2}, {0.4, 0.75, 0.5}};
    for (int t = 0; t < tiers; ++t)
    {
        double y = 12 + t * (h - 24) / tiers;
        cairo_move_to(cr, 8, y + 10);
        cairo_line_to(cr, w - 8, y + 10);
        c.StrokePath({0.55, 0.55, 0.6}, 2);
        for (int k = 0; k < 3; ++k)
        {
            c.RoundRect(10 + k * (w - 20) / 3, y, (w - 20) / 3 - 3, 10, 2);
            c.FillStroke(goods[(t + k) % 4], kEdge, 1);
        }
    }
}

void DiscardRack(Canvas& c, const Palette& p)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    // A laundry cart: basket on wheels, a few garments tossed in.
    c.RoundRect(6, 30, w - 12, h - 46, 8);
    c.FillStroke({0.82, 0.78, 0.7}, kEdge, 2);
    for (double x = 14; x < w - 10; x += 10)
    {
        cairo_move_to(cr, x, 34);
        cairo_line_to(cr, x, h - 20);
    }
    c.StrokePath({0.65, 0.6, 0.5}, 1.2);
    c.Ellipse(w * 0.35, 30, 16, 8);
    c.FillStroke(p.accent, kEdge, 1.2);
    c.Ellipse(w * 0.62, 28, 14, 7);
    c.FillStroke(p.accent2, kEdge, 1.2);
    for (int k = 0; k < 2; ++k)
    {
        c.Ellipse(18 + k * (w - 36), h - 10, 7, 7);
        c.FillStroke({0.3, 0.3, 0.35}, kEdge, 1.2);
    }
    c.RoundRect(w / 2 - 18, 8, 36, 16, 4);
    c.FillStroke(p.trim, p.accent, 1.5);
    c.TextCentered("OUT", w / 2, 16, 11, FontFace::SansBold, p.accent);
}

void MapHud(Canvas& c, const Palette& p)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    Rgb base = DarkEnough(p.accent, 0.42);
    cairo_rectangle(cr, 0, 18, w, h - 18);
    c.FillGradient(base.Darker(0.05), base.Darker(0.45), 18, h);
    cairo_rectangle(cr, 0, 14, w, 8);
    c.FillPath(p.trim);
    for (int i = 0; i < 14; ++i)
    {
        c.Ellipse(54 * i + 49, h - 27, 23, 23);
        c.FillStroke(base.Darker(0.55), p.trim.WithAlpha(0.7), 2);
    }
}

void MapIcon(Canvas& c, const Palette& p, const std::string& name, int state)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    Rgb wall = p.wall, accent = p.accent;
    if (state == 1)
    {
        wall = wall.Mix({0.7, 0.7, 0.72}, 0.7);
        accent = accent.Mix({0.55, 0.55, 0.6}, 0.75);
    }
    if (state == 2)
    {
        c.RoundRect(2, 2, w - 4, h - 4, 16);
        c.FillPath({1, 0.9, 0.4, 0.55});
    }
    // A little shop front: wall, awning, door, window and the name board.
    cairo_rectangle(cr, 14, 34, w - 28, h - 44);
    c.FillStroke(wall, kEdge, 2);
    cairo_move_to(cr, 6, 36);
    cairo_line_to(cr, w - 6, 36);
    cairo_line_to(cr, w - 14, 14);
    cairo_line_to(cr, 14, 14);
    cairo_close_path(cr);
    c.FillStroke(accent, kEdge, 2);
    for (double x = 14; x < w - 14; x += 22)
    {
        cairo_move_to(cr, x + 6, 14);
        cairo_line_to(cr, x + 2, 36);
    }
    c.StrokePath(p.trim.WithAlpha(0.8), 6);
    cairo_rectangle(cr, 24, 60, 46, 40);
    c.FillStroke({0.8, 0.92, 0.98}, kEdge, 2);
    cairo_rectangle(cr, w - 56, 56, 32, h - 66);
    c.FillStroke(p.wood, kEdge, 2);
    c.RoundRect(20, 40, w - 40, 16, 4);
    c.FillStroke(p.trim, kEdge, 1.5);
    double size = 12;
    while (size > 7 && c.TextWidth(name, size, FontFace::SansBold) > w - 48)
        size -= 0.5;
    c.TextCentered(name, w / 2, 48, size, FontFace::SansBold, accent.Darker(0.3));
    if (state == 1)
    {
        // Scaffolding planks: the store is still being built.
        for (int k = 0; k < 2; ++k)
        {
            cairo_rectangle(cr, 8, 64 + k * 30, w - 16, 7);
            c.FillStroke({0.85, 0.65, 0.3}, kEdge, 1.2);
        }
        cairo_move_to(cr, 12, h - 6);
        cairo_line_to(cr, 12, 58);
        cairo_move_to(cr, w - 12, h - 6);
        cairo_line_to(cr, w - 12, 58);
        c.StrokePath({0.55, 0.55, 0.6}, 3);
    }
}

void StartScreen(Generator& g, Canvas& c, const Palette& p)
{
    // Rival's challenge: Dorvie on the left, a notice board for the text (399,220)-(679,560) on the right.
    c.RoundRect(100, 120, 620, 440, 26);
    c.FillStroke(Rgb{1, 0.97, 0.92}, p.accent.Darker(0.3), 5);
    c.RoundRect(380, 150, 320, 380, 16);
    c.FillStroke(p.wall, p.accent, 3);
    c.RoundRect(120, 180, 240, 340, 20);
    c.FillPath(p.accent.Lighter(0.55));
    cairo_save(c.Cr());
    c.RoundRect(120, 180, 240, 340, 20);
    cairo_clip(c.Cr());
    if (const RecipeLine* look = g.LookFor("Dorvie"))
        DrawFigureFront(c, *look, 240, 700, 4.2, Expression::Angry);
    cairo_restore(c.Cr());
    c.TextCentered("Dorvie's challenge", 540, 186, 24, FontFace::SansBold, p.accent.Darker(0.3));
}

void Furniture(Canvas& c, const Palette& p, const FurnitureTypeData& f)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    if (!f.folded)
    {
        // Clothes rail: the hangers of the slots hook onto the bar at the slots' top (y 40).
        double bar = 40;
        for (int side = 0; side < 2; ++side)
        {
            double x = side ? w - 6 : 6;
            cairo_move_to(cr, x, bar - 8);
            cairo_line_to(cr, x, h - 8);
            c.StrokePath(kEdge, 5.5);
            cairo_move_to(cr, x, bar - 8);
            cairo_line_to(cr, x, h - 8);
            c.StrokePath({0.75, 0.76, 0.8}, 3.5);
            cairo_move_to(cr, x - 10, h - 6);
            cairo_line_to(cr, x + 10, h - 6);
            c.StrokePath(p.wood.Darker(0.3), 5);
        }
        cairo_move_to(cr, 4, bar + 1);
        cairo_line_to(cr, w - 4, bar + 1);
        c.StrokePath(kEdge, 5);
        cairo_move_to(cr, 4, bar + 1);
        cairo_line_to(cr, w - 4, bar + 1);
        c.StrokePath({0.82, 0.83, 0.87}, 3);
        c.RoundRect(w / 2 - 26, bar - 26, 52, 16, 4);
        c.FillStroke(p.accent, p.accent.Darker(0.4), 1.5);
        return;
    }
    // Table seen from the front and a little above: top surface for the piles, apron with the tag.
    double top = 36;
    c.RoundRect(2, top, w - 4, h - top - 24, 8);
    c.FillStroke(p.wood.Lighter(0.25), p.wood.Darker(0.45), 2);
    c.RoundRect(8, top + 5, w - 16, h - top - 34, 6);
    c.StrokePath(p.wood.Lighter(0.45), 1.5);
    cairo_rectangle(cr, 4, h - 26, w - 8, 20);
    c.FillStroke(p.wood, p.wood.Darker(0.45), 2);
    cairo_rectangle(cr, 4, h - 24, w - 8, 4);
    c.FillPath(p.accent);
    for (int side = 0; side < 2; ++side)
    {
        cairo_rectangle(cr, side ? w - 14 : 6, h - 8, 8, 8);
        c.FillStroke(p.wood.Darker(0.2), p.wood.Darker(0.5), 1.5);
    }
}
} // namespace

bool WriteStoreImages(Generator& gen, const StoreData& store, int number)
{
    const Palette& p = gen.PaletteFor(store.name);
    std::string dir = "images/stores/" + store.name + "/";
    std::string label = store.name + "/";
    bool ok = true;
    // One picture: a fresh canvas of the given size, painted and saved under name; a failed save does not stop the
    // others, so one run reports every picture that could not be written.
    const bool kJpeg = true, kPng = false;
    auto draw = [&](int w, int h, const std::string& name, bool jpeg, const auto& paint)
    {
        Canvas c(w, h);
        paint(c);
        ok = gen.Save(c, dir + name + (jpeg ? ".jpg" : ".png"), label + name) && ok;
    };
    draw(800, 600, "Background", kJpeg, [&](Canvas& c) { Background(c, p, false); });
    draw(800, 90, "Hud", kPng, [&](Canvas& c) { Hud(c, p); });
    draw(800, 600, "StartScreen", kPng, [&](Canvas& c) { StartScreen(gen, c, p); });
    // Tall enough for three lines of the small font over the click-to-continue line.
    draw(440, 104, "TutorialBox", kPng, [&](Canvas& c) { TutorialBox(gen, c, p); });
    draw(480, 170, "TutorialBoxBig", kPng, [&](Canvas& c) { TutorialBox(gen, c, p); });
    draw(40, 150, "RopeCashRegister", kPng, [&](Canvas& c) { Rope(c, p, true); });
    draw(430, 40, "RopeChangingRoom", kPng, [&](Canvas& c) { Rope(c, p, false); });
    draw(40, 180, "RopeCustomerService", kPng, [&](Canvas& c) { Rope(c, p, true); });
    draw(102, 126, "ChangingRoom", kPng, [&](Canvas& c) { ChangingRoom(c, p); });
    draw(118, 134, "ChangingRoomShadow", kPng, [&](Canvas& c) { Shadow(c); });
    draw(408, 126, "ChangingRoomDoor", kPng, [&](Canvas& c) { ChangingRoomDoor(c, p, 4); });
    draw(160, 140, "CashCounter", kPng, [&](Canvas& c) { CashCounter(c, p); });
    draw(130, 150, "CustomerServiceDesk", kPng, [&](Canvas& c) { ServiceDesk(c, p); });
    draw(76, 64, "Drink", kPng, [&](Canvas& c) { Drink(c, p, false); });
    draw(76, 64, "DrinkActive", kPng, [&](Canvas& c) { Drink(c, p, true); });
    draw(60, 64, "GoodieRack1", kPng, [&](Canvas& c) { GoodieRack(c, p, 1); });
    draw(60, 64, "GoodieRack2", kPng, [&](Canvas& c) { GoodieRack(c, p, 2); });
    draw(84, 100, "DiscardRack", kPng, [&](Canvas& c) { DiscardRack(c, p); });
    draw(800, 100, "MapHud", kPng, [&](Canvas& c) { MapHud(c, p); });
    const char* const mapIcons[3] = {"MapIcon", "MapIconLocked", "MapIconOver"};
    for (int state = 0; state < 3; ++state)
        draw(140, 130, mapIcons[state], kPng, [&](Canvas& c) { MapIcon(c, p, store.name, state); });
    draw(800, 600, "MinigameBackground", kJpeg, [&](Canvas& c) { Background(c, p, true); });
    for (const auto& entry : store.furniture)
    {
        const auto& info = entry.second;
        draw(info.folded ? 138 : 152, info.folded ? 100 : 110, entry.first, kPng,
             [&](Canvas& c) { Furniture(c, p, info); });
    }
    return ok;
}

} // namespace ContentGen

namespace ContentGen
{

namespace
{
// Draws a written PNG of the game folder at (x, y); missing files draw nothing (the game shows nothing either).
void Place(Generator& gen, Canvas& c, const std::string& rel, double x, double y, bool centreX = false)
{
    std::string path = gen.OutDir() + "/" + rel;
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS)
    {
        if (centreX)
            x -= cairo_image_surface_get_width(s) / 2;
        cairo_set_source_surface(c.Cr(), s, x, y);
        cairo_paint(c.Cr());
    }
    cairo_surface_destroy(s);
}

int PngWidth(Generator& gen, const std::string& rel)
{
    cairo_surface_t* s = cairo_image_surface_create_from_png((gen.OutDir() + "/" + rel).c_str());
    int w = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS ? cairo_image_surface_get_width(s) : 0;
    cairo_surface_destroy(s);
    return w;
}
} // namespace

void DrawStorePreview(Generator& gen, const StoreData& store, Canvas& c)
{
    const Palette& p = gen.PaletteFor(store.name);
    std::string dir = "images/stores/" + store.name + "/";
    Background(c, p, false);
    for (int i = 0; i < std::max(1, store.initialRooms); ++i)
    {
        double x = 154 + 101 * i - 51;
        Place(gen, c, dir + "ChangingRoom.png", x, 0);
        Place(gen, c, dir + "ChangingRoomShadow.png", x - 9, -4);
        cairo_save(c.Cr());
        cairo_rectangle(c.Cr(), x, 0, 102, 200);
        cairo_clip(c.Cr());
        Place(gen, c, dir + "ChangingRoomDoor.png", x, 0);
        cairo_restore(c.Cr());
    }
    Place(gen, c, dir + "RopeCashRegister.png", 120, 220);
    Place(gen, c, dir + "RopeChangingRoom.png", 140, 73);
    Place(gen, c, dir + "RopeCustomerService.png", 660, 280);
    Place(gen, c, dir + "DiscardRack.png", 48, 10, true);
    for (const LayoutData& l : store.layouts)
    {
        auto type = store.furniture.find(l.type);
        if (type == store.furniture.end())
            continue;
        std::string pic = dir + l.type + ".png";
        int w = PngWidth(gen, pic);
        double x = l.x * 72 + 203 - w / 2, y = l.y * 55 + 106;
        std::string look = dir + "clothing/" + l.clothing + (type->second.folded ? "_Folded.png" : "_Hanging.png");
        int lw = PngWidth(gen, look);
        if (!type->second.folded)
            Place(gen, c, pic, x, y);
        else
            Place(gen, c, pic, x, y);
        for (const ClothingSpotData& s : type->second.spots)
            Place(gen, c, look, x + s.x - lw / 2, y + s.y);
    }
    for (const MannequinData& m : store.mannequins)
    {
        double x = m.x * 25 + 530, y = m.y * 15 + 20;
        std::string body = std::string("images/ui/mannequin_") + (m.male ? "male" : "female") + ".png";
        int w = PngWidth(gen, body);
        Place(gen, c, body, x, y);
        if (!m.bottom.empty())
            Place(gen, c, dir + "clothing/" + m.bottom + "_Mannequin.png",
                  x + w / 2 + (m.male ? 2 : 0) - PngWidth(gen, dir + "clothing/" + m.bottom + "_Mannequin.png") / 2,
                  y + 45);
        if (!m.top.empty())
            Place(gen, c, dir + "clothing/" + m.top + "_Mannequin.png",
                  x + w / 2 - PngWidth(gen, dir + "clothing/" + m.top + "_Mannequin.png") / 2, y + 8);
    }
    if (const RecipeLine* look = gen.LookFor("Prella"))
        DrawFigureFront(c, *look, 605 + 60, 225 + 112, 1, Expression::Smile);
    if (const RecipeLine* look = gen.LookFor("Lottra"))
        DrawFigureFront(c, *look, 576 + 60, 445 + 112, 1, Expression::Smile);
    Place(gen, c, dir + "CashCounter.png", 0, 333);
    Place(gen, c, "images/ui/cash_register.png", 48, 354, true);
    Place(gen, c, dir + "GoodieRack1.png", 73, 356);
    int deskW = PngWidth(gen, dir + "CustomerServiceDesk.png");
    Place(gen, c, dir + "CustomerServiceDesk.png", 800 - deskW, 190);
    if (store.giftWrap)
        Place(gen, c, "images/ui/gift_wrap.png", 722, 195, true);
    Place(gen, c, dir + "Drink.png", 432, 578 - 32, true);
    Place(gen, c, dir + "Hud.png", 0, 510);
    // The lessons' arrow targets: each cross must sit on what the lesson names.
    const int points[][2] = {{708, 98}, {580, 220}, {542, 230}, {151, 55},  {50, 90},   {42, 383}, {290, 220},
                             {700, 60}, {600, 98},  {260, 458}, {578, 444}, {750, 223}, {725, 220}};
    for (const auto& pt : points)
    {
        cairo_move_to(c.Cr(), pt[0] - 5, pt[1] - 5);
        cairo_line_to(c.Cr(), pt[0] + 5, pt[1] + 5);
        cairo_move_to(c.Cr(), pt[0] + 5, pt[1] - 5);
        cairo_line_to(c.Cr(), pt[0] - 5, pt[1] + 5);
        c.StrokePath({1, 0, 0}, 2.5);
    }
}

} // namespace ContentGen
