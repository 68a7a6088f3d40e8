// Clothing pictures. The name gives the garment: "<girls|mens>_<kind>[_<variant>]"; the kind picks the shape,
// the variant a colour or a pattern, and without a variant the store's palette colours it. Every look (icon,
// folded pile, hanging, carried, on the mannequin) is drawn from the same shape.
#include "tools/contentgen/Generator.h"

#include <cmath>
#include <map>

namespace ContentGen
{

namespace
{
const Rgb kEdge{0.22, 0.15, 0.17};

const std::map<std::string, Rgb>& ColourWords()
{
    static const std::map<std::string, Rgb> words = {
        {"red", {0.86, 0.2, 0.22}},    {"blue", {0.22, 0.45, 0.85}},  {"green", {0.3, 0.68, 0.35}},
        {"yellow", {0.97, 0.8, 0.22}}, {"pink", {0.96, 0.55, 0.7}},   {"purple", {0.56, 0.34, 0.76}},
        {"black", {0.16, 0.15, 0.18}}, {"white", {0.97, 0.96, 0.94}}, {"grey", {0.6, 0.61, 0.64}},
        {"brown", {0.55, 0.36, 0.22}}, {"teal", {0.15, 0.62, 0.62}},  {"orange", {0.96, 0.55, 0.15}}};
    return words;
}

bool IsTop(const std::string& kind)
{
    return kind == "tshirt" || kind == "captee" || kind == "blouse" || kind == "sweater" || kind == "hoodie" ||
           kind == "jacket";
}

bool IsLong(const std::string& kind)
{
    return kind == "coat" || kind == "dress" || kind == "gown";
}

bool IsBottom(const std::string& kind)
{
    return kind == "skirt" || kind == "jeans" || kind == "croppants" || kind == "trousers" || kind == "shorts";
}

// Each shape is drawn into the unit square (0..1 both ways) scaled to the target box.
void TopPath(cairo_t* cr, const std::string& kind)
{
    double sleeveLen = kind == "captee" ? 0.12 : (kind == "tshirt" || kind == "blouse") ? 0.24 : 0.5;
    double hem = kind == "jacket" ? 0.98 : 0.95;
    cairo_move_to(cr, 0.36, 0.04);
    cairo_curve_to(cr, 0.42, 0.14, 0.58, 0.14, 0.64, 0.04);
    cairo_line_to(cr, 0.84, 0.1);
    cairo_line_to(cr, 0.98, 0.1 + sleeveLen * 0.9);
    cairo_line_to(cr, 0.84, 0.16 + sleeveLen);
    cairo_line_to(cr, 0.8, 0.3);
    cairo_line_to(cr, 0.8, hem);
    cairo_line_to(cr, 0.2, hem);
    cairo_line_to(cr, 0.2, 0.3);
    cairo_line_to(cr, 0.16, 0.16 + sleeveLen);
    cairo_line_to(cr, 0.02, 0.1 + sleeveLen * 0.9);
    cairo_line_to(cr, 0.16, 0.1);
    cairo_close_path(cr);
}

void LongPath(cairo_t* cr, const std::string& kind)
{
    double flare = kind == "gown" ? 0.02 : kind == "dress" ? 0.08 : 0.14;
    bool sleeves = kind == "coat";
    cairo_move_to(cr, 0.38, 0.02);
    cairo_curve_to(cr, 0.44, 0.08, 0.56, 0.08, 0.62, 0.02);
    if (sleeves)
    {
        cairo_line_to(cr, 0.8, 0.06);
        cairo_line_to(cr, 0.94, 0.5);
        cairo_line_to(cr, 0.84, 0.52);
        cairo_line_to(cr, 0.76, 0.24);
    }
    else
    {
        cairo_line_to(cr, 0.7, 0.06);
        cairo_line_to(cr, 0.68, 0.3);
    }
    cairo_curve_to(cr, 0.66, 0.4, 1 - flare, 0.7, 1 - flare, 0.98);
    cairo_line_to(cr, flare, 0.98);
    cairo_curve_to(cr, flare, 0.7, 0.34, 0.4, sleeves ? 0.24 : 0.32, 0.3);
    if (sleeves)
    {
        cairo_line_to(cr, 0.16, 0.52);
        cairo_line_to(cr, 0.06, 0.5);
        cairo_line_to(cr, 0.2, 0.06);
    }
    else
        cairo_line_to(cr, 0.3, 0.06);
    cairo_close_path(cr);
}

void BottomPath(cairo_t* cr, const std::string& kind)
{
    if (kind == "skirt")
    {
        cairo_move_to(cr, 0.25, 0.02);
        cairo_line_to(cr, 0.75, 0.02);
        cairo_line_to(cr, 0.96, 0.96);
        cairo_line_to(cr, 0.04, 0.96);
        cairo_close_path(cr);
        return;
    }
    double len = kind == "shorts" ? 0.5 : kind == "croppants" ? 0.78 : 0.98;
    cairo_move_to(cr, 0.18, 0.02);
    cairo_line_to(cr, 0.82, 0.02);
    cairo_line_to(cr, 0.9, len);
    cairo_line_to(cr, 0.54, len);
    cairo_line_to(cr, 0.5, 0.3);
    cairo_line_to(cr, 0.46, len);
    cairo_line_to(cr, 0.1, len);
    cairo_close_path(cr);
}

void AccessoryPath(cairo_t* cr, const std::string& kind)
{
    if (kind == "scarf")
    {
        cairo_move_to(cr, 0.3, 0.02);
        cairo_line_to(cr, 0.7, 0.02);
        cairo_line_to(cr, 0.7, 0.9);
        cairo_line_to(cr, 0.3, 0.9);
        cairo_close_path(cr);
    }
    else if (kind == "hat")
    {
        cairo_move_to(cr, 0.02, 0.8);
        cairo_curve_to(cr, 0.1, 0.62, 0.9, 0.62, 0.98, 0.8);
        cairo_curve_to(cr, 0.9, 0.92, 0.1, 0.92, 0.02, 0.8);
        cairo_close_path(cr);
        cairo_move_to(cr, 0.26, 0.72);
        cairo_curve_to(cr, 0.24, 0.2, 0.76, 0.2, 0.74, 0.72);
        cairo_close_path(cr);
    }
    else if (kind == "shoes" || kind == "boots")
    {
        double top = kind == "boots" ? 0.1 : 0.5;
        for (int k = 0; k < 2; ++k)
        {
            double x = 0.04 + k * 0.5;
            cairo_move_to(cr, x, top);
            cairo_line_to(cr, x + 0.2, top);
            cairo_line_to(cr, x + 0.22, 0.66);
            cairo_curve_to(cr, x + 0.42, 0.68, x + 0.46, 0.78, x + 0.44, 0.92);
            cairo_line_to(cr, x, 0.92);
            cairo_close_path(cr);
        }
    }
    else if (kind == "bag")
    {
        cairo_move_to(cr, 0.1, 0.35);
        cairo_line_to(cr, 0.9, 0.35);
        cairo_line_to(cr, 0.96, 0.95);
        cairo_line_to(cr, 0.04, 0.95);
        cairo_close_path(cr);
    }
    else // belt
    {
        cairo_rectangle(cr, 0.02, 0.4, 0.96, 0.2);
    }
}

void ShapePath(cairo_t* cr, const std::string& kind)
{
    if (IsTop(kind))
        TopPath(cr, kind);
    else if (IsLong(kind))
        LongPath(cr, kind);
    else if (IsBottom(kind))
        BottomPath(cr, kind);
    else
        AccessoryPath(cr, kind);
}

// Pattern over the current clip (unit square coordinates, line widths in unit space).
void Pattern(Canvas& c, const ClothingLook& look, double px)
{
    cairo_t* cr = c.Cr();
    const std::string& p = look.pattern;
    if (p == "striped")
    {
        for (double y = 0.08; y < 1; y += 0.14)
            cairo_rectangle(cr, 0, y, 1, 0.06);
        c.FillPath(look.second);
    }
    else if (p == "dotted")
    {
        for (double y = 0.1; y < 1; y += 0.16)
            for (double x = 0.08 + (static_cast<int>(y * 6.25) % 2) * 0.08; x < 1; x += 0.16)
                c.Ellipse(x, y, 0.035, 0.03);
        c.FillPath(look.second);
    }
    else if (p == "checked")
    {
        for (double v = 0.05; v < 1; v += 0.18)
        {
            cairo_rectangle(cr, v, 0, 0.07, 1);
            cairo_rectangle(cr, 0, v, 1, 0.07);
        }
        c.FillPath(look.second.WithAlpha(0.55));
    }
    else if (p == "floral")
    {
        for (double y = 0.12; y < 1; y += 0.22)
            for (double x = 0.12 + (static_cast<int>(y * 4.5) % 2) * 0.11; x < 1; x += 0.22)
            {
                for (int k = 0; k < 5; ++k)
                    c.Ellipse(x + 0.035 * std::cos(k * 1.2566), y + 0.03 * std::sin(k * 1.2566), 0.03, 0.026);
                c.FillPath(look.second);
                c.Ellipse(x, y, 0.018, 0.016);
                c.FillPath({0.98, 0.85, 0.3});
            }
    }
    else if (p == "denim")
    {
        for (double x = -1; x < 1; x += 0.06)
        {
            cairo_move_to(cr, x, 1);
            cairo_line_to(cr, x + 1, 0);
        }
        c.StrokePath(look.main.Lighter(0.2).WithAlpha(0.35), px);
    }
    else if (p == "silk")
    {
        cairo_move_to(cr, 0.2, 0.1);
        cairo_curve_to(cr, 0.5, 0.4, 0.3, 0.7, 0.6, 0.95);
        c.StrokePath({1, 1, 1, 0.35}, 0.08);
    }
    else if (p == "tweed")
    {
        unsigned seed = 17;
        for (int k = 0; k < 90; ++k)
        {
            seed = seed * 1103515245u + 12345u;
            double x = ((seed >> 8) % 1000) / 1000.0;
            seed = seed * 1103515245u + 12345u;
            double y = ((seed >> 8) % 1000) / 1000.0;
            cairo_rectangle(cr, x, y, 0.03, 0.015);
        }
        c.FillPath(look.second.WithAlpha(0.7));
    }
    else if (p == "sequin")
    {
        for (double y = 0.08; y < 1; y += 0.12)
            for (double x = 0.06 + (static_cast<int>(y * 8.4) % 2) * 0.06; x < 1; x += 0.12)
                c.Ellipse(x, y, 0.03, 0.025);
        c.FillPath({1, 1, 1, 0.55});
    }
}

void Details(Canvas& c, const ClothingLook& look, double px)
{
    cairo_t* cr = c.Cr();
    Rgb line = look.main.Darker(0.35);
    const std::string& k = look.kind;
    if (k == "hoodie")
    {
        cairo_move_to(cr, 0.36, 0.05);
        cairo_curve_to(cr, 0.36, 0.28, 0.64, 0.28, 0.64, 0.05);
        c.StrokePath(line, px * 1.5);
        cairo_rectangle(cr, 0.32, 0.6, 0.36, 0.18);
        c.StrokePath(line, px);
    }
    else if (k == "jacket" || k == "coat")
    {
        cairo_move_to(cr, 0.5, 0.1);
        cairo_line_to(cr, 0.5, 0.97);
        c.StrokePath(line, px * 1.2);
        cairo_move_to(cr, 0.38, 0.04);
        cairo_line_to(cr, 0.5, 0.3);
        cairo_line_to(cr, 0.62, 0.04);
        c.StrokePath(line, px * 1.2);
        for (double y = 0.4; y < 0.9; y += 0.18)
            c.Ellipse(0.55, y, 0.025, 0.018);
        c.FillPath(line);
    }
    else if (k == "blouse")
    {
        for (double y = 0.2; y < 0.9; y += 0.15)
            c.Ellipse(0.5, y, 0.02, 0.02);
        c.FillPath(line);
        cairo_move_to(cr, 0.36, 0.04);
        cairo_line_to(cr, 0.44, 0.16);
        cairo_line_to(cr, 0.5, 0.08);
        cairo_line_to(cr, 0.56, 0.16);
        cairo_line_to(cr, 0.64, 0.04);
        c.StrokePath(line, px);
    }
    else if (k == "sweater")
    {
        for (double x = 0.22; x < 0.8; x += 0.05)
        {
            cairo_move_to(cr, x, 0.88);
            cairo_line_to(cr, x, 0.95);
        }
        c.StrokePath(line, px * 0.8);
    }
    else if (k == "jeans" || k == "trousers" || k == "croppants" || k == "shorts")
    {
        cairo_move_to(cr, 0.18, 0.1);
        cairo_line_to(cr, 0.82, 0.1);
        c.StrokePath(line, px);
        if (k == "jeans")
        {
            cairo_move_to(cr, 0.24, 0.1);
            cairo_curve_to(cr, 0.26, 0.2, 0.34, 0.22, 0.38, 0.1);
            c.StrokePath({0.96, 0.72, 0.25}, px);
        }
    }
    else if (k == "gown" || k == "dress")
    {
        cairo_move_to(cr, 0.32, 0.32);
        cairo_line_to(cr, 0.68, 0.32);
        c.StrokePath(look.second, px * 2);
    }
    else if (k == "bag")
    {
        cairo_arc(cr, 0.5, 0.35, 0.25, M_PI, 2 * M_PI);
        c.StrokePath(line, px * 1.5);
        cairo_rectangle(cr, 0.44, 0.45, 0.12, 0.08);
        c.FillPath({0.96, 0.75, 0.2});
    }
    else if (k == "belt")
    {
        cairo_rectangle(cr, 0.42, 0.36, 0.16, 0.28);
        c.StrokePath({0.96, 0.75, 0.2}, px * 2);
    }
    else if (k == "scarf")
    {
        for (double x = 0.32; x < 0.7; x += 0.06)
        {
            cairo_move_to(cr, x, 0.9);
            cairo_line_to(cr, x, 0.98);
        }
        c.StrokePath(look.main, px);
    }
    else if (k == "hat")
    {
        cairo_rectangle(cr, 0.26, 0.6, 0.48, 0.08);
        c.FillPath(look.second);
    }
    else if (k == "captee" || k == "tshirt")
    {
        cairo_move_to(cr, 0.38, 0.06);
        cairo_curve_to(cr, 0.44, 0.16, 0.56, 0.16, 0.62, 0.06);
        c.StrokePath(line, px);
    }
}
} // namespace

ClothingLook ParseClothingName(const std::string& name, const Palette& palette)
{
    ClothingLook look;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= name.size())
    {
        size_t us = name.find('_', start);
        parts.push_back(name.substr(start, us == std::string::npos ? std::string::npos : us - start));
        if (us == std::string::npos)
            break;
        start = us + 1;
    }
    look.male = !parts.empty() && parts[0] == "mens";
    look.kind = parts.size() > 1 ? parts[1] : "tshirt";
    // Without a variant, garments of one store still differ: the kind's name picks among the store's colours.
    unsigned h = 0;
    for (char ch : look.kind)
        h = h * 31 + static_cast<unsigned char>(ch);
    const Rgb choices[4] = {palette.accent, palette.accent2, palette.accent.Mix(palette.accent2, 0.5).Lighter(0.2),
                            palette.accent.Darker(0.25)};
    look.main = choices[(h + (look.male ? 1 : 0)) % 4];
    look.second = palette.trim;
    if (look.kind == "jeans")
    {
        look.main = {0.25, 0.4, 0.68};
        look.pattern = "denim";
    }
    if (parts.size() > 2)
    {
        const std::string& v = parts[2];
        auto it = ColourWords().find(v);
        if (it != ColourWords().end())
        {
            look.main = it->second;
            look.second = v == "white" ? palette.accent : Rgb{1, 1, 1};
            if (look.kind != "jeans")
                look.pattern.clear();
        }
        else
        {
            look.pattern = v;
            if (v == "denim")
                look.main = {0.25, 0.4, 0.68};
            else if (v == "tweed")
            {
                look.main = {0.55, 0.45, 0.33};
                look.second = {0.85, 0.78, 0.6};
            }
            else if (v == "silk")
                look.main = look.main.Lighter(0.15);
            else if (v == "sequin")
                look.main = palette.accent.Darker(0.1);
            else
                look.second = v == "floral" ? Rgb{0.98, 0.6, 0.7} : Rgb{1, 1, 1};
        }
    }
    return look;
}

void DrawGarment(Canvas& c, const ClothingLook& look, double x, double y, double w, double h)
{
    cairo_t* cr = c.Cr();
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, w, h);
    double px = 1.0 / std::min(w, h);
    ShapePath(cr, look.kind);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    c.SetColor(look.main);
    cairo_fill_preserve(cr);
    cairo_new_path(cr);
    Pattern(c, look, px);
    // Soft shading on one side gives the flat shapes some body.
    cairo_rectangle(cr, 0.62, 0, 0.4, 1);
    c.FillPath({0, 0, 0, 0.08});
    cairo_restore(cr);
    Details(c, look, px);
    ShapePath(cr, look.kind);
    cairo_restore(cr);
    cairo_set_line_width(cr, 1.4);
    c.SetColor(kEdge);
    cairo_stroke(cr);
}

void DrawFolded(Canvas& c, const ClothingLook& look, double x, double y, double w, double h)
{
    cairo_t* cr = c.Cr();
    bool accessory = !IsTop(look.kind) && !IsLong(look.kind) && !IsBottom(look.kind);
    if (accessory && look.kind != "scarf")
    {
        DrawGarment(c, look, x, y, w, h);
        return;
    }
    // A pile of two folded pieces; the top one shows a hint of what it is.
    for (int k = 1; k >= 0; --k)
    {
        double top = y + k * h * 0.22;
        c.RoundRect(x + 1, top + h * 0.1, w - 2, h * 0.66, 3);
        cairo_save(cr);
        cairo_clip_preserve(cr);
        c.SetColor(k ? look.main.Darker(0.12) : look.main);
        cairo_fill_preserve(cr);
        cairo_new_path(cr);
        cairo_translate(cr, x, top);
        cairo_scale(cr, w, h);
        Pattern(c, look, 1.0 / std::min(w, h));
        cairo_restore(cr);
        cairo_set_line_width(cr, 1.2);
        c.SetColor(kEdge);
        cairo_stroke(cr);
    }
    Rgb line = look.main.Darker(0.4);
    if (IsTop(look.kind) || IsLong(look.kind))
    {
        cairo_move_to(cr, x + w * 0.38, y + h * 0.1);
        cairo_curve_to(cr, x + w * 0.44, y + h * 0.3, x + w * 0.56, y + h * 0.3, x + w * 0.62, y + h * 0.1);
        c.StrokePath(line, 1.2);
    }
    else
    {
        cairo_move_to(cr, x + 3, y + h * 0.24);
        cairo_line_to(cr, x + w - 3, y + h * 0.24);
        c.StrokePath(line, 1.2);
    }
}

namespace
{
void Hanger(Canvas& c, double cx, double top, double width)
{
    cairo_t* cr = c.Cr();
    cairo_arc(cr, cx, top + 4, 3.5, M_PI, 2.4 * M_PI);
    cairo_move_to(cr, cx, top + 7.5);
    cairo_line_to(cr, cx - width / 2, top + 14);
    cairo_line_to(cr, cx + width / 2, top + 14);
    cairo_close_path(cr);
    c.StrokePath({0.42, 0.42, 0.48}, 1.8);
}

// Size of the mannequin look: tops cover shoulders to waist, bottoms waist down, long pieces both.
void MannequinBox(const ClothingLook& look, int& w, int& h)
{
    if (IsTop(look.kind))
    {
        w = 46;
        h = 40;
    }
    else if (IsLong(look.kind))
    {
        w = 46;
        h = look.kind == "gown" ? 100 : look.kind == "dress" ? 78 : 86;
    }
    else if (look.kind == "skirt")
    {
        w = 40;
        h = 40;
    }
    else if (look.kind == "shorts")
    {
        w = 36;
        h = 34;
    }
    else if (IsBottom(look.kind))
    {
        w = 36;
        h = look.kind == "croppants" ? 58 : 70;
    }
    else
    {
        w = 36;
        h = 36;
    }
}
} // namespace

bool WriteClothing(Generator& gen, const StoreData& store, const std::string& name)
{
    ClothingLook look = ParseClothingName(name, gen.PaletteFor(store.name));
    std::string base = "images/stores/" + store.name + "/clothing/" + name;
    std::string label = store.name + "/" + name;
    bool ok = true;
    bool accessory = !IsTop(look.kind) && !IsLong(look.kind) && !IsBottom(look.kind);

    Canvas icon(26, 26);
    DrawGarment(icon, look, 2, 2, 22, 22);
    ok = gen.Save(icon, base + "_Icon.png", label + "_Icon") && ok;

    Canvas folded(40, 26);
    DrawFolded(folded, look, 0, 0, 40, 26);
    ok = gen.Save(folded, base + "_Folded.png", label + "_Folded") && ok;

    // Hanging: hanger on top, garment below; the picture's top-centre hangs on the rail.
    Canvas hanging(36, 64);
    Hanger(hanging, 18, 0, 30);
    if (accessory)
        DrawGarment(hanging, look, 5, 16, 26, 34);
    else
        DrawGarment(hanging, look, 2, 12, 32, 50);
    ok = gen.Save(hanging, base + "_Hanging.png", label + "_Hanging") && ok;

    Canvas carry(30, 22);
    DrawFolded(carry, look, 1, 0, 28, 22);
    ok = gen.Save(carry, base + "_Carry.png", label + "_Carry") && ok;

    int mw = 0, mh = 0;
    MannequinBox(look, mw, mh);
    Canvas mannequin(mw, mh);
    DrawGarment(mannequin, look, 1, 1, mw - 2, mh - 2);
    ok = gen.Save(mannequin, base + "_Mannequin.png", label + "_Mannequin") && ok;
    return ok;
}

bool WriteMinigameCard(Generator& gen, const StoreData& store, const MinigameClothingData& item)
{
    // Minigame pieces are dressed onto the big mannequins: tops, bottoms or whole outfits.
    ClothingLook look = ParseClothingName(item.name, gen.PaletteFor(store.name));
    int w = 64, h = item.type == "both" ? 108 : item.type == "bottom" ? 80 : 56;
    Canvas c(w, h);
    DrawGarment(c, look, 2, 2, w - 4, h - 4);
    return gen.Save(c, "images/stores/" + store.name + "/Minigame/" + item.name + ".png",
                    store.name + "/Minigame/" + item.name);
}

} // namespace ContentGen
