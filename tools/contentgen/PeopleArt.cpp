// People: figures built from parts (legs, torso, arms, head, hair, face) in a 120 x 120 cel whose feet stand at
// (60, 112). The same parts draw the walk sheets, the one-shot animation sheet, the handbook icons and the
// figures of menus and comics.
#include "tools/contentgen/Generator.h"

#include <algorithm>
#include <cmath>

namespace ContentGen
{

namespace
{
constexpr double kFootY = 112;
constexpr double kHipY = 70;
constexpr double kShoulderY = 40;
constexpr double kHeadY = 24;
constexpr int kCel = 120;

enum class View
{
    Front,
    Back,
    Side
};

struct Look
{
    bool male = false;
    Rgb skin, hair, top, bottom, shoes, apron, eyes;
    bool hasApron = false;
    std::string hairstyle, legwear, sleeve, extra, topPattern;
    double build = 1, height = 1;
    bool Has(const std::string& what) const
    {
        size_t at = extra.find(what);
        if (at == std::string::npos)
            return false;
        size_t end = at + what.size();
        return (at == 0 || extra[at - 1] == ',') && (end == extra.size() || extra[end] == ',');
    }
};

Look ReadLook(const RecipeLine& r)
{
    Look l;
    l.male = r.Get("gender") == "male";
    l.skin = RgbOr(r.Get("skin"), {0.95, 0.8, 0.68});
    l.hair = RgbOr(r.Get("hair"), {0.4, 0.25, 0.15});
    l.top = RgbOr(r.Get("top"), {0.3, 0.5, 0.8});
    l.bottom = RgbOr(r.Get("bottom"), {0.25, 0.25, 0.35});
    l.shoes = RgbOr(r.Get("shoes"), {0.2, 0.15, 0.1});
    l.eyes = RgbOr(r.Get("eyes"), {0.2, 0.2, 0.3});
    l.hasApron = ParseRgb(r.Get("apron"), l.apron);
    l.hairstyle = r.Get("hairstyle", l.male ? "short" : "bob");
    l.legwear = r.Get("legwear", "trousers");
    l.sleeve = r.Get("sleeve", "short");
    l.extra = r.Get("extra");
    l.topPattern = r.Get("toppattern");
    l.build = std::clamp(r.Number("build", 1), 0.8, 1.3);
    l.height = std::clamp(r.Number("height", 1), 0.85, 1.1);
    return l;
}

const Rgb kLine{0.2, 0.13, 0.14};

// Body-space transform: broader or taller people are scaled around their feet.
void BodySpace(Canvas& c, const Look& l)
{
    cairo_translate(c.Cr(), 60, kFootY);
    cairo_scale(c.Cr(), l.build, l.height);
    cairo_translate(c.Cr(), -60, -kFootY);
}

void ToBody(const Look& l, double& x, double& y)
{
    x = 60 + (x - 60) / l.build;
    y = kFootY + (y - kFootY) / l.height;
}

void Limb(Canvas& c, double x0, double y0, double x1, double y1, double x2, double y2, double width, const Rgb& color)
{
    cairo_t* cr = c.Cr();
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    c.StrokePath(kLine, width + 2.4);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    c.StrokePath(color, width);
}

// --- Legs ------------------------------------------------------------------------------------------------

void Shoe(Canvas& c, const Look& l, double x, double y, double dir)
{
    if (dir == 0)
        c.Ellipse(x, y, 5.5, 3.5);
    else
        c.Ellipse(x + dir * 2.5, y, 6.5, 3.5);
    c.FillStroke(l.shoes, kLine, 1.2);
    if (l.Has("skates"))
    {
        // Roller skates: two little wheels under each shoe.
        c.Ellipse(x - 3 + dir * 2, y + 4, 1.8, 1.8);
        c.Ellipse(x + 3 + dir * 2, y + 4, 1.8, 1.8);
        c.FillStroke({0.95, 0.8, 0.2}, kLine, 0.8);
    }
    else if (l.Has("sneakers"))
    {
        cairo_move_to(c.Cr(), x - 4 + dir * 2, y + 2);
        cairo_line_to(c.Cr(), x + 4 + dir * 3, y + 2);
        c.StrokePath({0.95, 0.95, 0.95}, 1.5);
    }
}

bool CoversLegs(const Look& l)
{
    return l.legwear == "trousers" || l.legwear == "overalls";
}

Rgb LegColor(const Look& l)
{
    return CoversLegs(l) ? l.bottom : l.skin;
}

void SkirtShape(Canvas& c, const Look& l, double sway)
{
    cairo_t* cr = c.Cr();
    Rgb color = l.legwear == "dress" ? l.top : l.bottom;
    double len = l.legwear == "dress" ? 24 : 20;
    cairo_move_to(cr, 60 - 11, kHipY - 4);
    cairo_line_to(cr, 60 + 11, kHipY - 4);
    cairo_line_to(cr, 60 + 16 + sway, kHipY + len);
    cairo_line_to(cr, 60 - 16 + sway, kHipY + len);
    cairo_close_path(cr);
    c.FillStroke(color, kLine, 1.3);
}

void Shorts(Canvas& c, const Look& l, double lx, double rx)
{
    cairo_t* cr = c.Cr();
    cairo_move_to(cr, 60 - 11, kHipY - 4);
    cairo_line_to(cr, 60 + 11, kHipY - 4);
    cairo_line_to(cr, rx + 6, kHipY + 14);
    cairo_line_to(cr, 60, kHipY + 10);
    cairo_line_to(cr, lx - 6, kHipY + 14);
    cairo_close_path(cr);
    c.FillStroke(l.bottom, kLine, 1.3);
}

// One walk frame (0..7) in a view; frame < 0 draws the standing pose.
void DrawLegs(Canvas& c, const Look& l, View view, int frame)
{
    double phase = frame < 0 ? 0 : frame * 2 * M_PI / 8;
    double swing = frame < 0 ? 0 : std::sin(phase);
    Rgb leg = LegColor(l);
    double width = l.male ? 8.5 : 7.5;
    if (view == View::Side)
    {
        // Thigh and shin swing in opposite phase; the knee bends on the leg that swings forward.
        for (int k = 0; k < 2; ++k)
        {
            double s = k == 0 ? swing : -swing;
            double lift = frame < 0 ? 0 : std::max(0.0, std::cos(phase + (k ? M_PI : 0))) * 5;
            double hipX = 60, hipY = kHipY;
            double kneeX = hipX + s * 9 + 1, kneeY = kHipY + 20 - lift * 0.4;
            double footX = hipX + s * 14 - (lift > 0 ? 3 : 0), footY = kFootY - 3 - lift;
            Rgb color = k == 0 ? leg : leg.Darker(0.12);
            Limb(c, hipX, hipY, kneeX, kneeY, footX, footY, width, color);
            Shoe(c, l, footX, footY + 1, 1);
        }
        if (l.legwear == "skirt" || l.legwear == "dress")
            SkirtShape(c, l, swing * 2);
        else if (l.legwear == "shorts")
            Shorts(c, l, 56, 64);
        return;
    }
    for (int k = 0; k < 2; ++k)
    {
        double side = k == 0 ? -1 : 1;
        double s = k == 0 ? swing : -swing;
        // Seen from the front or back, the leg in its forward swing lifts its foot and looks shorter.
        double lift = frame < 0 ? 0 : std::max(0.0, s) * 5;
        double hipX = 60 + side * 6, footX = 60 + side * 7;
        double footY = kFootY - 3 - lift;
        Limb(c, hipX, kHipY, (hipX + footX) / 2, (kHipY + footY) / 2, footX, footY, width, leg);
        Shoe(c, l, footX, footY + 1, 0);
    }
    if (l.legwear == "skirt" || l.legwear == "dress")
        SkirtShape(c, l, 0);
    else if (l.legwear == "shorts")
        Shorts(c, l, 53, 67);
    else
    {
        cairo_move_to(c.Cr(), 60 - 12, kHipY - 4);
        cairo_line_to(c.Cr(), 60 + 12, kHipY - 4);
        cairo_line_to(c.Cr(), 60 + 12, kHipY + 6);
        cairo_line_to(c.Cr(), 60 - 12, kHipY + 6);
        cairo_close_path(c.Cr());
        c.FillStroke(l.bottom, kLine, 1.3);
    }
}

// --- Head ------------------------------------------------------------------------------------------------

void HairBack(Canvas& c, const Look& l, View view)
{
    cairo_t* cr = c.Cr();
    if (l.hairstyle == "long")
    {
        c.RoundRect(60 - 14, kHeadY - 8, 28, 34, 10);
        c.FillStroke(l.hair, kLine, 1.2);
    }
    else if (l.hairstyle == "ponytail" && view != View::Front)
    {
        cairo_move_to(cr, 60 + (view == View::Side ? -8 : 0), kHeadY - 4);
        cairo_curve_to(cr, 60 - 18, kHeadY + 2, 60 - 12, kHeadY + 18, 60 - 14, kHeadY + 24);
        c.StrokePath(l.hair, 7);
    }
    else if (l.hairstyle == "braids")
    {
        for (int side = -1; side <= 1; side += 2)
        {
            for (int k = 0; k < 4; ++k)
                c.Ellipse(60 + side * 12, kHeadY + 6 + k * 5, 3.2, 3);
            c.FillStroke(l.hair, kLine, 1);
        }
    }
    else if (l.hairstyle == "bob")
    {
        c.RoundRect(60 - 14, kHeadY - 10, 28, 26, 10);
        c.FillStroke(l.hair, kLine, 1.2);
    }
}

void Face(Canvas& c, const Look& l, Expression e)
{
    cairo_t* cr = c.Cr();
    double ey = kHeadY + 1;
    for (int side = -1; side <= 1; side += 2)
    {
        double ex = 60 + side * 4.5;
        if (e == Expression::Happy)
        {
            cairo_arc(cr, ex, ey + 1, 2.2, M_PI, 2 * M_PI);
            c.StrokePath(kLine, 1.5);
        }
        else
        {
            c.Ellipse(ex, ey, 1.8, 2.3);
            c.FillPath(l.eyes.Darker(0.3));
            c.Ellipse(ex + 0.5, ey - 0.8, 0.6, 0.6);
            c.FillPath({1, 1, 1});
        }
        if (e == Expression::Angry)
        {
            cairo_move_to(cr, ex - side * 3, ey - 5);
            cairo_line_to(cr, ex + side * 2.5, ey - 3);
            c.StrokePath(kLine, 1.6);
        }
    }
    if (e == Expression::Angry)
    {
        cairo_arc(cr, 60, kHeadY + 10.5, 3.5, 1.15 * M_PI, 1.85 * M_PI);
        c.StrokePath(kLine, 1.5);
        c.Ellipse(60 - 7, kHeadY + 6, 2.5, 1.5);
        c.Ellipse(60 + 7, kHeadY + 6, 2.5, 1.5);
        c.FillPath({0.9, 0.3, 0.3, 0.6});
    }
    else if (e == Expression::Happy)
    {
        cairo_move_to(cr, 60 - 4, kHeadY + 6);
        cairo_curve_to(cr, 60 - 3, kHeadY + 11, 60 + 3, kHeadY + 11, 60 + 4, kHeadY + 6);
        cairo_close_path(cr);
        c.FillStroke({0.7, 0.2, 0.25}, kLine, 1.2);
    }
    else if (e == Expression::Smile)
    {
        cairo_arc(cr, 60, kHeadY + 5, 3.5, 0.2 * M_PI, 0.8 * M_PI);
        c.StrokePath(kLine, 1.4);
    }
    else
    {
        cairo_move_to(cr, 60 - 2.5, kHeadY + 8);
        cairo_line_to(cr, 60 + 2.5, kHeadY + 8);
        c.StrokePath(kLine, 1.3);
    }
    if (e != Expression::Angry)
    {
        c.Ellipse(60 - 7.5, kHeadY + 5, 2, 1.2);
        c.Ellipse(60 + 7.5, kHeadY + 5, 2, 1.2);
        c.FillPath({0.95, 0.5, 0.5, 0.35});
    }
    if (l.Has("sunglasses"))
    {
        c.RoundRect(60 - 9, ey - 3, 8, 5.5, 2);
        c.RoundRect(60 + 1, ey - 3, 8, 5.5, 2);
        c.FillPath({0.1, 0.1, 0.15});
        cairo_move_to(cr, 60 - 1, ey - 1);
        cairo_line_to(cr, 60 + 1, ey - 1);
        c.StrokePath(kLine, 1.2);
    }
    if (l.Has("glasses"))
    {
        c.Ellipse(60 - 4.5, ey, 3.6, 3.2);
        c.Ellipse(60 + 4.5, ey, 3.6, 3.2);
        c.StrokePath(kLine, 1.2);
    }
    if (l.Has("beard"))
    {
        cairo_move_to(cr, 60 - 10, kHeadY + 2);
        cairo_curve_to(cr, 60 - 9, kHeadY + 16, 60 + 9, kHeadY + 16, 60 + 10, kHeadY + 2);
        cairo_curve_to(cr, 60 + 5, kHeadY + 8, 60 - 5, kHeadY + 8, 60 - 10, kHeadY + 2);
        c.FillStroke(l.hair.Lighter(0.1), kLine, 1);
    }
    if (l.Has("moustache"))
    {
        c.Ellipse(60 - 3, kHeadY + 5.5, 3.5, 1.6);
        c.Ellipse(60 + 3, kHeadY + 5.5, 3.5, 1.6);
        c.FillPath(l.hair.Darker(0.1));
    }
}

void HairFront(Canvas& c, const Look& l, View view)
{
    cairo_t* cr = c.Cr();
    const std::string& s = l.hairstyle;
    if (s == "bald")
    {
        c.Ellipse(60 - 11, kHeadY + 1, 3, 5);
        c.Ellipse(60 + 11, kHeadY + 1, 3, 5);
        c.FillPath(l.hair);
        return;
    }
    if (view == View::Back)
    {
        c.Ellipse(60, kHeadY - 1, 12.5, 12.5);
        c.FillStroke(l.hair, kLine, 1.2);
    }
    else
    {
        // Cap of hair over the top of the head with a fringe line.
        cairo_move_to(cr, 60 - 12.5, kHeadY + 1);
        cairo_curve_to(cr, 60 - 14, kHeadY - 16, 60 + 14, kHeadY - 16, 60 + 12.5, kHeadY + 1);
        if (s == "spiky")
        {
            for (int k = 0; k < 5; ++k)
                cairo_line_to(cr, 60 + 10 - k * 5, kHeadY - 8 - (k % 2) * 4);
        }
        else
            cairo_curve_to(cr, 60 + 6, kHeadY - 6, 60 - 6, kHeadY - 8, 60 - 12.5, kHeadY + 1);
        cairo_close_path(cr);
        c.FillStroke(l.hair, kLine, 1.2);
    }
    if (s == "bun")
    {
        c.Ellipse(60, kHeadY - 13, 6, 5);
        c.FillStroke(l.hair, kLine, 1.2);
    }
    else if (s == "curly")
    {
        for (int k = 0; k < 7; ++k)
        {
            double a = M_PI + k * M_PI / 6;
            c.Ellipse(60 + std::cos(a) * 13, kHeadY - 1 + std::sin(a) * 13, 5, 5);
        }
        c.FillStroke(l.hair, kLine, 1);
    }
    else if (s == "ponytail" && view == View::Front)
    {
        c.Ellipse(60 + 12, kHeadY - 6, 3, 3);
        c.FillPath(l.hair.Darker(0.2));
    }
    if (l.Has("bow") && view != View::Back)
    {
        c.Ellipse(60 + 6, kHeadY - 10, 4, 2.5);
        c.Ellipse(60 + 12, kHeadY - 10, 4, 2.5);
        c.FillStroke({0.95, 0.4, 0.6}, kLine, 1);
    }
}

void DrawHead(Canvas& c, const Look& l, View view, Expression e)
{
    HairBack(c, l, view);
    // Neck, ears, face.
    cairo_rectangle(c.Cr(), 60 - 3.5, kHeadY + 9, 7, 8);
    c.FillPath(l.skin.Darker(0.1));
    c.Ellipse(60 - 12, kHeadY + 1, 2.5, 3.5);
    c.Ellipse(60 + 12, kHeadY + 1, 2.5, 3.5);
    c.FillStroke(l.skin, kLine, 1);
    c.Ellipse(60, kHeadY, 12, 12.5);
    c.FillStroke(l.skin, kLine, 1.4);
    if (view != View::Back)
        Face(c, l, e);
    HairFront(c, l, view);
    cairo_t* cr = c.Cr();
    if (l.Has("cap"))
    {
        // Flat cap: a low crown and a short peak.
        cairo_move_to(cr, 60 - 13.5, kHeadY - 3);
        cairo_curve_to(cr, 60 - 13, kHeadY - 16, 60 + 13, kHeadY - 16, 60 + 13.5, kHeadY - 3);
        cairo_close_path(cr);
        c.FillStroke(Rgb{0.45, 0.4, 0.32}, kLine, 1.2);
        if (view != View::Back)
        {
            c.Ellipse(60, kHeadY - 3, 12, 2.5);
            c.FillStroke(Rgb{0.38, 0.33, 0.26}, kLine, 1);
        }
    }
    else if (l.Has("bighat"))
    {
        c.Ellipse(60, kHeadY - 7, 22, 5);
        c.FillStroke(l.top.Darker(0.25), kLine, 1.2);
        cairo_move_to(cr, 60 - 11, kHeadY - 7);
        cairo_curve_to(cr, 60 - 11, kHeadY - 17, 60 + 11, kHeadY - 17, 60 + 11, kHeadY - 7);
        cairo_close_path(cr);
        c.FillStroke(l.top.Darker(0.25), kLine, 1.2);
        cairo_rectangle(cr, 60 - 11, kHeadY - 11, 22, 3);
        c.FillPath({0.96, 0.75, 0.2});
    }
    if (l.Has("earrings") && view != View::Back)
    {
        c.Ellipse(60 - 12, kHeadY + 6, 1.6, 1.6);
        c.Ellipse(60 + 12, kHeadY + 6, 1.6, 1.6);
        c.FillPath({0.96, 0.75, 0.2});
    }
}

// --- Torso and arms --------------------------------------------------------------------------------------

void DrawBody(Canvas& c, const Look& l, View view)
{
    cairo_t* cr = c.Cr();
    double sh = l.male ? 15 : 12.5, waist = l.male ? 12 : 9.5;
    cairo_move_to(cr, 60 - sh, kShoulderY);
    cairo_curve_to(cr, 60 - sh, kShoulderY - 5, 60 + sh, kShoulderY - 5, 60 + sh, kShoulderY);
    cairo_line_to(cr, 60 + waist + 1, kHipY);
    cairo_line_to(cr, 60 - waist - 1, kHipY);
    cairo_close_path(cr);
    c.FillStroke(l.top, kLine, 1.4);
    if (l.topPattern == "striped")
    {
        for (double y = kShoulderY + 3; y < kHipY - 1; y += 6)
        {
            cairo_move_to(cr, 60 - sh + (y - kShoulderY) * 0.12, y);
            cairo_line_to(cr, 60 + sh - (y - kShoulderY) * 0.12, y);
        }
        c.StrokePath({1, 1, 1, 0.85}, 2.2);
    }
    if (l.legwear == "overalls" && view != View::Side)
    {
        cairo_rectangle(cr, 60 - 9, 52, 18, kHipY - 52 + 2);
        c.FillStroke(l.bottom, kLine, 1.2);
        cairo_move_to(cr, 60 - 8, 53);
        cairo_line_to(cr, 60 - 10, kShoulderY);
        cairo_move_to(cr, 60 + 8, 53);
        cairo_line_to(cr, 60 + 10, kShoulderY);
        c.StrokePath(l.bottom.Darker(0.1), 3);
        const Rgb paint[] = {{0.95, 0.3, 0.3}, {0.95, 0.8, 0.2}, {0.3, 0.7, 0.4}};
        for (int k = 0; k < 3; ++k)
        {
            c.Ellipse(60 - 4 + k * 4, 58 + (k % 2) * 5, 1.8, 1.5);
            c.FillPath(paint[k]);
        }
    }
    if ((l.Has("cardigan") || l.Has("blazer")) && view == View::Front)
    {
        // Open front: two panels over the shirt with a V of the top showing.
        Rgb coat = l.Has("blazer") ? l.top.Darker(0.15) : l.top.Lighter(0.25);
        for (int side = -1; side <= 1; side += 2)
        {
            cairo_move_to(cr, 60 + side * 2, kShoulderY - 2);
            cairo_line_to(cr, 60 + side * sh, kShoulderY);
            cairo_line_to(cr, 60 + side * (waist + 1), kHipY);
            cairo_line_to(cr, 60 + side * 2, kHipY);
            cairo_line_to(cr, 60 + side * 2, 54);
            cairo_close_path(cr);
            c.FillStroke(coat, kLine, 1.2);
        }
        cairo_move_to(cr, 60 - 2, kShoulderY - 2);
        cairo_line_to(cr, 60, 54);
        cairo_line_to(cr, 60 + 2, kShoulderY - 2);
        c.FillPath(l.Has("blazer") ? Rgb{1, 1, 1} : l.top.Darker(0.1));
    }
    if (view == View::Front && l.hasApron)
    {
        cairo_move_to(cr, 60 - 8, kShoulderY + 2);
        cairo_line_to(cr, 60 + 8, kShoulderY + 2);
        cairo_line_to(cr, 60 + 11, kHipY + 6);
        cairo_line_to(cr, 60 - 11, kHipY + 6);
        cairo_close_path(cr);
        c.FillStroke(l.apron, kLine, 1.2);
        c.RoundRect(60 - 5, 58, 10, 7, 2);
        c.StrokePath(l.apron.Darker(0.35), 1);
    }
    else if (view == View::Back && l.hasApron)
    {
        cairo_move_to(cr, 60 - 10, 62);
        cairo_line_to(cr, 60 + 10, 62);
        c.StrokePath(l.apron, 3);
    }
    if (l.Has("scarf") && view != View::Back)
    {
        c.RoundRect(60 - 9, kShoulderY - 5, 18, 6, 3);
        c.FillStroke({0.95, 0.75, 0.25}, kLine, 1);
        cairo_rectangle(cr, 60 + 3, kShoulderY, 5, 14);
        c.FillStroke({0.95, 0.75, 0.25}, kLine, 1);
    }
    else if (view == View::Front && !l.hasApron)
    {
        // Collar notch gives the shirt a front.
        cairo_move_to(cr, 60 - 4, kShoulderY - 3);
        cairo_line_to(cr, 60, kShoulderY + 3);
        cairo_line_to(cr, 60 + 4, kShoulderY - 3);
        c.StrokePath(l.top.Darker(0.3), 1.3);
    }
}

void Arm(Canvas& c, const Look& l, double side, double hx, double hy)
{
    double sx = 60 + side * (l.male ? 14 : 11.5), sy = kShoulderY + 1;
    double ex = (sx + hx) / 2 + side * 3, ey = (sy + hy) / 2 + 2;
    Rgb sleeve = l.top.Darker(0.05);
    if (l.sleeve == "long" || l.Has("cardigan") || l.Has("blazer"))
        Limb(c, sx, sy, ex, ey, hx, hy, 6.5, (l.Has("cardigan") || l.Has("blazer")) ? l.top.Lighter(0.2) : sleeve);
    else if (l.sleeve == "rolled")
    {
        Limb(c, sx, sy, ex, ey, hx, hy, 5.5, l.skin);
        Limb(c, sx, sy, ex, ey, ex + (hx - ex) * 0.05, ey + (hy - ey) * 0.05, 7, sleeve);
    }
    else
    {
        Limb(c, sx, sy, ex, ey, hx, hy, 5.5, l.skin);
        Limb(c, sx, sy, sx + (ex - sx) * 0.55, sy + (ey - sy) * 0.55, sx + (ex - sx) * 0.56, sy + (ey - sy) * 0.56, 7.5,
             sleeve);
    }
    c.Ellipse(hx, hy, 3.6, 3.6);
    c.FillStroke(l.skin, kLine, 1.2);
}

// Arm targets in cel space for one torso drawing; a held hand reaches to its item's hand offset.
struct ArmPose
{
    double x[2];
    double y[2];
};

ArmPose RestingArms(const Look& l)
{
    double out = l.male ? 19 : 16;
    return {{60 - out, 60 + out}, {kHipY - 2, kHipY - 2}};
}

void DrawTorso(Canvas& c, const Look& l, View view, Expression e, ArmPose arms, bool armsBehind = false)
{
    cairo_save(c.Cr());
    BodySpace(c, l);
    for (int k = 0; k < 2; ++k)
        ToBody(l, arms.x[k], arms.y[k]);
    // Arms reaching across the body are drawn in front of it, hanging arms behind the sleeves' shoulders.
    if (armsBehind)
        for (int k = 0; k < 2; ++k)
            Arm(c, l, arms.x[k] < 60 ? -1 : 1, arms.x[k], arms.y[k]);
    DrawBody(c, l, view);
    DrawHead(c, l, view, e);
    if (!armsBehind)
        for (int k = 0; k < 2; ++k)
            Arm(c, l, arms.x[k] < 60 ? -1 : 1, arms.x[k], arms.y[k]);
    cairo_restore(c.Cr());
}

ArmPose HoldingArms(const Look& l, const PersonData& p, int handState, int view)
{
    ArmPose a = RestingArms(l);
    for (int k = 0; k < 2; ++k)
        if (handState & (1 << k))
        {
            a.x[k] = p.hand[k][view][0];
            a.y[k] = p.hand[k][view][1] + 3;
        }
    return a;
}

void DrawLegsFull(Canvas& c, const Look& l, View view, int frame)
{
    cairo_save(c.Cr());
    BodySpace(c, l);
    DrawLegs(c, l, view, frame);
    cairo_restore(c.Cr());
}

// One-shot animation frame: the pose follows the animation's name.
void DrawAnimationCel(Canvas& c, const Look& l, const PersonData& p, const AnimationData& a, int frame, int handState)
{
    double t = a.columns > 1 ? frame / (a.columns - 1.0) : 0;
    double wave = std::sin(frame * M_PI / 2);
    ArmPose arms = HoldingArms(l, p, handState, 0);
    Expression e = Expression::Smile;
    bool free0 = !(handState & 1), free1 = !(handState & 2);
    if (a.name == "angry")
    {
        e = Expression::Angry;
        // Fists on hips, shaking.
        if (free0)
        {
            arms.x[0] = 60 - 15;
            arms.y[0] = kHipY - 10 + wave * 2;
        }
        if (free1)
        {
            arms.x[1] = 60 + 22 + wave * 2;
            arms.y[1] = kShoulderY - 6 - std::fabs(wave) * 4;
        }
    }
    else if (a.name == "happy")
    {
        e = Expression::Happy;
        double lift = 0.5 + 0.5 * std::sin(t * 2 * M_PI);
        if (free0)
        {
            arms.x[0] = 60 - 22;
            arms.y[0] = kShoulderY - 10 - lift * 8;
        }
        if (free1)
        {
            arms.x[1] = 60 + 22;
            arms.y[1] = kShoulderY - 10 - (1 - lift) * 8;
        }
    }
    else if (a.name == "hands")
    {
        // Busy hands at the counter: ringing up or folding paper.
        if (free0)
        {
            arms.x[0] = 60 - 9 + wave * 3;
            arms.y[0] = kHipY - 12 - (frame % 2) * 3;
        }
        if (free1)
        {
            arms.x[1] = 60 + 9 - wave * 3;
            arms.y[1] = kHipY - 12 - ((frame + 1) % 2) * 3;
        }
    }
    else if (a.name.find("wave") != std::string::npos)
    {
        if (free1)
        {
            arms.x[1] = 60 + 20 + wave * 4;
            arms.y[1] = kShoulderY - 14;
        }
    }
    else
    {
        // Idle fidget: a shrug or a glance at the wrist, with a blink on odd frames.
        if (free0)
            arms.y[0] -= std::fabs(wave) * 5;
        if (free1)
        {
            arms.x[1] = 60 + 6;
            arms.y[1] = kHipY - 14 + std::fabs(wave) * 2;
        }
        e = frame % 2 ? Expression::Neutral : Expression::Smile;
    }
    // Hip piece: frames lifted by their y-offset (a cheer's hop) must not open a gap above the legs.
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    BodySpace(c, l);
    cairo_rectangle(cr, 0, 0, kCel, kHipY + 12);
    cairo_clip(cr);
    if (l.legwear == "skirt" || l.legwear == "dress")
        SkirtShape(c, l, 0);
    else
    {
        double half = l.legwear == "shorts" ? 13 : 12;
        cairo_rectangle(cr, 60 - half, kHipY - 4, 2 * half, 16);
        c.FillStroke(l.bottom, kLine, 1.3);
    }
    cairo_restore(cr);
    DrawTorso(c, l, View::Front, e, arms);
}

Look LookOf(Generator& gen, const std::string& name)
{
    const RecipeLine* r = gen.LookFor(name);
    if (r)
        return ReadLook(*r);
    gen.Problem("people.txt: no look for '" + name + "'; a plain look is used");
    return ReadLook(RecipeLine{});
}

void CelClip(Canvas& c, int col, int row)
{
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_rectangle(cr, col * kCel, row * kCel, kCel, kCel);
    cairo_clip(cr);
    cairo_translate(cr, col * kCel, row * kCel);
}

void Icon(Canvas& c, const Look& l, bool over)
{
    double w = c.Width();
    c.Ellipse(w / 2, w / 2, w / 2 - 1.5, w / 2 - 1.5);
    c.FillStroke(over ? Rgb{1, 0.93, 0.7} : Rgb{1, 0.97, 0.92}, over ? Rgb{0.96, 0.7, 0.2} : Rgb{0.36, 0.16, 0.43},
                 over ? 3 : 2);
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    c.Ellipse(w / 2, w / 2, w / 2 - 3, w / 2 - 3);
    cairo_clip(cr);
    double s = w / 46.0 * 1.15;
    cairo_translate(cr, w / 2, w / 2 + 6 * s);
    cairo_scale(cr, s, s);
    cairo_translate(cr, -60, -kHeadY - 6);
    DrawTorso(c, l, View::Front, over ? Expression::Happy : Expression::Smile, RestingArms(l));
    cairo_restore(cr);
}
} // namespace

void DrawFigureFront(Canvas& c, const RecipeLine& lookRecipe, double cx, double footY, double scale, Expression e,
                     bool armsUp)
{
    Look l = ReadLook(lookRecipe);
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_translate(cr, cx, footY);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -60, -kFootY);
    c.Ellipse(60, kFootY, 22, 5);
    c.FillPath({0, 0, 0, 0.18});
    DrawLegsFull(c, l, View::Front, -1);
    ArmPose arms = RestingArms(l);
    if (armsUp)
    {
        arms.x[0] = 60 - 24;
        arms.y[0] = kShoulderY - 18;
        arms.x[1] = 60 + 24;
        arms.y[1] = kShoulderY - 18;
    }
    DrawTorso(c, l, View::Front, e, arms);
    cairo_restore(cr);
}

bool WritePersonSheets(Generator& gen, const PersonData& p)
{
    Look l = LookOf(gen, p.name);
    std::string dir = "images/people/" + p.name + "/";
    bool ok = true;

    Canvas legs(8 * kCel, 4 * kCel);
    const View legViews[3] = {View::Side, View::Front, View::Back};
    for (int row = 0; row < 3; ++row)
        for (int f = 0; f < 8; ++f)
        {
            CelClip(legs, f, row);
            DrawLegsFull(legs, l, legViews[row], f);
            cairo_restore(legs.Cr());
        }
    // Row 3: standing (front) and discarding (seen from behind, feet apart).
    CelClip(legs, 0, 3);
    DrawLegsFull(legs, l, View::Front, -1);
    cairo_restore(legs.Cr());
    CelClip(legs, 1, 3);
    DrawLegsFull(legs, l, View::Back, 2);
    cairo_restore(legs.Cr());
    ok = gen.Save(legs, dir + "Legs_Walk.png", p.name + "/Legs_Walk") && ok;

    Canvas torso(3 * kCel, 4 * kCel);
    for (int hs = 0; hs < 4; ++hs)
    {
        CelClip(torso, 0, hs);
        DrawTorso(torso, l, View::Front, Expression::Smile, HoldingArms(l, p, hs, 0));
        cairo_restore(torso.Cr());
        CelClip(torso, 1, hs);
        DrawTorso(torso, l, View::Back, Expression::Neutral, HoldingArms(l, p, hs, 1), true);
        cairo_restore(torso.Cr());
        CelClip(torso, 2, hs);
        DrawTorso(torso, l, View::Front, Expression::Angry, HoldingArms(l, p, hs, 0));
        cairo_restore(torso.Cr());
    }
    ok = gen.Save(torso, dir + "Torso_Walk.png", p.name + "/Torso_Walk") && ok;

    Canvas idle(p.TorsoIdleColumns() * kCel, p.TorsoIdleRows() * kCel);
    for (const AnimationData& a : p.animations)
    {
        int rows = (a.showClothing && !a.showTorso) ? 4 : 1;
        for (int hs = 0; hs < rows; ++hs)
            for (int f = 0; f < a.columns; ++f)
            {
                CelClip(idle, f, a.row + hs);
                DrawAnimationCel(idle, l, p, a, f, hs);
                cairo_restore(idle.Cr());
            }
    }
    ok = gen.Save(idle, dir + "Torso_Idle.png", p.name + "/Torso_Idle") && ok;

    Canvas icon(46, 46);
    Icon(icon, l, false);
    ok = gen.Save(icon, dir + "Icon.png", p.name + "/Icon") && ok;
    Canvas over(46, 46);
    Icon(over, l, true);
    ok = gen.Save(over, dir + "Icon_Over.png", p.name + "/Icon_Over") && ok;
    return ok;
}

} // namespace ContentGen
