// Full-screen pictures: title street, menu rooms, the town map, comic pages and the splash cards.
#include "tools/contentgen/Generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace ContentGen
{

namespace
{
const Rgb kEdge{0.25, 0.17, 0.16};

void Sky(Canvas& c, const Rgb& top, const Rgb& bottom, double h)
{
    cairo_rectangle(c.Cr(), 0, 0, c.Width(), h);
    c.FillGradient(top, bottom, 0, h);
}

void Cloud(Canvas& c, double x, double y, double s)
{
    c.Ellipse(x, y, 30 * s, 14 * s);
    c.Ellipse(x - 22 * s, y + 4 * s, 18 * s, 10 * s);
    c.Ellipse(x + 24 * s, y + 5 * s, 20 * s, 10 * s);
    c.Ellipse(x + 4 * s, y - 8 * s, 18 * s, 12 * s);
    c.FillPath({1, 1, 1, 0.9});
}

void Tree(Canvas& c, double x, double base, double s)
{
    cairo_rectangle(c.Cr(), x - 4 * s, base - 40 * s, 8 * s, 40 * s);
    c.FillStroke({0.5, 0.34, 0.2}, kEdge, 1.5);
    c.Ellipse(x, base - 58 * s, 26 * s, 28 * s);
    c.FillStroke({0.35, 0.66, 0.36}, {0.2, 0.4, 0.2}, 2);
    c.Ellipse(x - 8 * s, base - 66 * s, 9 * s, 7 * s);
    c.FillPath({1, 1, 1, 0.18});
}

// One shop front in a store's palette; used by the title street and the comics.
void ShopFront(Canvas& c, const Palette& p, double x, double y, double w, double h, const std::string& name)
{
    cairo_t* cr = c.Cr();
    cairo_rectangle(cr, x, y, w, h);
    c.FillStroke(p.wall, kEdge, 2.5);
    cairo_rectangle(cr, x - 6, y - 14, w + 12, 16);
    c.FillStroke(p.wood, kEdge, 2);
    // Striped awning over the window.
    cairo_move_to(cr, x - 4, y + 48);
    cairo_line_to(cr, x + w + 4, y + 48);
    cairo_line_to(cr, x + w - 6, y + 20);
    cairo_line_to(cr, x + 6, y + 20);
    cairo_close_path(cr);
    c.FillStroke(p.accent, kEdge, 2);
    for (double sx = x + 6; sx < x + w - 6; sx += 24)
    {
        cairo_move_to(cr, sx + 6, y + 20);
        cairo_line_to(cr, sx + 2, y + 48);
    }
    c.StrokePath(p.trim.WithAlpha(0.85), 9);
    c.RoundRect(x + 12, y + 2, w - 24, 16, 4);
    c.FillStroke(p.trim, kEdge, 1.5);
    double size = 13;
    while (size > 7 && c.TextWidth(name, size, FontFace::SansBold) > w - 32)
        size -= 0.5;
    c.TextCentered(name, x + w / 2, y + 10, size, FontFace::SansBold, p.accent.Darker(0.3));
    cairo_rectangle(cr, x + 10, y + 58, w * 0.55, h - 70);
    c.FillStroke({0.78, 0.9, 0.97}, kEdge, 2);
    // A dress on a stand in the window.
    c.Ellipse(x + 10 + w * 0.275, y + 72, 5, 5);
    c.FillPath({0.93, 0.88, 0.8});
    cairo_move_to(cr, x + 10 + w * 0.275 - 9, y + 78);
    cairo_line_to(cr, x + 10 + w * 0.275 + 9, y + 78);
    cairo_line_to(cr, x + 10 + w * 0.275 + 16, y + h - 24);
    cairo_line_to(cr, x + 10 + w * 0.275 - 16, y + h - 24);
    cairo_close_path(cr);
    c.FillStroke(p.accent2, kEdge, 1.5);
    cairo_rectangle(cr, x + w * 0.7, y + 58, w * 0.24, h - 58);
    c.FillStroke(p.wood, kEdge, 2);
    c.Ellipse(x + w * 0.7 + 6, y + 58 + (h - 58) / 2, 2.5, 2.5);
    c.FillPath({0.95, 0.8, 0.3});
}

void Street(Generator& g, Canvas& c)
{
    Sky(c, {0.55, 0.8, 0.96}, {0.88, 0.95, 1}, 600);
    Cloud(c, 140, 70, 1.2);
    Cloud(c, 620, 50, 0.9);
    Cloud(c, 420, 110, 0.7);
    const std::vector<StoreData>& stores = g.Stores();
    int n = std::max<int>(5, static_cast<int>(stores.size()));
    double w = 800.0 / n;
    for (int i = 0; i < n; ++i)
    {
        std::string name = i < static_cast<int>(stores.size()) ? stores[i].name : "";
        ShopFront(c, g.PaletteByNumber(i + 1), i * w + 8, 300 + (i % 2) * 14, w - 16, 190 - (i % 2) * 14, name);
    }
    cairo_rectangle(c.Cr(), 0, 490, 800, 110);
    c.FillPath({0.8, 0.78, 0.76});
    for (double x = 0; x < 800; x += 50)
    {
        cairo_rectangle(c.Cr(), x, 490, 48, 28);
        c.FillPath({0.86, 0.84, 0.82});
    }
    cairo_rectangle(c.Cr(), 0, 540, 800, 60);
    c.FillPath({0.45, 0.45, 0.5});
    for (double x = 20; x < 800; x += 90)
    {
        cairo_rectangle(c.Cr(), x, 566, 50, 6);
        c.FillPath({1, 1, 1, 0.8});
    }
    Tree(c, 30, 500, 1.1);
    Tree(c, 770, 500, 1.0);
}

void Room(Generator& g, Canvas& c, const Palette& p)
{
    cairo_t* cr = c.Cr();
    cairo_rectangle(cr, 0, 0, 800, 460);
    c.FillPath(p.wall);
    for (double x = 0; x < 800; x += 34)
        cairo_rectangle(cr, x, 0, 12, 460);
    c.FillPath(p.wall2);
    cairo_rectangle(cr, 0, 460, 800, 140);
    c.FillGradient(p.floor, p.floor2, 460, 600);
    cairo_rectangle(cr, 0, 452, 800, 12);
    c.FillStroke(p.trim, p.wood.Darker(0.3), 2);
    // Arched window on the left, with a clothes rail under it.
    c.RoundRect(40, 60, 230, 250, 110);
    c.FillStroke({0.78, 0.9, 0.97}, p.trim.Darker(0.2), 8);
    cairo_move_to(cr, 155, 64);
    cairo_line_to(cr, 155, 306);
    cairo_move_to(cr, 44, 190);
    cairo_line_to(cr, 266, 190);
    c.StrokePath(p.trim.Darker(0.2), 5);
    cairo_move_to(cr, 30, 340);
    cairo_line_to(cr, 290, 340);
    c.StrokePath({0.6, 0.6, 0.65}, 5);
    const Rgb colors[] = {p.accent, p.accent2, p.accent.Lighter(0.3), p.accent2.Darker(0.2), p.trim.Darker(0.1)};
    for (int k = 0; k < 6; ++k)
    {
        ClothingLook look;
        look.kind = k % 3 == 0 ? "dress" : k % 3 == 1 ? "blouse" : "coat";
        look.main = colors[k % 5];
        look.second = p.trim;
        cairo_arc(cr, 54 + k * 42, 336, 4, M_PI, 2.3 * M_PI);
        c.StrokePath({0.4, 0.4, 0.45}, 2);
        DrawGarment(c, look, 36 + k * 42, 344, 36, 80);
    }
}

void House(Canvas& c, double x, double y, const Rgb& wall, const Rgb& roof)
{
    cairo_t* cr = c.Cr();
    cairo_rectangle(cr, x, y, 40, 28);
    c.FillStroke(wall, kEdge, 1.5);
    cairo_move_to(cr, x - 5, y + 1);
    cairo_line_to(cr, x + 20, y - 16);
    cairo_line_to(cr, x + 45, y + 1);
    cairo_close_path(cr);
    c.FillStroke(roof, kEdge, 1.5);
    cairo_rectangle(cr, x + 16, y + 12, 9, 16);
    c.FillPath(roof.Darker(0.3));
}

// Town map: a road links the store plots in store order; plots sit where stores.xml puts the map icons, and the
// bottom strip is left for the map's panel.
void Map(Generator& g, Canvas& c)
{
    cairo_t* cr = c.Cr();
    cairo_rectangle(cr, 0, 0, 800, 600);
    c.FillPath({0.62, 0.82, 0.52});
    cairo_move_to(cr, 0, 40);
    cairo_curve_to(cr, 250, 10, 500, 80, 800, 30);
    cairo_line_to(cr, 800, 0);
    cairo_line_to(cr, 0, 0);
    cairo_close_path(cr);
    c.FillPath({0.5, 0.75, 0.92});
    std::vector<std::pair<double, double>> stops;
    std::vector<std::array<double, 4>> plots;
    for (const StoreData& s : g.Stores())
    {
        if (s.iconRight <= s.iconLeft)
            continue;
        // A pavement strip under the shop; the icon itself stands on it.
        plots.push_back({static_cast<double>(s.iconLeft - 10), static_cast<double>(s.iconBottom - 26),
                         static_cast<double>(s.iconRight - s.iconLeft + 20), 34.0});
        stops.push_back({(s.iconLeft + s.iconRight) / 2.0, s.iconBottom + 6.0});
    }
    // Road through the plots' front doors, smoothed with midpoint curves.
    for (int pass = 0; pass < 2 && !stops.empty(); ++pass)
    {
        cairo_move_to(cr, 0, stops.front().second);
        cairo_line_to(cr, stops.front().first, stops.front().second);
        for (size_t i = 1; i < stops.size(); ++i)
        {
            double mx = (stops[i - 1].first + stops[i].first) / 2;
            cairo_curve_to(cr, mx, stops[i - 1].second, mx, stops[i].second, stops[i].first, stops[i].second);
        }
        cairo_line_to(cr, 800, stops.back().second);
        if (pass == 0)
            c.StrokePath({0.92, 0.88, 0.78}, 30);
        else
        {
            double dashes[] = {12, 10};
            cairo_set_dash(cr, dashes, 2, 0);
            c.StrokePath({1, 1, 1, 0.9}, 3);
            cairo_set_dash(cr, nullptr, 0, 0);
        }
    }
    for (const auto& pl : plots)
    {
        c.RoundRect(pl[0], pl[1], pl[2], pl[3], 14);
        c.FillStroke({0.86, 0.82, 0.74}, {0.7, 0.64, 0.55}, 2);
    }
    // Trees and houses fill the gaps: pseudo-random spots that keep clear of plots, road stops and the title.
    unsigned seed = 2024;
    int placed = 0;
    std::vector<std::pair<double, double>> used;
    for (int tries = 0; tries < 400 && placed < 26; ++tries)
    {
        seed = seed * 1103515245u + 12345u;
        double x = 20 + (seed >> 8) % 760;
        seed = seed * 1103515245u + 12345u;
        double y = 80 + (seed >> 8) % 400;
        bool clear = !(x < 360 && y < 110);
        for (const StoreData& st : g.Stores())
            clear = clear &&
                    !(x > st.iconLeft - 30 && x < st.iconRight + 30 && y > st.iconY - 10 && y < st.iconBottom + 50);
        for (const auto& other : used)
            clear = clear && std::hypot(x - other.first, y - other.second) > 48;
        for (const auto& st : stops)
            clear = clear && std::hypot(x - st.first, y - st.second) > 60;
        if (!clear)
            continue;
        used.push_back({x, y});
        if (placed % 4 == 3)
            House(c, x - 20, y - 20, {0.98, 0.94, 0.86}, placed % 8 == 3 ? Rgb{0.8, 0.35, 0.3} : Rgb{0.4, 0.5, 0.75});
        else
            Tree(c, x, y, 0.5);
        ++placed;
    }
}

void Comic(Generator& g, Canvas& c, int page)
{
    cairo_t* cr = c.Cr();
    cairo_rectangle(cr, 0, 0, 800, 600);
    c.FillPath({0.98, 0.96, 0.92});
    const Palette& p = g.PaletteByNumber(page == 4 ? 5 : page == 3 ? 2 : 1);
    // Four panels; Prella meets her shop, her customers and her rival. The caption box along the top of each panel
    // stays empty: the game writes the page's captions into it in the player's language.
    int k = std::clamp(page, 1, 4) - 1;
    for (int i = 0; i < 4; ++i)
    {
        double x = 20 + (i % 2) * 390, y = 20 + (i / 2) * 290, w = 370, h = 270;
        cairo_save(cr);
        cairo_rectangle(cr, x, y, w, h);
        cairo_clip(cr);
        cairo_rectangle(cr, x, y, w, h);
        c.FillGradient(p.wall, p.wall2, y, y + h);
        cairo_rectangle(cr, x, y + h - 70, w, 70);
        c.FillPath(p.floor);
        if (i == 1 || (k == 2 && i == 2))
            ShopFront(c, p, x + 190, y + 90, 160, 140, "");
        const RecipeLine* prella = g.LookFor("Prella");
        const RecipeLine* other = g.LookFor(i == 1 && k >= 2 ? "Dorvie" : k == 1 ? "Lottra" : "Bastien");
        if (prella)
            DrawFigureFront(c, *prella, x + 100, y + h - 20, 1.9, i == 3 ? Expression::Happy : Expression::Smile,
                            i == 3);
        if (other && i != 0 && !(i == 1 && k < 1))
            DrawFigureFront(c, *other, x + 270, y + h - 24, 1.8,
                            (k >= 2 && i == 1) ? Expression::Angry : Expression::Smile);
        cairo_restore(cr);
        cairo_rectangle(cr, x, y, w, h);
        c.StrokePath(kEdge, 4);
        // Dark caption boxes: the game's light fonts read on them at every size.
        c.RoundRect(x + 10, y + 10, w - 20, 34, 8);
        c.FillStroke({0.36, 0.16, 0.43, 0.94}, {1.0, 0.96, 0.91}, 2);
    }
}

void Splash(Generator& g, Canvas& c, int which)
{
    Rgb top = which == 1 ? Rgb{0.36, 0.16, 0.43} : Rgb{0.16, 0.42, 0.5};
    Sky(c, top, top.Lighter(0.35), 600);
    cairo_t* cr = c.Cr();
    for (int k = 0; k < 14; ++k)
    {
        c.Ellipse(400 + 330 * std::cos(k * 0.45), 300 + 250 * std::sin(k * 0.45), 10 + k % 4 * 3, 10 + k % 4 * 3);
        c.FillPath({1, 1, 1, 0.12});
    }
    Rgb white{1, 1, 1};
    Rgb shade = top.Darker(0.4);
    if (which == 1)
    {
        // Studio card: the five letters of the studio word on a ribbon.
        c.RoundRect(160, 200, 480, 200, 40);
        c.FillStroke(top.Lighter(0.15), white.WithAlpha(0.6), 4);
        c.TextCentered("ZOLIN", 400, 290, 110, FontFace::SansBold, white, &shade, 8);
        c.TextCentered("games for bright afternoons", 400, 370, 22, FontFace::Sans, white);
    }
    else
    {
        c.TextCentered("Velmora Row", 400, 250, 84, FontFace::SerifBold, white, &shade, 8);
        c.TextCentered("Best played with a mouse and a cup of tea", 400, 350, 24, FontFace::Sans, white);
        cairo_arc(cr, 400, 440, 18, M_PI, 2.3 * M_PI);
        c.StrokePath({0.96, 0.75, 0.24}, 5);
        cairo_move_to(cr, 340, 480);
        cairo_line_to(cr, 400, 456);
        cairo_line_to(cr, 460, 480);
        cairo_close_path(cr);
        c.StrokePath({0.96, 0.75, 0.24}, 5);
    }
}

void MainMenu(Generator& g, Canvas& c)
{
    const Palette& p = g.PaletteByNumber(1);
    Room(g, c, p);
    // Prella greets the player to the right of the window; the buttons land around x 425.
    if (const RecipeLine* look = g.LookFor("Prella"))
        DrawFigureFront(c, *look, 680, 560, 3.4, Expression::Happy);
    c.RoundRect(300, 170, 250, 360, 24);
    c.FillPath(p.trim.WithAlpha(0.55));
    Rgb plum{0.36, 0.16, 0.43}, white{1, 1, 1}, cream{1.0, 0.96, 0.91};
    c.TextCentered("Velmora Row", 525, 112, 58, FontFace::SerifBold, p.accent, &white, 6);
    c.TextCentered("Velmora Row", 525, 112, 58, FontFace::SerifBold, p.accent, &plum, 2);
    // The greeting sign at the top left: the game writes the welcome (baseline 65), the player's name (baseline
    // 100) and the change-player link (from y 105) on it, in white and pink, centred on x 135.
    c.RoundRect(15, 28, 240, 104, 16);
    c.FillStroke(plum, cream, 3);
}
} // namespace

void DrawScene(Generator& gen, Canvas& c, const std::string& name, int number)
{
    if (name == "street")
        Street(gen, c);
    else if (name == "menubg")
    {
        Room(gen, c, gen.PaletteByNumber(number));
        // The right half holds the menus' popups: a soft card keeps text readable.
        c.RoundRect(340, 20, 440, 560, 30);
        c.FillPath(gen.PaletteByNumber(number).trim.WithAlpha(0.35));
    }
    else if (name == "mainmenu")
        MainMenu(gen, c);
    else if (name == "map")
        Map(gen, c);
    else if (name == "comic")
        Comic(gen, c, number);
    else
        Splash(gen, c, number);
}

} // namespace ContentGen
