// Generator: inputs, manifest, output bookkeeping and the contact sheet.
#include "tools/contentgen/Generator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace ContentGen
{

namespace
{

std::string Lower(std::string s)
{
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

bool IsJpegKind(const RecipeLine& r)
{
    return r.words.size() > 2 && r.words[2] == "scene";
}

std::string UiPath(const RecipeLine& r)
{
    return "images/ui/" + IdToFileName(r.words[1]) + (IsJpegKind(r) ? ".jpg" : ".png");
}

// Box-filtered thumbnail: keeps the contact sheet small however big the picture is.
void MakeThumb(const std::vector<uint8_t>& rgba, int w, int h, Written& out)
{
    const int maxW = 150, maxH = 110;
    double s = std::min({1.0, static_cast<double>(maxW) / w, static_cast<double>(maxH) / h});
    out.thumbW = std::max(1, static_cast<int>(w * s));
    out.thumbH = std::max(1, static_cast<int>(h * s));
    out.thumb.assign(static_cast<size_t>(out.thumbW) * out.thumbH * 4, 0);
    for (int ty = 0; ty < out.thumbH; ++ty)
    {
        int y0 = ty * h / out.thumbH, y1 = std::max(y0 + 1, (ty + 1) * h / out.thumbH);
        for (int tx = 0; tx < out.thumbW; ++tx)
        {
            int x0 = tx * w / out.thumbW, x1 = std::max(x0 + 1, (tx + 1) * w / out.thumbW);
            double acc[4] = {0, 0, 0, 0};
            int n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x)
                {
                    const uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
                    double a = p[3] / 255.0;
                    acc[0] += p[0] * a;
                    acc[1] += p[1] * a;
                    acc[2] += p[2] * a;
                    acc[3] += p[3];
                    ++n;
                }
            uint8_t* o = &out.thumb[(static_cast<size_t>(ty) * out.thumbW + tx) * 4];
            double alpha = acc[3] / n;
            for (int c = 0; c < 3; ++c)
                o[c] = alpha > 0 ? static_cast<uint8_t>(std::min(255.0, acc[c] / n / (alpha / 255.0))) : 0;
            o[3] = static_cast<uint8_t>(alpha);
        }
    }
}
} // namespace

std::string IdToFileName(const std::string& id)
{
    std::string s = id;
    for (const char* prefix : {"IMAGE_", "SOUND_", "FONT_"})
    {
        std::string p = prefix;
        if (s.compare(0, p.size(), p) == 0)
        {
            s = s.substr(p.size());
            break;
        }
    }
    return Lower(s);
}

int PersonData::TorsoIdleRows() const
{
    int rows = 1;
    for (const AnimationData& a : animations)
        rows = std::max(rows, a.row + ((a.showClothing && !a.showTorso) ? 4 : 1));
    return rows;
}

int PersonData::TorsoIdleColumns() const
{
    int cols = 1;
    for (const AnimationData& a : animations)
        cols = std::max(cols, a.columns);
    return cols;
}

Generator::Generator(std::string contentDir, std::string outDir)
    : mContentDir(std::move(contentDir)), mOutDir(std::move(outDir))
{
    mFallback.wall = {0.95, 0.9, 0.85};
    mFallback.wall2 = {0.9, 0.82, 0.76};
    mFallback.floor = {0.78, 0.64, 0.5};
    mFallback.floor2 = {0.72, 0.58, 0.45};
    mFallback.accent = {0.76, 0.25, 0.48};
    mFallback.accent2 = {0.36, 0.76, 0.64};
    mFallback.trim = {1, 1, 1};
    mFallback.wood = {0.6, 0.42, 0.3};
    mFallback.motif = "plain";
}

bool Generator::LoadInputs()
{
    bool ok = true;
    std::string text;
    std::string uiPath = mContentDir + "/art/ui.txt";
    if (!ReadFile(uiPath, text))
    {
        Problem(uiPath + ": cannot read");
        return false;
    }
    for (RecipeLine& r : ParseRecipes(text, uiPath, mProblems))
    {
        if (!r.words.empty() && r.words[0] == "palette")
        {
            for (const auto& [k, v] : r.keys)
                mUiPalette[k] = RgbOr(v, {0.5, 0.5, 0.5});
            continue;
        }
        if (r.words.size() < 3)
        {
            Problem(uiPath + ":" + std::to_string(r.line) + ": expected group, id and kind");
            ok = false;
            continue;
        }
        mUi.push_back(std::move(r));
    }
    std::string storesArt = mContentDir + "/art/stores.txt";
    if (ReadFile(storesArt, text))
    {
        for (const RecipeLine& r : ParseRecipes(text, storesArt, mProblems))
        {
            if (r.words.size() < 2 || r.words[0] != "store")
                continue;
            Palette p = mFallback;
            p.wall = RgbOr(r.Get("wall"), p.wall);
            p.wall2 = RgbOr(r.Get("wall2"), p.wall.Darker(0.08));
            p.floor = RgbOr(r.Get("floor"), p.floor);
            p.floor2 = RgbOr(r.Get("floor2"), p.floor.Darker(0.08));
            p.accent = RgbOr(r.Get("accent"), p.accent);
            p.accent2 = RgbOr(r.Get("accent2"), p.accent2);
            p.trim = RgbOr(r.Get("trim"), p.trim);
            p.wood = RgbOr(r.Get("wood"), p.wood);
            p.motif = r.Get("motif", "plain");
            mPalettes[r.words[1]] = p;
            mPaletteOrder.push_back(r.words[1]);
        }
    }
    std::string peopleArt = mContentDir + "/art/people.txt";
    if (ReadFile(peopleArt, text))
        for (RecipeLine& r : ParseRecipes(text, peopleArt, mProblems))
            if (r.words.size() >= 2 && r.words[0] == "person")
                mLooks[r.words[1]] = std::move(r);
    // A look with "base" starts from that look and overrides only what it names.
    for (auto& [name, look] : mLooks)
    {
        auto base = mLooks.find(look.Get("base"));
        if (base == mLooks.end() || base->first == name)
            continue;
        for (const auto& [k, v] : base->second.keys)
            look.keys.emplace(k, v);
    }

    std::string storesXml = mContentDir + "/properties/stores.xml";
    if (ReadFile(storesXml, text))
        LoadStores(text);
    else
        Problem(storesXml + ": cannot read; no store pictures are drawn");
    std::string peopleXml = mContentDir + "/properties/people.xml";
    if (ReadFile(peopleXml, text))
        LoadPeople(text);
    else
        Problem(peopleXml + ": cannot read; no people sheets are drawn");
    return ok;
}

bool Generator::LoadStores(const std::string& text)
{
    std::vector<Tag> tags = ScanTags(text, "stores.xml", mProblems);
    StoreData* store = nullptr;
    FurnitureTypeData* type = nullptr;
    auto addClothing = [&](const std::string& name)
    {
        if (store && !name.empty() &&
            std::find(store->clothing.begin(), store->clothing.end(), name) == store->clothing.end())
            store->clothing.push_back(name);
    };
    for (const Tag& t : tags)
    {
        if (t.name == "store")
        {
            mStores.push_back({});
            store = &mStores.back();
            store->name = t.Attr("name");
            type = nullptr;
            continue;
        }
        if (!store)
            continue;
        if (t.name == "def-furniture")
        {
            FurnitureTypeData f;
            f.type = t.Attr("type");
            f.folded = t.Attr("clothing-type") == "folded";
            f.priceY = std::atoi(t.Attr("price-y").c_str());
            f.tagY = std::atoi(t.Attr("tag-y").c_str());
            store->furniture[f.type] = f;
            type = &store->furniture[f.type];
        }
        else if (t.name == "clothing" && type)
            type->spots.push_back(
                {std::atoi(t.Attr("x").c_str()), std::atoi(t.Attr("y").c_str()), t.Attr("display") == "before"});
        else if (t.name == "map-icon")
        {
            store->iconX = std::atoi(t.Attr("x").c_str());
            store->iconY = std::atoi(t.Attr("y").c_str());
            store->iconBottom = std::atoi(t.Attr("bottom").c_str());
            store->iconLeft = std::atoi(t.Attr("left").c_str());
            store->iconRight = std::atoi(t.Attr("right").c_str());
        }
        else if (t.name == "layout")
            store->layouts.push_back({std::atoi(t.Attr("x").c_str()), std::atoi(t.Attr("y").c_str()), "", ""});
        else if (t.name == "furniture")
        {
            addClothing(t.Attr("clothing"));
            if (!store->layouts.empty() && store->layouts.back().type.empty())
            {
                store->layouts.back().type = t.Attr("type");
                store->layouts.back().clothing = t.Attr("clothing");
            }
        }
        else if (t.name == "mannequin")
        {
            addClothing(t.Attr("top"));
            addClothing(t.Attr("bottom"));
            store->mannequins.push_back({std::atoi(t.Attr("x").c_str()), std::atoi(t.Attr("y").c_str()),
                                         t.Attr("gender") == "male", t.Attr("top"), t.Attr("bottom")});
        }
        else if (t.name == "minigame-clothing")
            store->minigame.push_back({t.Attr("name"), t.Attr("gender") == "male", t.Attr("type")});
        else if (t.name == "changing-rooms")
            store->initialRooms = std::atoi(t.Attr("init").c_str());
        else if (t.name == "changing-room")
            ++store->roomPrices;
        else if (t.name == "gift-wrap")
            store->giftWrap = std::atof(t.Attr("cost").c_str()) > 0;
    }
    return true;
}

bool Generator::LoadPeople(const std::string& text)
{
    std::vector<Tag> tags = ScanTags(text, "people.xml", mProblems);
    PersonData* person = nullptr;
    AnimationData* anim = nullptr;
    int hand = -1;
    for (const Tag& t : tags)
    {
        if (t.name == "person")
        {
            mPeople.push_back({});
            person = &mPeople.back();
            person->name = t.Attr("name");
            anim = nullptr;
            hand = -1;
            continue;
        }
        if (!person)
            continue;
        if (t.name == "hand")
            ++hand;
        else if (t.attrs.count("y"))
        {
            if (hand >= 0 && hand < 2)
            {
                int view = t.name == "up" ? 1 : 0;
                person->hand[hand][view][0] = std::atoi(t.Attr("x").c_str());
                person->hand[hand][view][1] = std::atoi(t.Attr("y").c_str());
            }
        }
        else if (t.name == "animation")
        {
            AnimationData a;
            a.name = t.Attr("name");
            a.row = std::atoi(t.Attr("row").c_str());
            a.showClothing = t.Attr("show-clothing") != "false";
            a.showTorso = t.Attr("show-torso") == "true";
            a.columns = 0;
            auto it = std::find_if(person->animations.begin(), person->animations.end(),
                                   [&](const AnimationData& x) { return x.name == a.name; });
            if (it != person->animations.end())
                *it = a;
            else
                person->animations.push_back(a);
            anim = &*std::find_if(person->animations.begin(), person->animations.end(),
                                  [&](const AnimationData& x) { return x.name == a.name; });
        }
        else if (t.name == "frame" && anim)
            anim->columns = std::max(anim->columns, std::atoi(t.Attr("column").c_str()) + 1);
    }
    for (PersonData& p : mPeople)
        for (AnimationData& a : p.animations)
            a.columns = std::max(1, a.columns);
    return true;
}

const Palette& Generator::PaletteFor(const std::string& storeName) const
{
    auto it = mPalettes.find(storeName);
    return it == mPalettes.end() ? mFallback : it->second;
}

const Palette& Generator::PaletteByNumber(int number) const
{
    if (number >= 1 && number <= static_cast<int>(mStores.size()))
        return PaletteFor(mStores[number - 1].name);
    if (number >= 1 && number <= static_cast<int>(mPaletteOrder.size()))
        return PaletteFor(mPaletteOrder[number - 1]);
    return mFallback;
}

Rgb Generator::UiColor(const std::string& key) const
{
    auto it = mUiPalette.find(key);
    return it == mUiPalette.end() ? Rgb{0.5, 0.5, 0.5} : it->second;
}

const RecipeLine* Generator::LookFor(const std::string& person) const
{
    auto it = mLooks.find(person);
    if (it != mLooks.end())
        return &it->second;
    // Merchant levels share the merchant's look: "PrellaSwift" falls back to "Prella".
    for (const auto& [name, look] : mLooks)
        if (person.compare(0, name.size(), name) == 0)
            return &look;
    return nullptr;
}

std::string Generator::ManifestText() const
{
    std::string out = "<?xml version=\"1.0\"?>\n"
                      "<!-- Written by velmora-contentgen from content/art/ui.txt; regenerate, do not edit. -->\n"
                      "<ResourceManifest>\n";
    std::string group;
    for (const RecipeLine& r : mUi)
    {
        if (r.words[0] != group)
        {
            if (!group.empty())
                out += "  </Resources>\n";
            group = r.words[0];
            out += "  <Resources id=\"" + group + "\">\n";
        }
        const std::string& id = r.words[1];
        const std::string& kind = r.words[2];
        if (kind == "font")
            out += "    <Font id=\"" + id + "\" path=\"fonts/" + IdToFileName(id) + ".txt\"/>\n";
        else if (kind == "sound")
            out += "    <Sound id=\"" + id + "\" path=\"sounds/" + IdToFileName(id) + "\"/>\n";
        else
        {
            out += "    <Image id=\"" + id + "\" path=\"" + UiPath(r) + "\"";
            int cols = static_cast<int>(r.Number("cols", 1));
            int w = 0, h = 0;
            if ((kind == "numbers" || kind == "timer") && r.words.size() > 3 && ParseSize(r.words[3], w, h))
                cols = w / h;
            out += " rows=\"1\" cols=\"" + std::to_string(cols) + "\"";
            out += "/>\n";
        }
    }
    if (!group.empty())
        out += "  </Resources>\n";
    out += "</ResourceManifest>\n";
    return out;
}

bool Generator::Save(const Canvas& canvas, const std::string& relPath, const std::string& label)
{
    fs::path full = fs::path(mOutDir) / relPath;
    std::error_code ec;
    fs::create_directories(full.parent_path(), ec);
    bool jpeg = full.extension() == ".jpg";
    bool ok = jpeg ? canvas.SaveJpeg(full.string(), 88) : canvas.SavePng(full.string());
    if (!ok)
    {
        Problem(full.string() + ": cannot write");
        return false;
    }
    AddToContactSheet(canvas, label);
    return true;
}

void Generator::AddToContactSheet(const Canvas& canvas, const std::string& label)
{
    Written w;
    w.name = label;
    w.width = canvas.Width();
    w.height = canvas.Height();
    MakeThumb(canvas.Rgba(), w.width, w.height, w);
    mWritten.push_back(std::move(w));
}

bool Generator::CopyProperties()
{
    std::error_code ec;
    fs::path src = fs::path(mContentDir) / "properties";
    fs::path dst = fs::path(mOutDir) / "properties";
    fs::create_directories(dst, ec);
    bool ok = true;
    if (fs::exists(src))
        for (const auto& entry : fs::directory_iterator(src))
        {
            if (!entry.is_regular_file())
                continue;
            fs::copy_file(entry.path(), dst / entry.path().filename(), fs::copy_options::overwrite_existing, ec);
            if (ec)
            {
                Problem(entry.path().string() + ": cannot copy: " + ec.message());
                ok = false;
            }
        }
    return ok;
}

bool Generator::WriteUi()
{
    bool ok = true;
    for (const RecipeLine& r : mUi)
    {
        const std::string& kind = r.words[2];
        if (kind == "font" || kind == "sound")
            continue;
        int w = 0, h = 0;
        if (r.words.size() < 4 || !ParseSize(r.words[3], w, h))
        {
            Problem("ui.txt:" + std::to_string(r.line) + ": " + r.words[1] + " needs a size WxH");
            ok = false;
            continue;
        }
        Canvas c(w, h);
        if (!DrawUiImage(*this, r, c))
        {
            Problem("ui.txt:" + std::to_string(r.line) + ": unknown kind or shape for " + r.words[1]);
            ok = false;
            continue;
        }
        ok = Save(c, UiPath(r), r.words[1]) && ok;
    }
    return ok;
}

bool Generator::WriteStores()
{
    bool ok = true;
    for (size_t i = 0; i < mStores.size(); ++i)
    {
        const StoreData& s = mStores[i];
        ok = WriteStoreImages(*this, s, static_cast<int>(i + 1)) && ok;
        for (const std::string& c : s.clothing)
            ok = WriteClothing(*this, s, c) && ok;
        for (const MinigameClothingData& m : s.minigame)
            ok = WriteMinigameCard(*this, s, m) && ok;
    }
    return ok;
}

bool Generator::WritePeople()
{
    bool ok = true;
    for (const PersonData& p : mPeople)
        ok = WritePersonSheets(*this, p) && ok;
    return ok;
}

bool Generator::WriteSplashes()
{
    Canvas a(800, 600);
    DrawScene(*this, a, "splash", 1);
    Canvas b(800, 600);
    DrawScene(*this, b, "splash", 2);
    return Save(a, "splash.jpg", "splash") && Save(b, "splash2.jpg", "splash2");
}

bool Generator::Run(const std::string& contactSheetPath)
{
    std::error_code ec;
    fs::create_directories(mOutDir, ec);
    bool ok = CopyProperties();
    // The manifest is always written from the recipes, so the game folder never carries a stale copy.
    {
        fs::path manifest = fs::path(mOutDir) / "properties" / "resources.xml";
        FILE* f = std::fopen(manifest.string().c_str(), "wb");
        std::string text = ManifestText();
        if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size())
        {
            Problem(manifest.string() + ": cannot write");
            ok = false;
        }
        if (f)
            std::fclose(f);
    }
    ok = WriteUi() && ok;
    ok = WriteFonts(*this) && ok;
    ok = WriteStores() && ok;
    ok = WritePeople() && ok;
    ok = WriteSplashes() && ok;
    if (!contactSheetPath.empty())
    {
        for (const StoreData& s : mStores)
        {
            Canvas preview(800, 600);
            DrawStorePreview(*this, s, preview);
            AddToContactSheet(preview, s.name + " (preview)");
            // A full-size copy beside the sheet makes the layout easy to check against the lessons.
            preview.SavePng((fs::path(contactSheetPath).parent_path() / ("preview-" + s.name + ".png")).string());
        }
    }
    if (!contactSheetPath.empty())
        ok = WriteContactSheet(contactSheetPath) && ok;
    return ok;
}

bool Generator::WriteContactSheet(const std::string& path) const
{
    const int cellW = 160, cellH = 136, cols = 16;
    int rows = static_cast<int>((mWritten.size() + cols - 1) / cols);
    Canvas sheet(cellW * cols, std::max(1, rows) * cellH);
    sheet.Clear({0.93, 0.93, 0.95});
    cairo_t* cr = sheet.Cr();
    for (size_t i = 0; i < mWritten.size(); ++i)
    {
        const Written& w = mWritten[i];
        int cx = static_cast<int>(i % cols) * cellW, cy = static_cast<int>(i / cols) * cellH;
        // Checkerboard behind each picture shows its transparency.
        for (int y = 0; y < 110; y += 10)
            for (int x = 0; x < 150; x += 10)
            {
                cairo_rectangle(cr, cx + 5 + x, cy + 4 + y, 10, 10);
                sheet.FillPath(((x + y) / 10) % 2 ? Rgb{0.85, 0.85, 0.88} : Rgb{0.97, 0.97, 0.98});
            }
        cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w.thumbW, w.thumbH);
        unsigned char* data = cairo_image_surface_get_data(img);
        int stride = cairo_image_surface_get_stride(img);
        for (int y = 0; y < w.thumbH; ++y)
            for (int x = 0; x < w.thumbW; ++x)
            {
                const uint8_t* p = &w.thumb[(static_cast<size_t>(y) * w.thumbW + x) * 4];
                uint32_t a = p[3];
                uint32_t px = (a << 24) | ((p[0] * a / 255) << 16) | ((p[1] * a / 255) << 8) | (p[2] * a / 255);
                reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride)[x] = px;
            }
        cairo_surface_mark_dirty(img);
        cairo_set_source_surface(cr, img, cx + 5 + (150 - w.thumbW) / 2, cy + 4 + (110 - w.thumbH) / 2);
        cairo_paint(cr);
        cairo_surface_destroy(img);
        std::string label = w.name;
        if (label.size() > 26)
            label = "..." + label.substr(label.size() - 23);
        sheet.TextAt(label, cx + 5, cy + 126, 9.5, FontFace::Sans, {0.1, 0.1, 0.15});
    }
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    return sheet.SavePng(path);
}

} // namespace ContentGen
