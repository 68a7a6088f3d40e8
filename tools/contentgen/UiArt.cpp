// Menu, HUD and in-store interface pictures named in the resource manifest. Each kind of picture has one small
// drawer; sizes, labels and colours come from content/art/ui.txt.
#include "tools/contentgen/Generator.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <functional>
#include <map>
#include <set>

namespace ContentGen
{

namespace
{
using Drawer = std::function<void(Generator&, const RecipeLine&, Canvas&)>;

const Rgb kWhite{1, 1, 1};
const Rgb kInk{0.23, 0.14, 0.25};
const Rgb kShadow{0, 0, 0, 0.22};

Rgb Param(Generator& g, const RecipeLine& r, const std::string& key, const std::string& uiKey)
{
    return RgbOr(r.Get(key), g.UiColor(uiKey));
}

// Shrinks the text size until the label fits the width.
double FitSize(Canvas& c, const std::string& text, double size, double maxWidth, FontFace face)
{
    while (size > 8 && c.TextWidth(text, size, face) > maxWidth)
        size -= 1;
    return size;
}

void StateColors(const std::string& state, const Rgb& base, Rgb& fill, Rgb& edge, double& dy)
{
    fill = base;
    dy = 0;
    if (state == "over")
        fill = base.Lighter(0.22);
    else if (state == "down")
    {
        fill = base.Darker(0.15);
        dy = 2;
    }
    edge = base.Darker(0.45);
}

void DrawButton(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    std::string style = r.Get("style", "pill");
    std::string state = r.Get("state", "up");
    Rgb base = style == "main" ? g.UiColor("plum") : Param(g, r, "color", "berry");
    Rgb fill, edge;
    double dy;
    StateColors(state, base, fill, edge, dy);
    double radius = style == "square" ? 6 : style == "slot" ? 10 : (h - 4) / 2;
    cairo_t* cr = c.Cr();
    // Drop shadow, then body with a soft vertical gradient and a top shine.
    if (state != "down")
    {
        c.RoundRect(3, 4, w - 5, h - 5, radius);
        c.FillPath(kShadow);
    }
    c.RoundRect(1.5, 1.5 + dy, w - 5, h - 6, radius);
    c.FillGradient(fill.Lighter(0.12), fill.Darker(0.1), 0, h);
    c.RoundRect(1.5, 1.5 + dy, w - 5, h - 6, radius);
    c.StrokePath(edge, 2.5);
    c.RoundRect(6, 4 + dy, w - 15, (h - 8) * 0.42, radius * 0.8);
    c.FillPath(kWhite.WithAlpha(state == "over" ? 0.35 : 0.25));
    if (style == "main")
    {
        // Little hanger hook on the left of the main menu buttons.
        cairo_arc(cr, 24, h / 2 - 4 + dy, 6, M_PI, 2.2 * M_PI);
        c.StrokePath(g.UiColor("gold"), 2.5);
        cairo_move_to(cr, 12, h / 2 + 9 + dy);
        cairo_line_to(cr, 24, h / 2 + 2 + dy);
        cairo_line_to(cr, 36, h / 2 + 9 + dy);
        cairo_close_path(cr);
        c.StrokePath(g.UiColor("gold"), 2.5);
    }
    std::string label = r.Get("label");
    if (!label.empty())
    {
        double left = style == "main" ? 44 : 10;
        double size = FitSize(c, label, r.Number("size", h * 0.46), w - left - 14, FontFace::SansBold);
        Rgb textColor = style == "slot" ? kInk : kWhite;
        Rgb outline = edge.WithAlpha(0.8);
        c.TextCentered(label, left + (w - left - 14) / 2 + 2, h / 2 - 2 + dy, size, FontFace::SansBold, textColor,
                       style == "slot" ? nullptr : &outline, 3);
    }
}

void Panel(Canvas& c, double x, double y, double w, double h, double r, const Rgb& body, const Rgb& edge)
{
    c.RoundRect(x + 4, y + 6, w, h, r);
    c.FillPath(kShadow);
    c.RoundRect(x, y, w, h, r);
    c.FillGradient(body.Lighter(0.1), body.Darker(0.04), y, y + h);
    c.RoundRect(x, y, w, h, r);
    c.StrokePath(edge, 4);
    c.RoundRect(x + 8, y + 8, w - 16, h - 16, std::max(2.0, r - 6));
    c.StrokePath(edge.WithAlpha(0.25), 1.5);
}

void Ribbon(Canvas& c, double cx, double cy, double w, double h, const Rgb& color)
{
    cairo_t* cr = c.Cr();
    double x0 = cx - w / 2, x1 = cx + w / 2;
    // Folded tails behind the band.
    for (int side = -1; side <= 1; side += 2)
    {
        double ex = side < 0 ? x0 : x1;
        cairo_move_to(cr, ex - side * 10, cy - h / 2 + 10);
        cairo_line_to(cr, ex + side * 26, cy - h / 2 + 10);
        cairo_line_to(cr, ex + side * 14, cy + 4);
        cairo_line_to(cr, ex + side * 26, cy + h / 2 + 8);
        cairo_line_to(cr, ex - side * 10, cy + h / 2 + 8);
        cairo_close_path(cr);
        c.FillStroke(color.Darker(0.25), color.Darker(0.5), 2);
    }
    c.RoundRect(x0, cy - h / 2, w, h, 6);
    c.FillGradient(color.Lighter(0.15), color.Darker(0.08), cy - h / 2, cy + h / 2);
    c.RoundRect(x0, cy - h / 2, w, h, 6);
    c.StrokePath(color.Darker(0.5), 2.5);
    cairo_move_to(cr, x0 + 8, cy - h / 2 + 6);
    cairo_line_to(cr, x1 - 8, cy - h / 2 + 6);
    c.StrokePath(kWhite.WithAlpha(0.35), 2);
}

void Stitches(Canvas& c, double x, double y, double w, double h, double r, const Rgb& color)
{
    cairo_t* cr = c.Cr();
    double dashes[] = {6, 5};
    cairo_set_dash(cr, dashes, 2, 0);
    c.RoundRect(x, y, w, h, r);
    c.StrokePath(color, 1.5);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void Clipboard(Generator& g, Canvas& c, double x, double y, double w, double h)
{
    cairo_t* cr = c.Cr();
    Rgb board{0.62, 0.43, 0.28};
    c.RoundRect(x + 4, y + 6, w, h, 14);
    c.FillPath(kShadow);
    c.RoundRect(x, y, w, h, 14);
    c.FillStroke(board, board.Darker(0.4), 3);
    c.RoundRect(x + 16, y + 28, w - 32, h - 44, 4);
    c.FillStroke(g.UiColor("paper"), Rgb{0.8, 0.76, 0.7}, 1.5);
    for (double ly = y + 80; ly < y + h - 30; ly += 26)
    {
        cairo_move_to(cr, x + 30, ly);
        cairo_line_to(cr, x + w - 30, ly);
        c.StrokePath(Rgb{0.55, 0.75, 0.9, 0.45}, 1);
    }
    c.RoundRect(x + w / 2 - 50, y - 10, 100, 34, 8);
    c.FillStroke(Rgb{0.78, 0.78, 0.82}, Rgb{0.4, 0.4, 0.45}, 2.5);
    c.Ellipse(x + w / 2, y + 2, 8, 6);
    c.FillPath(Rgb{0.4, 0.4, 0.45});
}

void Confetti(Canvas& c, double x, double y, double w, double h, int count, unsigned seed)
{
    const Rgb colors[] = {{0.95, 0.7, 0.24}, {0.76, 0.25, 0.48}, {0.36, 0.76, 0.64}, {0.29, 0.56, 0.85}};
    for (int i = 0; i < count; ++i)
    {
        seed = seed * 1103515245u + 12345u;
        double px = x + (seed >> 8) % static_cast<unsigned>(w);
        seed = seed * 1103515245u + 12345u;
        double py = y + (seed >> 8) % static_cast<unsigned>(h);
        cairo_save(c.Cr());
        cairo_translate(c.Cr(), px, py);
        cairo_rotate(c.Cr(), i * 0.7);
        cairo_rectangle(c.Cr(), -4, -2, 8, 4);
        c.FillPath(colors[i % 4]);
        cairo_restore(c.Cr());
    }
}

void DrawPanel(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    std::string style = r.Get("style", "dialog");
    Rgb cream = g.UiColor("cream"), plum = g.UiColor("plum"), berry = g.UiColor("berry");
    cairo_t* cr = c.Cr();
    if (style == "dialog")
    {
        // Dialog texts are drawn white, so the body is the deep plum with a cream rim.
        Panel(c, 4, 4, w - 12, h - 14, 22, plum.Lighter(0.08), cream);
        // Title band: the dialog's title text is drawn over it by the game.
        // Title band centred on y 35, where the dialog writes its title.
        c.RoundRect(24, 12, w - 52, 46, 14);
        c.FillGradient(berry.Lighter(0.1), berry.Darker(0.1), 12, 58);
        c.RoundRect(24, 12, w - 52, 46, 14);
        c.StrokePath(berry.Darker(0.4), 2);
        Stitches(c, 30, 18, w - 64, 34, 10, kWhite.WithAlpha(0.6));
    }
    else if (style == "entername")
    {
        // Name entry: the edit field lies at (260, 292) 232 x 30 and the OK button is centred at (517, 290).
        Panel(c, 4, 4, w - 12, h - 14, 22, plum.Lighter(0.08), cream);
        c.RoundRect(24, 12, w - 52, 34, 12);
        c.FillPath(berry);
        c.RoundRect(250, 282, 240, 50, 10);
        c.FillStroke(plum.Darker(0.35), g.UiColor("gold"), 2.5);
        cairo_save(cr);
        c.RoundRect(30, 60, 200, h - 84, 16);
        cairo_clip(cr);
        c.RoundRect(30, 60, 200, h - 84, 16);
        c.FillPath(cream.WithAlpha(0.9));
        if (const RecipeLine* look = g.LookFor("Prella"))
            DrawFigureFront(c, *look, 130, h + 40, 2.6, Expression::Happy);
        cairo_restore(cr);
    }
    else if (style == "popup")
    {
        // "dark" popups carry white text (scores, names, credits), "light" ones black text.
        bool dark = r.Get("tone") == "dark";
        Panel(c, 4, 4, w - 12, h - 14, 18, dark ? plum.WithAlpha(0.92) : cream.WithAlpha(0.95), dark ? cream : plum);
        Stitches(c, 16, 16, w - 36, h - 38, 12, dark ? cream.WithAlpha(0.5) : berry.WithAlpha(0.5));
    }
    else if (style == "book")
    {
        // Customer handbook: a spiral-bound notebook page. Icons sit in the band around y 160 and 250, the
        // chosen customer stands on the ground line at the lower left with the text beside it.
        Panel(c, 6, 26, w - 14, h - 34, 18, cream, plum);
        for (double x = 40; x < w - 30; x += 28)
        {
            c.Ellipse(x, 26, 6, 6);
            c.FillPath(plum.Darker(0.2));
            cairo_move_to(cr, x, 14);
            cairo_line_to(cr, x, 34);
            c.StrokePath(Rgb{0.6, 0.6, 0.65}, 3);
        }
        // The title band stays empty: the game writes the handbook's title into it in the player's language.
        c.RoundRect(26, 56, w - 52, 50, 12);
        c.FillPath(berry);
        c.RoundRect(30, 124, w - 60, 168, 14);
        c.FillPath(berry.WithAlpha(0.12));
        c.Ellipse(172, 482, 62, 12);
        c.FillPath(plum.WithAlpha(0.15));
        for (double y = 400; y < h - 110; y += 25)
        {
            cairo_move_to(cr, 230, y);
            cairo_line_to(cr, w - 30, y);
        }
        c.StrokePath(Rgb{0.55, 0.75, 0.9, 0.4}, 1);
    }
    else if (style == "clipboard")
        Clipboard(g, c, 10, 16, w - 24, h - 26);
    else if (style == "levelbegin")
    {
        // Prella presents the day's clipboard from the left.
        if (const RecipeLine* look = g.LookFor("Prella"))
            DrawFigureFront(c, *look, 180, 520, 3.3, Expression::Happy);
        Clipboard(g, c, 280, 120, 360, 400);
        Ribbon(c, 440, 190, 250, 44, berry);
    }
    else if (style == "complete" || style == "fail")
    {
        bool pass = style == "complete";
        Confetti(c, 320, 80, 380, 60, pass ? 40 : 0, 7u);
        Panel(c, 320, 120, 370, 370, 24, cream, pass ? plum : Rgb{0.35, 0.35, 0.42});
        Ribbon(c, 485, 175, 280, 48, pass ? g.UiColor("mint") : Rgb{0.55, 0.55, 0.62});
        if (!pass)
        {
            // A small rain cloud over the panel's corner.
            for (int i = 0; i < 3; ++i)
                c.Ellipse(650 + i * 18, 112 - (i == 1) * 8, 18, 14);
            c.FillPath(Rgb{0.6, 0.62, 0.7});
            for (int i = 0; i < 4; ++i)
            {
                cairo_move_to(cr, 642 + i * 14, 128);
                cairo_line_to(cr, 638 + i * 14, 142);
                c.StrokePath(Rgb{0.45, 0.65, 0.9}, 2.5);
            }
        }
    }
    else if (style == "double")
    {
        Confetti(c, 140, 10, 620, 40, 50, 11u);
        Panel(c, 130, 40, 640, 510, 26, cream, plum);
        Ribbon(c, 310, 78, 250, 44, g.UiColor("gold"));
        // Speech boxes for the two texts: Dorvie's (160,195)-(454,295) points right at her portrait at x 485,
        // Prella's (330,405)-(630,505) points left at hers at x 155.
        c.RoundRect(150, 185, 314, 120, 16);
        c.FillStroke(plum.Lighter(0.82), plum.Lighter(0.3), 2.5);
        cairo_move_to(cr, 463, 220);
        cairo_line_to(cr, 484, 236);
        cairo_line_to(cr, 463, 250);
        c.FillStroke(plum.Lighter(0.82), plum.Lighter(0.3), 2.5);
        c.RoundRect(320, 395, 320, 120, 16);
        c.FillStroke(g.UiColor("mint").Lighter(0.75), g.UiColor("mint").Darker(0.2), 2.5);
        cairo_move_to(cr, 321, 430);
        cairo_line_to(cr, 300, 446);
        cairo_line_to(cr, 321, 460);
        c.FillStroke(g.UiColor("mint").Lighter(0.75), g.UiColor("mint").Darker(0.2), 2.5);
    }
    else if (style == "maphud")
    {
        cairo_rectangle(cr, 0, 18, w, h - 18);
        c.FillGradient(Rgb{0.66, 0.47, 0.32}, Rgb{0.48, 0.32, 0.2}, 18, h);
        cairo_rectangle(cr, 0, 10, w, 14);
        c.FillStroke(Rgb{0.74, 0.55, 0.38}, Rgb{0.4, 0.26, 0.16}, 2);
        // Sockets for the level icons (centred on x = 54 i + 49).
        for (int i = 0; i < 14; ++i)
        {
            c.Ellipse(54 * i + 49, 63, 23, 23);
            c.FillStroke(Rgb{0.4, 0.27, 0.17}, Rgb{0.8, 0.62, 0.44}, 2);
        }
    }
    else if (style == "minipopup")
    {
        cairo_rectangle(cr, 0, 14, w, h - 14);
        c.FillGradient(plum.Lighter(0.1), plum.Darker(0.2), 14, h);
        cairo_rectangle(cr, 0, 8, w, 10);
        c.FillPath(g.UiColor("gold"));
        Stitches(c, 10, 26, w - 20, h - 36, 10, kWhite.WithAlpha(0.4));
    }
    else if (style == "windows")
    {
        // Shop windows in front of the mannequins with their blinds down: opaque, since the clothes come off behind
        // them while they are closed. Frames and mullions over frosted slats.
        Rgb frame{0.97, 0.95, 0.92};
        cairo_rectangle(cr, 0, 0, w, h);
        c.FillGradient(Rgb{0.86, 0.92, 0.96}, Rgb{0.72, 0.82, 0.9}, 0, h);
        for (double y = 26; y < h - 24; y += 14)
        {
            cairo_move_to(cr, 0, y);
            cairo_line_to(cr, w, y);
        }
        c.StrokePath(Rgb{0.55, 0.66, 0.76, 0.7}, 2);
        for (int i = 0; i <= 4; ++i)
        {
            double x = i * (w - 20) / 4;
            cairo_rectangle(cr, x, 0, 20, h);
            c.FillStroke(frame, frame.Darker(0.3), 2);
        }
        cairo_rectangle(cr, 0, 0, w, 18);
        c.FillStroke(frame, frame.Darker(0.3), 2);
        cairo_rectangle(cr, 0, h - 24, w, 24);
        c.FillStroke(frame.Darker(0.05), frame.Darker(0.3), 2);
        for (int i = 0; i < 4; ++i)
        {
            double x = 40 + i * (w - 20) / 4;
            cairo_move_to(cr, x, 40);
            cairo_line_to(cr, x + 40, 20);
            cairo_move_to(cr, x + 10, 70);
            cairo_line_to(cr, x + 70, 38);
            c.StrokePath(kWhite.WithAlpha(0.5), 5);
        }
    }
}

void DrawBanner(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    Rgb color = Param(g, r, "color", "berry");
    if (r.Get("style") == "maptitle")
    {
        // Hanging shop sign: the store's name is written on it by the map.
        cairo_t* cr = c.Cr();
        cairo_move_to(cr, 40, 0);
        cairo_line_to(cr, 60, 16);
        cairo_move_to(cr, w - 40, 0);
        cairo_line_to(cr, w - 60, 16);
        c.StrokePath(Rgb{0.35, 0.3, 0.3}, 3);
        c.RoundRect(10, 14, w - 24, h - 20, 14);
        c.FillStroke(Rgb{0.66, 0.47, 0.32}, Rgb{0.4, 0.26, 0.16}, 3);
        c.RoundRect(18, 20, w - 40, h - 32, 10);
        c.StrokePath(g.UiColor("gold"), 2);
        return;
    }
    Ribbon(c, w / 2, h / 2 - 4, w - 64, h - 24, color);
    std::string label = r.Get("label");
    if (!label.empty())
    {
        double size = FitSize(c, label, h * 0.42, w - 90, FontFace::SansBold);
        Rgb outline = color.Darker(0.55);
        c.TextCentered(label, w / 2, h / 2 - 5, size, FontFace::SansBold, kWhite, &outline, 4);
    }
}

void DrawText(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    std::string label = r.Get("label");
    double size = FitSize(c, label, r.Number("size", h * 0.62), w - 6, FontFace::SansBold);
    Rgb color = Param(g, r, "color", "plum");
    Rgb outline = (color.r + color.g + color.b > 2.2) ? Rgb{0.2, 0.1, 0.2, 0.85} : Rgb{1, 1, 1, 0.9};
    c.TextCentered(label, w / 2, h / 2, size, FontFace::SansBold, color, &outline, 3);
}

void DrawCursor(Generator& g, const RecipeLine& r, Canvas& c)
{
    cairo_t* cr = c.Cr();
    std::string shape = r.Get("shape");
    Rgb fill = kWhite, edge{0.1, 0.08, 0.12};
    if (shape == "arrow")
    {
        const double pts[][2] = {{1, 1}, {1, 24}, {7, 18}, {11, 28}, {15, 26}, {11, 17}, {19, 17}};
        cairo_move_to(cr, pts[0][0], pts[0][1]);
        for (const auto& p : pts)
            cairo_line_to(cr, p[0], p[1]);
        cairo_close_path(cr);
        c.FillStroke(fill, edge, 1.6);
    }
    else if (shape == "hand" || shape == "grab")
    {
        bool grab = shape == "grab";
        // Palm, then fingers: the hand points up with its tip near (10, 2); the grab curls the fingers.
        c.RoundRect(6, grab ? 12 : 14, 20, 16, 6);
        c.FillStroke(fill, edge, 1.6);
        double fingerTop[] = {grab ? 9.0 : 2.0, grab ? 8.0 : 9.0, grab ? 9.0 : 10.0, grab ? 11.0 : 12.0};
        for (int i = 0; i < 4; ++i)
        {
            c.RoundRect(7 + i * 4.6, fingerTop[i], 4.6, 16 - fingerTop[i] + 6, 2.3);
            c.FillStroke(fill, edge, 1.4);
        }
        c.RoundRect(1, grab ? 16 : 18, 9, 5, 2.5);
        c.FillStroke(fill, edge, 1.4);
    }
    else if (shape == "beam")
    {
        // The same I-beam twice: a wide white halo under the thin edge keeps the cursor visible on any background.
        auto beam = [cr]
        {
            cairo_move_to(cr, 10, 3);
            cairo_line_to(cr, 14, 5);
            cairo_line_to(cr, 18, 3);
            cairo_move_to(cr, 14, 5);
            cairo_line_to(cr, 14, 25);
            cairo_move_to(cr, 10, 27);
            cairo_line_to(cr, 14, 25);
            cairo_line_to(cr, 18, 27);
        };
        beam();
        c.StrokePath(kWhite, 4);
        beam();
        c.StrokePath(edge, 1.8);
    }
}

void Star(Canvas& c, double cx, double cy, double r, double inner)
{
    cairo_t* cr = c.Cr();
    for (int i = 0; i < 10; ++i)
    {
        double a = -M_PI / 2 + i * M_PI / 5;
        double rr = i % 2 ? r * inner : r;
        if (i == 0)
            cairo_move_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
        else
            cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    cairo_close_path(cr);
}

void Heart(Canvas& c, double cx, double cy, double s)
{
    cairo_t* cr = c.Cr();
    cairo_move_to(cr, cx, cy + s * 0.9);
    cairo_curve_to(cr, cx - s * 1.3, cy + s * 0.1, cx - s * 0.9, cy - s * 1.0, cx, cy - s * 0.35);
    cairo_curve_to(cr, cx + s * 0.9, cy - s * 1.0, cx + s * 1.3, cy + s * 0.1, cx, cy + s * 0.9);
    cairo_close_path(cr);
}

void Coin(Canvas& c, double cx, double cy, double r)
{
    Rgb gold{0.96, 0.73, 0.2};
    c.Ellipse(cx, cy, r, r);
    c.FillStroke(gold, gold.Darker(0.45), r * 0.12);
    c.Ellipse(cx, cy, r * 0.72, r * 0.72);
    c.StrokePath(gold.Lighter(0.45), r * 0.08);
    c.TextCentered("$", cx, cy, r * 1.1, FontFace::SansBold, gold.Darker(0.35));
}

void DrawIcon(Generator& g, const RecipeLine& r, Canvas& c);

void DrawArrow(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    std::string dir = r.Get("dir", "down");
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    // Drawn pointing down in a frame (u across, v along towards the tip), then mapped so the tip sits on the
    // named side of the picture.
    double len = (dir == "down" || dir == "up") ? h : w;
    double wid = (dir == "down" || dir == "up") ? w : h;
    cairo_matrix_t m;
    if (dir == "up")
        cairo_matrix_init(&m, -1, 0, 0, -1, wid, len);
    else if (dir == "left")
        cairo_matrix_init(&m, 0, 1, -1, 0, len, 0);
    else if (dir == "right")
        cairo_matrix_init(&m, 0, -1, 1, 0, 0, wid);
    else
        cairo_matrix_init_identity(&m);
    // The lesson arrows must stand out on every floor: a shadow down and to the right, a white halo and a
    // near-black rim around a bright body. The body keeps clear of the edges by the halo and the shadow; the tip
    // stays within a few pixels of the edge the scripts aim at.
    const double inset = 5;
    auto outline = [&]() {
        double w2 = wid - 2 * inset, shaft = w2 * 0.44, head = len * 0.42;
        double mid = wid / 2, tip = len - inset;
        cairo_move_to(cr, mid - shaft / 2, inset);
        cairo_line_to(cr, mid + shaft / 2, inset);
        cairo_line_to(cr, mid + shaft / 2, tip - head);
        cairo_line_to(cr, inset + w2, tip - head);
        cairo_line_to(cr, mid, tip);
        cairo_line_to(cr, inset, tip - head);
        cairo_line_to(cr, mid - shaft / 2, tip - head);
        cairo_close_path(cr);
    };
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_translate(cr, 3, 3);
    cairo_transform(cr, &m);
    outline();
    c.FillStroke(Rgb{0, 0, 0, 0.4}, Rgb{0, 0, 0, 0.4}, 3);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_transform(cr, &m);
    outline();
    c.StrokePath(Rgb{1, 1, 1}, 6);
    outline();
    c.FillGradient(Rgb{1, 0.9, 0.35}, Rgb{0.98, 0.5, 0.08}, 0, len);
    outline();
    c.StrokePath(Rgb{0.15, 0.05, 0.0}, 2.5);
    cairo_restore(cr);
}

void DrawCheckbox(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    bool hover = r.Get("hover") == "1";
    Rgb edge = g.UiColor("plum");
    c.RoundRect(2, 2, w - 4, h - 4, 6);
    c.FillStroke(hover ? g.UiColor("cream").Mix(g.UiColor("gold"), 0.35) : g.UiColor("cream"), edge, 2.5);
    if (r.Get("checked") == "1")
    {
        cairo_t* cr = c.Cr();
        cairo_move_to(cr, w * 0.22, h * 0.52);
        cairo_line_to(cr, w * 0.43, h * 0.74);
        cairo_line_to(cr, w * 0.82, h * 0.2);
        c.StrokePath(g.UiColor("berry"), w * 0.16);
    }
}

void DrawSlider(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    if (r.Get("part") == "thumb")
    {
        c.RoundRect(2, 2, w - 4, h - 4, 8);
        c.FillGradient(g.UiColor("berry").Lighter(0.2), g.UiColor("berry").Darker(0.1), 0, h);
        c.RoundRect(2, 2, w - 4, h - 4, 8);
        c.StrokePath(g.UiColor("berry").Darker(0.45), 2);
        for (int i = -1; i <= 1; ++i)
        {
            cairo_move_to(cr, w / 2 + i * 5, h * 0.3);
            cairo_line_to(cr, w / 2 + i * 5, h * 0.7);
        }
        c.StrokePath(kWhite.WithAlpha(0.7), 1.5);
        return;
    }
    // Three equal cells: left cap, middle (tiled by the slider), right cap. The caps are the two halves of one
    // rounded trough; the middle cell is its straight part.
    double cell = w / 3, radius = (h - 6) / 2;
    Rgb trough = g.UiColor("plum").Lighter(0.55), edge = g.UiColor("plum");
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, cell, h);
    cairo_clip(cr);
    c.RoundRect(2, 3, cell * 2 - 2, h - 6, radius);
    c.FillStroke(trough, edge, 2);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, cell, 3, cell, h - 6);
    c.FillPath(trough);
    cairo_move_to(cr, cell, 3);
    cairo_line_to(cr, cell * 2, 3);
    cairo_move_to(cr, cell, h - 3);
    cairo_line_to(cr, cell * 2, h - 3);
    c.StrokePath(edge, 2);
    cairo_save(cr);
    cairo_rectangle(cr, cell * 2, 0, cell, h);
    cairo_clip(cr);
    c.RoundRect(cell + 2, 3, cell * 2 - 4, h - 6, radius);
    c.FillStroke(trough, edge, 2);
    cairo_restore(cr);
    cairo_new_path(cr);
}

void DrawIris(Generator&, const RecipeLine&, Canvas& c)
{
    // Exactly magenta: the map punches its iris hole through this colour key.
    c.Ellipse(c.Width() / 2.0, c.Height() / 2.0, c.Width() / 2.0 - 1, c.Height() / 2.0 - 1);
    cairo_set_antialias(c.Cr(), CAIRO_ANTIALIAS_NONE);
    c.FillPath({1, 0, 1});
    cairo_set_antialias(c.Cr(), CAIRO_ANTIALIAS_DEFAULT);
}

void DrawMannequin(Generator&, const RecipeLine& r, Canvas& c)
{
    // Dress form on a pole: shoulders and waist sit where the game hangs the top and bottom pieces.
    double w = c.Width(), h = c.Height();
    bool male = r.Get("gender") == "male";
    std::string part = r.Get("part", "full");
    double shoulderY = r.Number("shoulder", 10), waistY = r.Number("waist", 46);
    double u = w / 50.0;
    cairo_t* cr = c.Cr();
    Rgb body{0.93, 0.88, 0.8}, edge{0.55, 0.47, 0.4}, metal{0.55, 0.55, 0.6};
    double cx = w / 2;
    double shoulder = (male ? 20 : 17) * u, waist = (male ? 14 : 10) * u, hip = (male ? 15 : 17) * u;
    double hipY = waistY + (waistY - shoulderY) * 0.45, kneeY = h - 10 * u;
    c.Ellipse(cx, h - 5 * u, 20 * u, 4 * u);
    c.FillStroke(metal.Darker(0.2), metal.Darker(0.5), 1.5);
    cairo_move_to(cr, cx, h - 6 * u);
    cairo_line_to(cr, cx, shoulderY);
    c.StrokePath(metal, 3 * u);
    if (part == "full" || part == "top")
    {
        c.RoundRect(cx - 4 * u, 0, 8 * u, shoulderY + 2, 3 * u);
        c.FillStroke(body.Darker(0.05), edge, 1.5);
        cairo_move_to(cr, cx - shoulder, shoulderY + 3 * u);
        cairo_curve_to(cr, cx - shoulder, shoulderY - 2 * u, cx + shoulder, shoulderY - 2 * u, cx + shoulder,
                       shoulderY + 3 * u);
        cairo_curve_to(cr, cx + shoulder, shoulderY + 16 * u, cx + waist, waistY - 10 * u, cx + waist, waistY);
        cairo_line_to(cr, cx - waist, waistY);
        cairo_curve_to(cr, cx - waist, waistY - 10 * u, cx - shoulder, shoulderY + 16 * u, cx - shoulder,
                       shoulderY + 3 * u);
        cairo_close_path(cr);
        c.FillStroke(body, edge, 1.5);
    }
    if (part == "full" || part == "bottom")
    {
        cairo_move_to(cr, cx - waist, waistY);
        cairo_line_to(cr, cx + waist, waistY);
        cairo_curve_to(cr, cx + hip, waistY + 4 * u, cx + hip, hipY - 4 * u, cx + hip - 2 * u, hipY);
        cairo_line_to(cr, cx - hip + 2 * u, hipY);
        cairo_curve_to(cr, cx - hip, hipY - 4 * u, cx - hip, waistY + 4 * u, cx - waist, waistY);
        cairo_close_path(cr);
        c.FillStroke(body, edge, 1.5);
        for (int side = -1; side <= 1; side += 2)
        {
            for (int pass = 0; pass < 2; ++pass)
            {
                cairo_move_to(cr, cx + side * 6 * u, hipY - 2);
                cairo_line_to(cr, cx + side * 5 * u, kneeY);
                c.StrokePath(pass ? body : edge, (pass ? 6 : 8.4) * u);
            }
        }
    }
    if (part != "full")
    {
        double y = part == "top" ? waistY : waistY - 1;
        c.Ellipse(cx, y, waist + 2 * u, 3.5 * u);
        c.FillStroke(metal.Lighter(0.3), metal.Darker(0.3), 1.5);
    }
}

void DrawMonth(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    // A tear-off calendar page with the month's short name.
    c.RoundRect(3, 4, w - 6, h - 7, 6);
    c.FillStroke(g.UiColor("paper"), g.UiColor("plum"), 2);
    c.RoundRect(3, 4, w - 6, 10, 4);
    c.FillPath(g.UiColor("berry"));
    for (int i = 0; i < 4; ++i)
    {
        c.Ellipse(14 + i * (w - 28) / 3, 6, 3, 3);
        c.FillPath(g.UiColor("plum"));
    }
    c.TextCentered(r.Get("month"), w / 2, h / 2 + 5, h * 0.5, FontFace::SansBold, g.UiColor("plum"));
}

void DrawNumberCels(Generator& g, const RecipeLine&, Canvas& c)
{
    // Queue markers: square cels with the digits 1, 2, 3 ... (cel 0 marks the order under way).
    int cel = c.Height();
    int count = c.Width() / cel;
    for (int i = 0; i < count; ++i)
    {
        double cx = i * cel + cel / 2.0, cy = cel / 2.0;
        c.Ellipse(cx, cy, cel / 2.0 - 1.5, cel / 2.0 - 1.5);
        c.FillStroke(i == 0 ? g.UiColor("berry") : g.UiColor("gold"), g.UiColor("ink"), 1.5);
        Rgb outline = g.UiColor("ink");
        c.TextCentered(std::to_string(i + 1), cx, cy, cel * 0.66, FontFace::SansBold, kWhite, &outline, 2);
    }
}

void DrawTimer(Generator& g, const RecipeLine&, Canvas& c)
{
    // A stopwatch that fills in steps: cel k shows k sixths gone.
    int cel = c.Height();
    int count = c.Width() / cel;
    cairo_t* cr = c.Cr();
    for (int i = 0; i < count; ++i)
    {
        double cx = i * cel + cel / 2.0, cy = cel / 2.0 + 1, rad = cel / 2.0 - 3;
        c.Ellipse(cx, cy, rad, rad);
        c.FillStroke(kWhite, g.UiColor("ink"), 2);
        double frac = std::min(1.0, i / static_cast<double>(count - 1));
        if (frac > 0)
        {
            cairo_move_to(cr, cx, cy);
            cairo_arc(cr, cx, cy, rad - 2, -M_PI / 2, -M_PI / 2 + frac * 2 * M_PI);
            cairo_close_path(cr);
            c.FillPath(g.UiColor("berry").Mix(g.UiColor("mint"), 1 - frac));
        }
        cairo_rectangle(cr, cx - 2, 0, 4, 3);
        c.FillPath(g.UiColor("ink"));
    }
}

void DrawBar(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    if (r.Get("part") == "base")
    {
        c.RoundRect(2, 2, w - 4, h - 4, (h - 4) / 2);
        c.FillStroke(g.UiColor("cream").Darker(0.08), g.UiColor("plum"), 3);
        return;
    }
    c.RoundRect(5, 5, w - 10, h - 10, (h - 10) / 2);
    c.FillGradient(g.UiColor("berry").Lighter(0.25), g.UiColor("berry").Darker(0.1), 5, h - 5);
    cairo_t* cr = c.Cr();
    // Candy stripes inside the filled bar.
    cairo_save(cr);
    c.RoundRect(5, 5, w - 10, h - 10, (h - 10) / 2);
    cairo_clip(cr);
    cairo_new_path(cr);
    for (double x = -h; x < w; x += 22)
    {
        cairo_move_to(cr, x, h - 5);
        cairo_line_to(cr, x + 10, h - 5);
        cairo_line_to(cr, x + 10 + h, 5);
        cairo_line_to(cr, x + h, 5);
        cairo_close_path(cr);
    }
    c.FillPath(kWhite.WithAlpha(0.18));
    cairo_restore(cr);
}

void DrawLogo(Generator& g, const RecipeLine&, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    // Hanger arc over the name.
    cairo_arc(cr, w / 2, 36, 14, M_PI, 2.3 * M_PI);
    c.StrokePath(g.UiColor("gold"), 6);
    cairo_move_to(cr, w / 2 - 170, 88);
    cairo_line_to(cr, w / 2, 46);
    cairo_line_to(cr, w / 2 + 170, 88);
    c.StrokePath(g.UiColor("gold"), 7);
    Rgb outline = g.UiColor("plum");
    Rgb white = kWhite;
    c.TextCentered("Velmora", w / 2 + 3, 118, 92, FontFace::SerifBold, outline, &outline, 14);
    c.TextCentered("Velmora", w / 2, 114, 92, FontFace::SerifBold, g.UiColor("berry"), &white, 6);
    // The ribbon and its tails end above the picture's bottom edge.
    double ribbonY = h - 34;
    Ribbon(c, w / 2, ribbonY, 200, 40, g.UiColor("mint"));
    Rgb dark = g.UiColor("mint").Darker(0.5);
    c.TextCentered("ROW", w / 2, ribbonY - 2, 30, FontFace::SansBold, kWhite, &dark, 3);
}

void DrawLetter(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_rotate(cr, r.Number("tilt", 0) * M_PI / 180);
    cairo_translate(cr, -w / 2, -h / 2);
    Rgb color = Param(g, r, "color", "berry");
    Rgb dark = color.Darker(0.45);
    c.TextCentered(r.Get("char"), w / 2 + 3, h / 2 + 4, h * 0.98, FontFace::SansBold, dark, &dark, 6);
    c.TextCentered(r.Get("char"), w / 2, h / 2, h * 0.98, FontFace::SansBold, color, &dark, 4);
    cairo_restore(cr);
}

void DrawBall(Generator& g, const RecipeLine&, Canvas& c)
{
    int cel = c.Height();
    for (int i = 0; i < 3; ++i)
    {
        // Cel 0 round, cels 1 and 2 squashed against the floor.
        double squash = i == 0 ? 1.0 : i == 1 ? 0.8 : 0.68;
        double rx = cel * 0.4 / std::sqrt(squash), ry = cel * 0.4 * squash;
        double cx = i * cel + cel / 2.0, cy = cel - ry - 2;
        c.Ellipse(cx, cy, rx, ry);
        c.FillStroke(g.UiColor("berry"), g.UiColor("berry").Darker(0.45), 3);
        c.Ellipse(cx - rx * 0.35, cy - ry * 0.4, rx * 0.28, ry * 0.2);
        c.FillPath(kWhite.WithAlpha(0.6));
    }
}

void DrawTrail(Generator& g, const RecipeLine&, Canvas& c)
{
    double h = c.Height();
    cairo_t* cr = c.Cr();
    // A ribbon along the ball's path: level to pixel 408, then curving down past the last letter; a thin light
    // line over the wide gold one gives it a sheen.
    auto path = [cr, h]
    {
        cairo_move_to(cr, 0, 14);
        cairo_curve_to(cr, 120, 2, 300, 2, 408, 12);
        cairo_curve_to(cr, 418, 40, 420, 120, 416, h - 4);
    };
    path();
    c.StrokePath(g.UiColor("gold").WithAlpha(0.85), 10);
    path();
    c.StrokePath(kWhite.WithAlpha(0.6), 3);
}

void DrawTrademark(Generator& g, const RecipeLine&, Canvas& c)
{
    c.TextCentered("TM", c.Width() / 2.0, c.Height() / 2.0, c.Height() * 0.8, FontFace::SansBold, g.UiColor("ink"));
}

void DrawScenePicture(Generator& g, const RecipeLine& r, Canvas& c)
{
    DrawScene(g, c, r.Get("name"), static_cast<int>(r.Number("store", r.Number("page", 1))));
}

// --- Strips ----------------------------------------------------------------------------------------------

void Puff(Canvas& c, double cx, double cy, double r, const Rgb& color, double alpha)
{
    for (int i = 0; i < 5; ++i)
    {
        double a = i * 2 * M_PI / 5;
        c.Ellipse(cx + std::cos(a) * r * 0.5, cy + std::sin(a) * r * 0.4, r * 0.55, r * 0.5);
    }
    c.FillPath(color.WithAlpha(alpha));
}

// One medal of the achievement icons: a coloured disc with a gold rim and a white glyph. The glyph names are the
// recipe's; an unknown one draws a plain dot so a typo shows in the picture.
void Medal(Canvas& c, double x0, double w, double h, const std::string& glyph, const Rgb& color)
{
    cairo_t* cr = c.Cr();
    const Rgb white{1, 1, 1};
    const Rgb gold{0.96, 0.73, 0.2};
    const double cx = x0 + w / 2, cy = h / 2, r = std::min(w, h) / 2 - 2;
    c.Ellipse(cx, cy, r, r);
    c.FillStroke(gold, gold.Darker(0.45), 2);
    c.Ellipse(cx, cy, r * 0.78, r * 0.78);
    c.FillStroke(color, color.Darker(0.4), 1.5);
    const double s = r * 0.5; // glyph half size
    const Rgb edge = color.Darker(0.5);
    auto line = [&](std::initializer_list<std::pair<double, double>> points, double width) {
        bool first = true;
        for (auto [px, py] : points)
        {
            if (first)
                cairo_move_to(cr, cx + px * s, cy + py * s);
            else
                cairo_line_to(cr, cx + px * s, cy + py * s);
            first = false;
        }
        c.StrokePath(white, width);
    };
    auto shape = [&](std::initializer_list<std::pair<double, double>> points) {
        bool first = true;
        for (auto [px, py] : points)
        {
            if (first)
                cairo_move_to(cr, cx + px * s, cy + py * s);
            else
                cairo_line_to(cr, cx + px * s, cy + py * s);
            first = false;
        }
        cairo_close_path(cr);
        c.FillStroke(white, edge, 1);
    };
    if (glyph == "coin")
    {
        c.Ellipse(cx, cy, s, s);
        c.FillStroke(white, edge, 1);
        c.TextCentered("$", cx, cy, s * 1.5, FontFace::SansBold, color.Darker(0.2));
    }
    else if (glyph == "check")
        line({{-0.7, 0.0}, {-0.2, 0.6}, {0.8, -0.6}}, s * 0.35);
    else if (glyph == "bolt")
        shape({{0.2, -1.0}, {-0.6, 0.15}, {-0.05, 0.15}, {-0.3, 1.0}, {0.6, -0.2}, {0.05, -0.2}});
    else if (glyph == "heart")
    {
        Heart(c, cx, cy, s * 0.85);
        c.FillStroke(white, edge, 1);
    }
    else if (glyph == "jar")
    {
        c.RoundRect(cx - s * 0.7, cy - s * 0.6, s * 1.4, s * 1.6, s * 0.3);
        c.FillStroke(white, edge, 1);
        cairo_rectangle(cr, cx - s * 0.5, cy - s * 0.95, s, s * 0.35);
        c.FillStroke(gold, edge, 1);
        Coin(c, cx, cy + s * 0.2, s * 0.4);
    }
    else if (glyph == "star")
    {
        Star(c, cx, cy + s * 0.05, s * 1.05, 0.45);
        c.FillStroke(white, edge, 1);
    }
    else if (glyph == "stars")
    {
        for (double dx : {-0.65, 0.0, 0.65})
        {
            Star(c, cx + dx * s, cy + (dx == 0.0 ? -0.3 : 0.3) * s, s * 0.45, 0.45);
            c.FillStroke(white, edge, 1);
        }
    }
    else if (glyph == "crown")
        shape({{-0.9, 0.6}, {-0.9, -0.5}, {-0.45, 0.0}, {0.0, -0.8}, {0.45, 0.0}, {0.9, -0.5}, {0.9, 0.6}});
    else if (glyph == "flag")
    {
        line({{-0.6, 1.0}, {-0.6, -0.9}}, s * 0.2);
        shape({{-0.6, -0.9}, {0.8, -0.55}, {-0.6, -0.1}});
    }
    else if (glyph == "shield")
        shape({{-0.8, -0.8}, {0.8, -0.8}, {0.8, 0.0}, {0.0, 1.0}, {-0.8, 0.0}});
    else if (glyph == "arrow")
        shape({{0.0, -1.0}, {0.85, 0.0}, {0.3, 0.0}, {0.3, 0.9}, {-0.3, 0.9}, {-0.3, 0.0}, {-0.85, 0.0}});
    else if (glyph == "hanger")
    {
        line({{0.0, -0.3}, {0.0, -0.6}}, s * 0.18);
        cairo_arc(cr, cx + s * 0.15, cy - s * 0.75, s * 0.2, M_PI, 2 * M_PI);
        c.StrokePath(white, s * 0.15);
        line({{-0.95, 0.5}, {0.0, -0.3}, {0.95, 0.5}, {-0.95, 0.5}}, s * 0.2);
    }
    else if (glyph == "bag")
    {
        c.RoundRect(cx - s * 0.75, cy - s * 0.35, s * 1.5, s * 1.3, s * 0.15);
        c.FillStroke(white, edge, 1);
        cairo_arc(cr, cx, cy - s * 0.35, s * 0.4, M_PI, 2 * M_PI);
        c.StrokePath(white, s * 0.18);
    }
    else if (glyph == "eye")
    {
        cairo_move_to(cr, cx - s, cy);
        cairo_curve_to(cr, cx - s * 0.4, cy - s * 0.8, cx + s * 0.4, cy - s * 0.8, cx + s, cy);
        cairo_curve_to(cr, cx + s * 0.4, cy + s * 0.8, cx - s * 0.4, cy + s * 0.8, cx - s, cy);
        c.FillStroke(white, edge, 1);
        c.Ellipse(cx, cy, s * 0.35, s * 0.35);
        c.FillPath(color.Darker(0.3));
    }
    else if (glyph == "card")
    {
        c.RoundRect(cx - s * 0.6, cy - s * 0.85, s * 1.2, s * 1.7, 2);
        c.FillStroke(white, edge, 1);
        Heart(c, cx, cy, s * 0.3);
        c.FillPath(color);
    }
    else if (glyph == "diamond")
        shape({{-0.9, -0.3}, {-0.45, -0.8}, {0.45, -0.8}, {0.9, -0.3}, {0.0, 0.95}});
    else if (glyph == "drop")
    {
        cairo_move_to(cr, cx, cy - s);
        cairo_curve_to(cr, cx + s * 0.3, cy - s * 0.4, cx + s * 0.75, cy, cx + s * 0.75, cy + s * 0.35);
        cairo_arc(cr, cx, cy + s * 0.35, s * 0.75, 0, M_PI);
        cairo_curve_to(cr, cx - s * 0.75, cy, cx - s * 0.3, cy - s * 0.4, cx, cy - s);
        c.FillStroke(white, edge, 1);
    }
    else if (glyph == "people")
    {
        for (double dx : {-0.5, 0.5})
        {
            c.Ellipse(cx + dx * s, cy - s * 0.45, s * 0.3, s * 0.3);
            c.FillStroke(white, edge, 1);
            cairo_arc(cr, cx + dx * s, cy + s * 0.6, s * 0.5, M_PI, 2 * M_PI);
            cairo_close_path(cr);
            c.FillStroke(white, edge, 1);
        }
    }
    else if (glyph == "stack")
    {
        for (int i = 0; i < 3; ++i)
        {
            c.Ellipse(cx, cy + s * (0.55 - 0.45 * i), s * 0.8, s * 0.3);
            c.FillStroke(white, edge, 1);
        }
    }
    else if (glyph == "cup")
    {
        shape({{-0.7, -0.8}, {0.7, -0.8}, {0.5, 0.1}, {0.15, 0.3}, {0.15, 0.7}, {0.45, 0.9}, {-0.45, 0.9},
               {-0.15, 0.7}, {-0.15, 0.3}, {-0.5, 0.1}});
    }
    else if (glyph == "door")
    {
        cairo_rectangle(cr, cx - s * 0.6, cy - s * 0.9, s * 1.2, s * 1.8);
        c.FillStroke(white, edge, 1);
        c.Ellipse(cx + s * 0.3, cy + s * 0.1, s * 0.12, s * 0.12);
        c.FillPath(color);
    }
    else if (glyph == "clock")
    {
        c.Ellipse(cx, cy, s * 0.95, s * 0.95);
        c.FillStroke(white, edge, 1);
        cairo_move_to(cr, cx, cy - s * 0.65);
        cairo_line_to(cr, cx, cy);
        cairo_line_to(cr, cx + s * 0.45, cy + s * 0.2);
        c.StrokePath(color.Darker(0.2), s * 0.15);
    }
    else if (glyph == "calendar")
    {
        cairo_rectangle(cr, cx - s * 0.8, cy - s * 0.7, s * 1.6, s * 1.6);
        c.FillStroke(white, edge, 1);
        cairo_rectangle(cr, cx - s * 0.8, cy - s * 0.7, s * 1.6, s * 0.45);
        c.FillPath(color.Darker(0.2));
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 2; ++j)
            {
                cairo_rectangle(cr, cx + s * (-0.6 + 0.45 * i), cy + s * (0.0 + 0.4 * j), s * 0.3, s * 0.25);
                c.FillPath(color);
            }
    }
    else
    {
        c.Ellipse(cx, cy, s * 0.3, s * 0.3);
        c.FillPath(white);
    }
}

// The achievement icons: "marks" lists one glyph/colour per cel ("coin/#5cc3a4,check/#5cc3a4,...").
void DrawMedals(const RecipeLine& r, Canvas& c)
{
    const std::string marks = r.Get("marks");
    const int cols = static_cast<int>(r.Number("cols", 1));
    const double cw = static_cast<double>(c.Width()) / cols;
    size_t at = 0;
    for (int i = 0; i < cols && at <= marks.size(); ++i)
    {
        size_t end = marks.find(',', at);
        if (end == std::string::npos)
            end = marks.size();
        const std::string mark = marks.substr(at, end - at);
        at = end + 1;
        const size_t slash = mark.find('/');
        const std::string glyph = mark.substr(0, slash);
        const Rgb color = RgbOr(slash == std::string::npos ? "" : mark.substr(slash + 1), {0.36, 0.76, 0.64});
        cairo_save(c.Cr());
        cairo_rectangle(c.Cr(), i * cw, 0, cw, c.Height());
        cairo_clip(c.Cr());
        Medal(c, i * cw, cw, c.Height(), glyph, color);
        cairo_restore(c.Cr());
    }
}

void DrawStrip(Generator& g, const RecipeLine& r, Canvas& c)
{
    if (r.Get("shape") == "medals")
    {
        DrawMedals(r, c);
        return;
    }
    int cols = static_cast<int>(r.Number("cols", 1));
    double cw = static_cast<double>(c.Width()) / cols, h = c.Height();
    std::string shape = r.Get("shape");
    cairo_t* cr = c.Cr();
    for (int i = 0; i < cols; ++i)
    {
        double x0 = i * cw, cx = x0 + cw / 2, t = cols > 1 ? i / (cols - 1.0) : 0;
        cairo_save(cr);
        cairo_rectangle(cr, x0, 0, cw, h);
        cairo_clip(cr);
        if (shape == "puff")
        {
            Rgb color = RgbOr(r.Get("color"), {0.9, 0.9, 0.92});
            Puff(c, cx, h * (0.65 - 0.2 * t), std::min(cw, h) * (0.25 + 0.15 * t), color, 0.9 - 0.5 * t);
        }
        else if (shape == "cloud")
        {
            // Storm cloud over an angry customer: cel 2 is the darkest with a bolt, cel 0 the lightest. A dark
            // rim drawn under the fill outlines the whole cloud, never the puffs inside it.
            Rgb color = Rgb{0.42, 0.42, 0.5}.Darker(0.22 * i);
            double rad = std::min(cw * 0.4, h * 0.5);
            double cy = h * 0.4;
            auto puffs = [&]() {
                for (int k = 0; k < 5; ++k)
                {
                    double a = k * 2 * M_PI / 5;
                    c.Ellipse(cx + std::cos(a) * rad * 0.5, cy + std::sin(a) * rad * 0.4, rad * 0.55, rad * 0.5);
                }
            };
            puffs();
            c.StrokePath(Rgb{1, 1, 1, 0.9}, 7);
            puffs();
            c.StrokePath(Rgb{0.08, 0.06, 0.12}, 4);
            puffs();
            c.FillPath(color);
            // Rain under the lighter cels, a bolt under the darker ones.
            for (int k = -1; k <= 1; ++k)
            {
                cairo_move_to(cr, cx + k * rad * 0.5, cy + rad * 0.8);
                cairo_line_to(cr, cx + k * rad * 0.5 - 4, cy + rad * 0.8 + 9);
            }
            c.StrokePath(Rgb{0.35, 0.6, 0.95}, 2.5);
            if (i >= 1)
            {
                double bx = cx, by = cy + rad * 0.3, bh = h - 2 - by;
                cairo_move_to(cr, bx + 4, by);
                cairo_line_to(cr, bx - 10, by + bh * 0.6);
                cairo_line_to(cr, bx + 1, by + bh * 0.52);
                cairo_line_to(cr, bx - 6, by + bh);
                cairo_line_to(cr, bx + 13, by + bh * 0.38);
                cairo_line_to(cr, bx + 2, by + bh * 0.45);
                cairo_close_path(cr);
                c.FillStroke(Rgb{1, 0.86, 0.2}, Rgb{0.3, 0.15, 0.0}, 2);
            }
        }
        else if (shape == "explosion")
        {
            // The customer storms off in a burst: a starburst flash, then a dust cloud that swells and fades.
            if (t < 0.5)
            {
                Star(c, cx, h * 0.55, 56 - 10 * t, 0.55);
                c.FillStroke(Rgb{0.98, 0.55, 0.2, 1 - 1.6 * t}, Rgb{0.7, 0.2, 0.1, 1 - 1.6 * t}, 2);
            }
            double rad = 30 + 16 * t;
            Puff(c, cx, h * 0.58, rad * 1.3, Rgb{0.88, 0.84, 0.8}, 1 - 0.75 * t);
            for (int k = 0; k < 5; ++k)
            {
                double a = k * 2 * M_PI / 5 + t;
                Star(c, cx + std::cos(a) * (rad + 10), h * 0.55 + std::sin(a) * (rad + 6), 7, 0.45);
                c.FillStroke(g.UiColor("gold").WithAlpha(1 - 0.7 * t), Rgb{0.6, 0.35, 0.05, 1 - 0.7 * t}, 1);
            }
        }
        else if (shape == "lights")
        {
            // Christmas lights along a wavy wire; the two cels swap which bulbs glow.
            cairo_move_to(cr, x0, 8);
            for (double x = 0; x <= cw; x += 10)
                cairo_line_to(cr, x0 + x, 8 + 5 * std::sin(x / cw * 6 * M_PI));
            c.StrokePath(Rgb{0.15, 0.35, 0.15}, 2);
            const Rgb bulbs[] = {{0.95, 0.25, 0.25}, {0.98, 0.8, 0.2}, {0.25, 0.7, 0.95}, {0.35, 0.85, 0.35}};
            int k = 0;
            for (double x = 12; x < cw; x += 24, ++k)
            {
                bool lit = (k + i) % 2 == 0;
                double by = 8 + 5 * std::sin(x / cw * 6 * M_PI) + 10;
                if (lit)
                {
                    c.Ellipse(x0 + x, by, 10, 10);
                    c.FillPath(bulbs[k % 4].WithAlpha(0.3));
                }
                c.Ellipse(x0 + x, by, 4.5, 6.5);
                c.FillStroke(lit ? bulbs[k % 4].Lighter(0.3) : bulbs[k % 4].Darker(0.35), Rgb{0.2, 0.2, 0.2}, 1);
            }
        }
        else if (shape == "hammer")
        {
            double angle = -0.9 + 1.2 * std::sin(t * M_PI);
            cairo_translate(cr, cx - 6, h - 6);
            cairo_rotate(cr, angle);
            cairo_rectangle(cr, -2.5, -34, 5, 34);
            c.FillStroke(Rgb{0.7, 0.5, 0.3}, Rgb{0.35, 0.22, 0.1}, 1.2);
            cairo_rectangle(cr, -9, -40, 18, 9);
            c.FillStroke(Rgb{0.55, 0.57, 0.62}, Rgb{0.25, 0.25, 0.3}, 1.2);
        }
        else if (shape == "saw")
        {
            double dx = 8 * std::sin(t * 2 * M_PI);
            cairo_move_to(cr, x0 + 4 + dx, h * 0.35);
            cairo_line_to(cr, x0 + cw - 12 + dx, h * 0.35);
            for (double x = cw - 12; x > 4; x -= 5)
            {
                cairo_line_to(cr, x0 + x + dx - 2.5, h * 0.62);
                cairo_line_to(cr, x0 + x + dx - 5, h * 0.55);
            }
            cairo_close_path(cr);
            c.FillStroke(Rgb{0.78, 0.8, 0.84}, Rgb{0.3, 0.3, 0.35}, 1.2);
            c.RoundRect(x0 + cw - 16 + dx, h * 0.25, 12, 18, 4);
            c.FillStroke(Rgb{0.8, 0.3, 0.25}, Rgb{0.4, 0.1, 0.1}, 1.2);
            if (i % 2 == 0)
                Puff(c, x0 + cw * 0.4, h * 0.85, 6, Rgb{0.85, 0.75, 0.55}, 0.8);
        }
        else if (shape == "opensign")
        {
            // A hanging sign that flips from "Closed" to "Open": the last cel reads "Open".
            double flip = std::cos(t * M_PI); // 1 closed facing, -1 open facing
            double sw = (cw - 30) * std::max(0.08, std::fabs(flip));
            cairo_move_to(cr, cx - 40, 2);
            cairo_line_to(cr, cx - sw / 2 + 10, 30);
            cairo_move_to(cr, cx + 40, 2);
            cairo_line_to(cr, cx + sw / 2 - 10, 30);
            c.StrokePath(Rgb{0.35, 0.3, 0.3}, 2.5);
            bool open = flip < 0;
            Rgb color = open ? g.UiColor("mint") : g.UiColor("berry");
            c.RoundRect(cx - sw / 2, 28, sw, h - 34, 12);
            c.FillStroke(color, color.Darker(0.45), 3);
            if (std::fabs(flip) > 0.5)
            {
                cairo_save(cr);
                cairo_translate(cr, cx, 0);
                cairo_scale(cr, std::fabs(flip), 1);
                Rgb outline = color.Darker(0.5);
                c.TextCentered(open ? "Open" : "Closed", 0, 28 + (h - 34) / 2, (h - 34) * 0.5, FontFace::SansBold,
                               kWhite, &outline, 3);
                cairo_restore(cr);
            }
        }
        cairo_restore(cr);
    }
}

// --- Icons -----------------------------------------------------------------------------------------------

void DrawIcon(Generator& g, const RecipeLine& r, Canvas& c)
{
    double w = c.Width(), h = c.Height();
    std::string shape = r.Get("shape");
    cairo_t* cr = c.Cr();
    Rgb ink = g.UiColor("ink");
    if (shape == "badge")
    {
        Rgb color = RgbOr(r.Get("color"), g.UiColor("mint"));
        c.Ellipse(w / 2, h / 2, w / 2 - 2, h / 2 - 2);
        c.FillStroke(color, color.Darker(0.45), 2.5);
        std::string mark = r.Get("mark");
        if (mark == "check")
        {
            cairo_move_to(cr, w * 0.28, h * 0.52);
            cairo_line_to(cr, w * 0.45, h * 0.7);
            cairo_line_to(cr, w * 0.74, h * 0.3);
            c.StrokePath(kWhite, 4.5);
        }
        else if (mark == "cross")
        {
            // The mark of a wrong answer: a white X on the badge.
            cairo_move_to(cr, w * 0.32, h * 0.32);
            cairo_line_to(cr, w * 0.68, h * 0.68);
            cairo_move_to(cr, w * 0.68, h * 0.32);
            cairo_line_to(cr, w * 0.32, h * 0.68);
            c.StrokePath(kWhite, w * 0.1);
        }
        else if (mark == "star")
        {
            Star(c, w / 2, h / 2 + 1, w * 0.32, 0.45);
            c.FillStroke(kWhite, color.Darker(0.5), 1.5);
        }
        else if (mark == "card")
        {
            c.RoundRect(w * 0.3, h * 0.24, w * 0.4, h * 0.52, 3);
            c.FillStroke(kWhite, color.Darker(0.5), 1.5);
            Heart(c, w / 2, h / 2, w * 0.1);
            c.FillPath(color);
        }
        else
        {
            c.Ellipse(w / 2, h / 2, w * 0.12, h * 0.12);
            c.FillPath(kWhite.WithAlpha(0.8));
        }
    }
    else if (shape == "handbook")
    {
        std::string state = r.Get("state", "up");
        Rgb fill, edge;
        double dy;
        StateColors(state, g.UiColor("berry"), fill, edge, dy);
        c.RoundRect(8, 6 + dy, w - 16, h - 14, 6);
        c.FillStroke(fill, edge, 2.5);
        cairo_rectangle(cr, w - 18, 10 + dy, 6, h - 22);
        c.FillPath(g.UiColor("paper"));
        c.Ellipse(w / 2 - 3, h * 0.4 + dy, 7, 7);
        c.FillPath(g.UiColor("paper"));
        c.RoundRect(w / 2 - 14, h * 0.52 + dy, 22, 12, 6);
        c.FillPath(g.UiColor("paper"));
    }
    else if (shape == "marker")
    {
        // Map pin with Prella's face colours; its bottom point is the marker position.
        cairo_move_to(cr, w / 2, h - 1);
        cairo_curve_to(cr, w / 2 - 6, h - 20, 2, h * 0.55, 2, w / 2);
        cairo_arc(cr, w / 2, w / 2, w / 2 - 2, M_PI, 2 * M_PI);
        cairo_curve_to(cr, w - 2, h * 0.55, w / 2 + 6, h - 20, w / 2, h - 1);
        c.FillStroke(g.UiColor("berry"), g.UiColor("berry").Darker(0.45), 2.5);
        c.Ellipse(w / 2, w / 2, w * 0.3, w * 0.3);
        c.FillPath(Rgb{0.98, 0.84, 0.7});
        cairo_arc(cr, w / 2, w / 2 - 1, w * 0.31, M_PI, 2 * M_PI);
        c.FillPath(Rgb{0.85, 0.45, 0.2});
        c.Ellipse(w / 2 - 4, w / 2 + 2, 1.6, 1.6);
        c.Ellipse(w / 2 + 4, w / 2 + 2, 1.6, 1.6);
        c.FillPath(ink);
    }
    else if (shape == "portrait")
    {
        const RecipeLine* look = g.LookFor(r.Get("person"));
        c.RoundRect(4, 4, w - 8, h - 8, 18);
        c.FillStroke(g.UiColor("cream").Darker(0.04), g.UiColor("plum"), 4);
        cairo_save(cr);
        c.RoundRect(8, 8, w - 16, h - 16, 14);
        cairo_clip(cr);
        if (look)
            DrawFigureFront(c, *look, w / 2, h * 1.55, 2.1, Expression::Happy);
        cairo_restore(cr);
    }
    else if (shape == "register")
    {
        Rgb body{0.55, 0.58, 0.66}, dark = body.Darker(0.45);
        cairo_move_to(cr, 8, h - 4);
        cairo_line_to(cr, 14, h * 0.42);
        cairo_line_to(cr, w - 14, h * 0.42);
        cairo_line_to(cr, w - 6, h - 4);
        cairo_close_path(cr);
        c.FillStroke(body, dark, 2);
        c.RoundRect(w * 0.55, 4, w * 0.36, h * 0.36, 4);
        c.FillStroke(Rgb{0.25, 0.3, 0.28}, dark, 2);
        c.TextCentered("$", w * 0.73, h * 0.2, h * 0.26, FontFace::SansBold, Rgb{0.5, 0.95, 0.6});
        for (int row = 0; row < 2; ++row)
            for (int k = 0; k < 4; ++k)
            {
                c.RoundRect(18 + k * 10, h * 0.5 + row * 9, 7, 6, 1.5);
                c.FillPath(k == 3 ? g.UiColor("berry") : g.UiColor("cream"));
            }
        cairo_rectangle(cr, 6, h - 12, w - 12, 8);
        c.FillStroke(body.Darker(0.15), dark, 2);
    }
    else if (shape == "sign")
    {
        Rgb color = RgbOr(r.Get("color"), g.UiColor("berry"));
        cairo_move_to(cr, w / 2 - 40, 2);
        cairo_line_to(cr, 20, 30);
        cairo_move_to(cr, w / 2 + 40, 2);
        cairo_line_to(cr, w - 20, 30);
        c.StrokePath(Rgb{0.35, 0.3, 0.3}, 2.5);
        c.RoundRect(10, 28, w - 20, h - 34, 12);
        c.FillStroke(color, color.Darker(0.45), 3);
        Rgb outline = color.Darker(0.5);
        c.TextCentered(r.Get("label"), w / 2, 28 + (h - 34) / 2, (h - 34) * 0.5, FontFace::SansBold, kWhite, &outline,
                       3);
    }
    else if (shape == "shadow")
    {
        cairo_pattern_t* p = cairo_pattern_create_radial(w / 2, h / 2, 0, w / 2, h / 2, w / 2);
        cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.35);
        cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
        cairo_save(cr);
        cairo_translate(cr, 0, h / 2);
        cairo_scale(cr, 1, h / w);
        cairo_translate(cr, 0, -h / 2);
        cairo_set_source(cr, p);
        cairo_arc(cr, w / 2, h / 2, w / 2, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_pattern_destroy(p);
    }
    else if (shape == "hanger")
    {
        cairo_arc(cr, w / 2, 10, 5, M_PI, 2.4 * M_PI);
        cairo_move_to(cr, w / 2, 15);
        cairo_line_to(cr, 4, 30);
        cairo_line_to(cr, w - 4, 30);
        cairo_close_path(cr);
        c.StrokePath(Rgb{0.45, 0.45, 0.5}, 2.5);
    }
    else if (shape == "giftbag" || shape == "gift")
    {
        bool bag = shape == "giftbag";
        Rgb color = bag ? g.UiColor("berry") : g.UiColor("mint");
        double top = bag ? h * 0.3 : h * 0.3;
        if (bag)
        {
            cairo_arc(cr, w / 2, top, w * 0.2, M_PI, 2 * M_PI);
            c.StrokePath(color.Darker(0.4), 2.5);
        }
        c.RoundRect(3, top, w - 6, h - top - 2, 3);
        c.FillStroke(color, color.Darker(0.45), 2);
        cairo_rectangle(cr, w / 2 - 2.5, top, 5, h - top - 2);
        c.FillPath(g.UiColor("gold"));
        if (!bag)
        {
            cairo_rectangle(cr, 3, top + (h - top) / 2 - 2.5, w - 6, 5);
            c.FillPath(g.UiColor("gold"));
            c.Ellipse(w / 2 - 5, top - 3, 5, 3.5);
            c.Ellipse(w / 2 + 5, top - 3, 5, 3.5);
            c.FillStroke(g.UiColor("gold"), Rgb{0.6, 0.35, 0.05}, 1.2);
        }
        else
        {
            c.Ellipse(w / 2, top + 8, 6, 4);
            c.FillStroke(g.UiColor("gold"), Rgb{0.6, 0.35, 0.05}, 1.2);
        }
    }
    else if (shape == "giftwrap")
    {
        // Gift-wrap station: a small table with paper roll and a wrapped present; its point (725,220) lies inside.
        Rgb wood{0.66, 0.47, 0.32};
        c.RoundRect(6, h * 0.45, w - 12, 14, 4);
        c.FillStroke(wood.Lighter(0.15), wood.Darker(0.4), 2);
        cairo_rectangle(cr, 12, h * 0.45 + 14, w - 24, h * 0.55 - 16);
        c.FillStroke(wood, wood.Darker(0.4), 2);
        c.Ellipse(28, h * 0.34, 14, 10);
        c.FillStroke(g.UiColor("berry"), g.UiColor("berry").Darker(0.4), 2);
        cairo_rectangle(cr, 14, h * 0.34 - 10, 56, 20);
        c.FillStroke(g.UiColor("berry").Lighter(0.1), g.UiColor("berry").Darker(0.4), 2);
        c.RoundRect(48, h * 0.12, 30, 26, 3);
        c.FillStroke(g.UiColor("mint"), g.UiColor("mint").Darker(0.45), 2);
        cairo_rectangle(cr, 61, h * 0.12, 4, 26);
        c.FillPath(g.UiColor("gold"));
    }
    else if (shape == "paper")
    {
        c.Ellipse(10, h / 2, 8, h / 2 - 2);
        c.FillStroke(g.UiColor("berry"), g.UiColor("berry").Darker(0.4), 1.5);
        cairo_rectangle(cr, 10, 2, w - 14, h - 4);
        c.FillStroke(g.UiColor("berry").Lighter(0.1), g.UiColor("berry").Darker(0.4), 1.5);
        for (double x = 18; x < w - 6; x += 10)
        {
            Heart(c, x, h / 2, 3);
            c.FillPath(g.UiColor("cream"));
        }
    }
    else if (shape == "meter")
    {
        // The patience meter over a customer: one heart that fills from the bottom, a quarter per heart. A white
        // halo and a dark rim keep it readable over any floor or garment; the empty heart is dark with quarter
        // marks, so a half-full heart reads as "two left" at a glance.
        double s = std::min(w, h) * 0.44;
        double cx = w / 2, cy = h / 2 + 1;
        Heart(c, cx, cy, s);
        c.StrokePath(Rgb{1, 1, 1, 0.95}, 5);
        Heart(c, cx, cy, s);
        if (r.Get("fill") == "1")
        {
            c.FillPath(Rgb{0.96, 0.1, 0.22});
            c.Ellipse(cx - s * 0.45, cy - s * 0.35, s * 0.22, s * 0.14);
            c.FillPath(Rgb{1, 0.75, 0.8, 0.9});
        }
        else
        {
            c.FillPath(Rgb{0.22, 0.17, 0.26});
            for (int q = 1; q < 4; ++q)
            {
                double y = cy - s * 0.9 + (s * 1.8) * q / 4.0;
                cairo_move_to(cr, cx - s * 1.1, y);
                cairo_line_to(cr, cx + s * 1.1, y);
            }
            cairo_save(cr);
            Heart(c, cx, cy, s);
            cairo_clip(cr);
            c.StrokePath(Rgb{0.55, 0.5, 0.6}, 1);
            cairo_restore(cr);
        }
        Heart(c, cx, cy, s);
        c.StrokePath(Rgb{0.18, 0.02, 0.08}, 2);
    }
    else if (shape == "heart")
    {
        Heart(c, w / 2, h / 2 + 1, std::min(w, h) * 0.45);
        if (r.Get("fill") == "1")
            c.FillStroke(Rgb{0.9, 0.2, 0.35}, Rgb{0.5, 0.05, 0.15}, 1.5);
        else
            c.FillStroke(Rgb{0.85, 0.82, 0.86, 0.8}, Rgb{0.45, 0.4, 0.45}, 1.5);
    }
    else if (shape == "cashicon")
    {
        c.RoundRect(8, h * 0.3, w - 24, h * 0.42, 5);
        c.FillStroke(Rgb{0.55, 0.8, 0.5}, Rgb{0.2, 0.4, 0.2}, 2);
        c.Ellipse(w / 2 - 8, h * 0.51, 8, 8);
        c.StrokePath(Rgb{0.2, 0.4, 0.2}, 1.5);
        Coin(c, w * 0.66, h * 0.66, w * 0.2);
    }
    else if (shape == "clock")
    {
        // Alarm clock whose lower face carries the time the HUD writes at baseline 569 (the month covers the top).
        double rad = std::min(w, h) / 2 - 4;
        for (int side = -1; side <= 1; side += 2)
        {
            c.Ellipse(w / 2 + side * rad * 0.7, h / 2 - rad * 0.8, rad * 0.28, rad * 0.22);
            c.FillStroke(g.UiColor("gold"), g.UiColor("ink"), 2);
        }
        c.Ellipse(w / 2, h / 2, rad, rad);
        c.FillStroke(g.UiColor("plum"), g.UiColor("gold"), 4);
        for (int k = 0; k < 12; ++k)
        {
            double a = k * M_PI / 6;
            cairo_move_to(cr, w / 2 + std::cos(a) * rad * 0.8, h / 2 + std::sin(a) * rad * 0.8);
            cairo_line_to(cr, w / 2 + std::cos(a) * rad * 0.9, h / 2 + std::sin(a) * rad * 0.9);
        }
        c.StrokePath(g.UiColor("cream"), 2);
    }
    else if (shape == "jar")
    {
        double level = r.Number("level", 0);
        double top = h * 0.22, bottom = h - 4;
        c.RoundRect(w * 0.28, 4, w * 0.44, h * 0.14, 3);
        c.FillStroke(g.UiColor("gold"), Rgb{0.55, 0.35, 0.05}, 2);
        if (level > 0)
        {
            double fillTop = bottom - (bottom - top - 6) * level;
            cairo_save(cr);
            c.RoundRect(w * 0.16 + 3, top + 3, w * 0.68 - 6, bottom - top - 6, 10);
            cairo_clip(cr);
            for (int k = 0; fillTop + k * 8 < bottom; ++k)
                for (int j = 0; j < 3; ++j)
                {
                    c.Ellipse(w * 0.3 + j * w * 0.2 + (k % 2) * 6, bottom - k * 8 - 4, 9, 4);
                    c.FillStroke(Rgb{0.96, 0.75, 0.22}, Rgb{0.6, 0.4, 0.05}, 1);
                }
            cairo_restore(cr);
        }
        c.RoundRect(w * 0.16, top, w * 0.68, bottom - top, 12);
        c.FillStroke(Rgb{0.8, 0.92, 0.97, 0.35}, Rgb{0.35, 0.5, 0.6}, 2.5);
        cairo_move_to(cr, w * 0.26, top + 10);
        cairo_line_to(cr, w * 0.26, bottom - 12);
        c.StrokePath(kWhite.WithAlpha(0.6), 3);
    }
    else if (shape == "lives")
    {
        // Heart on the left; the lives count is written right-aligned on the plate at its right.
        c.RoundRect(18, 10, w - 22, h - 16, 12);
        c.FillStroke(g.UiColor("plum").WithAlpha(0.9), g.UiColor("cream"), 2);
        Heart(c, h * 0.42, h / 2, h * 0.4);
        c.FillStroke(Rgb{0.9, 0.2, 0.35}, Rgb{0.5, 0.05, 0.15}, 2);
    }
    else if (shape == "coin")
        Coin(c, w / 2, h / 2, std::min(w, h) / 2 - 3);
    else if (shape == "tag")
    {
        Rgb color = RgbOr(r.Get("color"), g.UiColor("gold"));
        if (r.Get("hover") == "1")
            color = color.Lighter(0.3);
        cairo_move_to(cr, 2, h / 2);
        cairo_line_to(cr, 14, 2);
        cairo_line_to(cr, w - 2, 2);
        cairo_line_to(cr, w - 2, h - 2);
        cairo_line_to(cr, 14, h - 2);
        cairo_close_path(cr);
        c.FillStroke(color, color.Darker(0.5), 2);
        c.Ellipse(11, h / 2, 3, 3);
        c.FillPath(kWhite);
        Rgb outline = color.Darker(0.55);
        double size = FitSize(c, r.Get("label"), h * 0.55, w - 24, FontFace::SansBold);
        c.TextCentered(r.Get("label"), (w + 14) / 2, h / 2, size, FontFace::SansBold, kWhite, &outline, 3);
    }
    else if (shape == "outofstock")
    {
        c.RoundRect(4, h * 0.35, w - 8, h * 0.55, 4);
        c.FillStroke(Rgb{0.85, 0.78, 0.66}, Rgb{0.5, 0.4, 0.3}, 1.5);
        cairo_move_to(cr, 4, h * 0.35);
        cairo_line_to(cr, w / 2, h * 0.55);
        cairo_line_to(cr, w - 4, h * 0.35);
        c.StrokePath(Rgb{0.5, 0.4, 0.3}, 1.5);
        cairo_rectangle(cr, 8, h * 0.5, w - 16, 10);
        c.FillPath(Rgb{0.85, 0.25, 0.25, 0.85});
    }
    else if (shape == "pricesign")
    {
        bool table = r.Get("table") == "1";
        if (!table)
        {
            cairo_move_to(cr, w / 2, 0);
            cairo_line_to(cr, w / 2, 8);
            c.StrokePath(Rgb{0.4, 0.4, 0.45}, 2);
        }
        c.RoundRect(3, table ? 3 : 7, w - 6, h - (table ? 6 : 10), 6);
        c.FillStroke(g.UiColor("paper"), g.UiColor("plum"), 2);
    }
    else if (shape == "bubble")
    {
        c.RoundRect(1, 1, w - 2, w - 2, 8);
        cairo_move_to(cr, w * 0.3, w - 3);
        cairo_line_to(cr, w * 0.2, h - 1);
        cairo_line_to(cr, w * 0.55, w - 3);
        c.FillStroke(kWhite, ink, 1.5);
    }
    else if (shape == "tabletag")
    {
        c.RoundRect(3, 6, w - 6, h - 9, 6);
        c.FillStroke(g.UiColor("paper"), g.UiColor("berry"), 2);
        c.Ellipse(w / 2, 7, 3, 3);
        c.FillPath(g.UiColor("berry"));
    }
}

} // namespace

bool DrawUiImage(Generator& gen, const RecipeLine& recipe, Canvas& canvas)
{
    static const std::map<std::string, Drawer> drawers = {
        {"button", DrawButton},      {"panel", DrawPanel},         {"banner", DrawBanner},
        {"text", DrawText},          {"cursor", DrawCursor},       {"icon", DrawIcon},
        {"arrow", DrawArrow},        {"checkbox", DrawCheckbox},   {"slider", DrawSlider},
        {"iris", DrawIris},          {"mannequin", DrawMannequin}, {"month", DrawMonth},
        {"numbers", DrawNumberCels}, {"timer", DrawTimer},         {"bar", DrawBar},
        {"logo", DrawLogo},          {"letter", DrawLetter},       {"ball", DrawBall},
        {"trail", DrawTrail},        {"trademark", DrawTrademark}, {"scene", DrawScenePicture},
        {"strip", DrawStrip}};
    // Shapes are checked up front so a typo in the recipes fails loudly instead of drawing an empty picture.
    static const std::map<std::string, std::set<std::string>> shapes = {
        {"icon", {"badge",   "handbook", "marker",   "portrait",   "register",  "sign",     "shadow",  "hanger",
                  "giftbag", "gift",     "giftwrap", "paper",      "heart",     "meter",     "cashicon", "clock",   "jar",
                  "lives",   "coin",     "tag",      "outofstock", "pricesign", "bubble",   "tabletag"}},
        {"strip", {"puff", "cloud", "explosion", "lights", "hammer", "saw", "opensign", "medals"}},
        {"cursor", {"arrow", "hand", "grab", "beam"}}};
    auto it = drawers.find(recipe.words[2]);
    if (it == drawers.end())
        return false;
    auto known = shapes.find(recipe.words[2]);
    if (known != shapes.end() && !known->second.count(recipe.Get("shape")))
        return false;
    it->second(gen, recipe, canvas);
    return true;
}

} // namespace ContentGen
