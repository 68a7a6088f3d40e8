// People reader and the process-wide people table. Elements apply in document order to the most recent person,
// hand and animation; offsets and frames with nothing to apply to are reported and skipped.
#include "game/data/PersonStats.h"

#include "framework/graphics/Image.h"
#include "framework/xml/XMLParser.h"
#include "game/data/ParserHost.h"

#include <algorithm>
#include <iterator>

namespace
{

std::map<std::string, PersonDefinition> gPeople; // byte-wise name order
const PersonDefinition kNoPerson;

// Every person sheet is a grid of 120-pixel cels; the grid is set here once so every drawer agrees on it.
void SetPersonGrid(Zestra::Image* image, int rows, int cols)
{
    if (image)
        image->SetCelGrid(rows, cols);
}

} // namespace

const PersonAnimation* PersonDefinition::FindAnimation(const std::string& name) const
{
    auto it = animations.find(name);
    return it == animations.end() ? nullptr : &it->second;
}

PersonStats::PersonStats(ParserHost& host, bool countOnly) : Parser(host, "people"), mCountOnly(countOnly)
{
    ParseProperties("people.xml");
}

namespace
{
struct PersonTag
{
    const char* tag;
    bool beforeOffsets; // read as this tag even when it has a "y"
    void (PersonStats::*read)(const Zestra::ParsedElement& element);
};
} // namespace

void PersonStats::OnStartElement(const Zestra::ParsedElement& element)
{
    const std::string& tag = element.mText;
    if (mCountOnly)
    {
        if (tag == "person")
            mCount += 8; // five images and three voices
        return;
    }

    static const PersonTag kTags[] = {
        {"person", true, &PersonStats::ReadPerson},
        {"hand", true, &PersonStats::ReadHand},
        {"animation", false, &PersonStats::ReadAnimation},
        {"frame", false, &PersonStats::ReadFrame},
    };
    const auto it = std::find_if(std::begin(kTags), std::end(kTags), [&](const PersonTag& t) { return tag == t.tag; });
    const bool known = it != std::end(kTags);
    // Any other element with a "y" is a hand offset, whatever its name: the files name them by view and only "up"
    // differs.
    if ((!known || !it->beforeOffsets) && HasAttribute(element, "y"))
        ReadHandOffset(element);
    else if (known)
        (this->*it->read)(element);
}

void PersonStats::ReadPerson(const Zestra::ParsedElement& element)
{
    mPerson = Attribute(element, "name");
    mHavePerson = true;
    mHand = -1;
    mAnimation = nullptr;
    PersonDefinition definition;
    definition.animationSpeed = DataConvert::Real(Attribute(element, "animation_speed"));
    struct Sheet
    {
        Zestra::Image** image;
        const char* name;
    };
    const Sheet sheets[] = {{&definition.torsoWalk, "/Torso_Walk"}, {&definition.legsWalk, "/Legs_Walk"},
                            {&definition.torsoIdle, "/Torso_Idle"}, {&definition.icon, "/Icon"},
                            {&definition.iconOver, "/Icon_Over"}};
    for (const Sheet& sheet : sheets)
    {
        *sheet.image = LoadImage(mPerson + sheet.name);
        if (!*sheet.image)
            DataError("person picture " + ImageFolder() + mPerson + sheet.name + " is missing");
        mHost.OnLoadingStep();
    }
    // One loading step per picture and voice, as the count pass promised.
    definition.helloVoice = VoiceId{LoadVoice(mPerson, "Hello")};
    mHost.OnLoadingStep();
    definition.happyVoice = VoiceId{LoadVoice(mPerson, "Happy")};
    mHost.OnLoadingStep();
    definition.angryVoice = VoiceId{LoadVoice(mPerson, "Angry")};
    mHost.OnLoadingStep();

    const struct
    {
        Zestra::Image* image;
        const char* name;
        int cols;
        int rows;
    } layouts[] = {{definition.torsoWalk, "Torso_Walk", kTorsoWalkColumns, kTorsoWalkRows},
                   {definition.legsWalk, "Legs_Walk", kLegsWalkColumns, kLegsWalkRows}};
    for (const auto& layout : layouts)
    {
        if (!layout.image)
            continue;
        const int wantW = layout.cols * kPersonCelSize;
        const int wantH = layout.rows * kPersonCelSize;
        if (layout.image->GetWidth() != wantW || layout.image->GetHeight() != wantH)
            DataError(std::string(layout.name) + " of " + mPerson + " is " +
                      std::to_string(layout.image->GetWidth()) + " x " +
                      std::to_string(layout.image->GetHeight()) + " pixels; its cel layout needs " +
                      std::to_string(wantW) + " x " + std::to_string(wantH));
        SetPersonGrid(layout.image, layout.rows, layout.cols);
    }
    if (Zestra::Image* idle = definition.torsoIdle)
    {
        if (idle->GetWidth() % kPersonCelSize != 0 || idle->GetHeight() % kPersonCelSize != 0)
            DataError("Torso_Idle of " + mPerson + " is not a whole number of 120 x 120 cels");
        SetPersonGrid(idle, idle->GetHeight() / kPersonCelSize, idle->GetWidth() / kPersonCelSize);
    }
    gPeople[mPerson] = std::move(definition); // replaces an earlier person of that name entirely
}

void PersonStats::ReadHand(const Zestra::ParsedElement&)
{
    if (!mHavePerson)
    {
        DataWarning("<hand> comes before any <person>; ignored");
        return;
    }
    ++mHand;
    if (mHand >= kHandCount)
        DataWarning("person " + mPerson + " has more than two <hand> elements; the extra ones are ignored");
}

void PersonStats::ReadHandOffset(const Zestra::ParsedElement& element)
{
    const std::string& tag = element.mText;
    if (!mHavePerson || mHand < 0 || mHand >= kHandCount)
    {
        DataWarning("hand offset <" + tag + "> has no current person and hand; ignored");
        return;
    }
    PersonDefinition& person = gPeople[mPerson];
    const int x = DataConvert::Integer(Attribute(element, "x"));
    const int y = DataConvert::Integer(Attribute(element, "y"));
    if (tag == "up")
    {
        person.handOffsets[mHand][1] = {x, y};
    }
    else
    {
        person.handOffsets[mHand][0] = {x, y};
        person.handOffsets[mHand][2] = {kPersonCelSize - x, y}; // the left view mirrors the right one
    }
}

void PersonStats::ReadAnimation(const Zestra::ParsedElement& element)
{
    if (!mHavePerson)
    {
        DataWarning("<animation> comes before any <person>; ignored");
        return;
    }
    PersonDefinition& person = gPeople[mPerson];
    PersonAnimation& animation = person.animations[Attribute(element, "name")];
    animation = PersonAnimation(); // a redefinition drops the earlier frames
    animation.row = DataConvert::Integer(Attribute(element, "row"));
    const std::string& holding = Attribute(element, "holding");
    animation.holdingLimit = holding.empty() ? 3 : DataConvert::Integer(holding);
    animation.showClothing = Attribute(element, "show-clothing") != "false";
    animation.idleInterval = DataConvert::Hundredths(Attribute(element, "idle-interval"));
    animation.hideLegs = DataConvert::Flag(Attribute(element, "hide-legs"), "true");
    animation.showTorso = DataConvert::Flag(Attribute(element, "show-torso"), "true");
    animation.clothesMove = DataConvert::Flag(Attribute(element, "clothes-move"), "true");
    mAnimation = &animation;
    if (person.torsoIdle)
    {
        const int lastRow = animation.row + (animation.showClothing && !animation.showTorso ? 3 : 0);
        if (animation.row < 0 || lastRow >= person.torsoIdle->GetHeight() / kPersonCelSize)
            DataError("animation \"" + Attribute(element, "name") + "\" of " + mPerson + " needs Torso_Idle rows " +
                      std::to_string(animation.row) + " to " + std::to_string(lastRow) +
                      ", beyond the sheet");
    }
}

void PersonStats::ReadFrame(const Zestra::ParsedElement& element)
{
    if (!mAnimation)
    {
        DataWarning("<frame> comes before any <animation>; ignored");
        return;
    }
    AnimationFrame frame;
    frame.duration = DataConvert::Integer(Attribute(element, "duration"));
    frame.column = DataConvert::Integer(Attribute(element, "column"));
    frame.yOffset = DataConvert::Integer(Attribute(element, "y-offset"));
    if (frame.duration <= 0)
        DataWarning("frame of " + mPerson + " lasts no time");
    const PersonDefinition& person = gPeople[mPerson];
    if (person.torsoIdle && (frame.column < 0 || frame.column >= person.torsoIdle->GetWidth() / kPersonCelSize))
        DataError("frame column " + std::to_string(frame.column) + " of " + mPerson +
                  " lies outside Torso_Idle");
    mAnimation->frames.push_back(frame);
}

const PersonDefinition& FindPerson(const std::string& name)
{
    auto it = gPeople.find(name);
    return it == gPeople.end() ? kNoPerson : it->second;
}

bool HasPerson(const std::string& name)
{
    return gPeople.count(name) != 0;
}

size_t PersonCount()
{
    return gPeople.size();
}

std::vector<std::string> PersonNames()
{
    std::vector<std::string> names;
    for (const auto& entry : gPeople)
        names.push_back(entry.first);
    return names;
}

void FreePeopleTable()
{
    gPeople.clear();
}
