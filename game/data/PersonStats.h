// People definitions: PersonStats reads "properties/people.xml" into the process-wide people table (person name to
// how the character looks and sounds: sheets, voices, one-shot animations, hand offsets). Written only on the
// loading thread; the game's lookups are find-only and give a shared empty definition (no images, voices -1) for an
// unknown name, which draws and plays nothing.
#pragma once

#include "game/data/Parser.h"
#include "game/data/VoiceId.h"

#include <map>
#include <string>
#include <vector>

namespace Zestra
{
class Image;
}

// Sheet layout every person's pictures follow.
constexpr int kPersonCelSize = 120;   // pixels, square cels
constexpr int kPersonFeetY = 112;     // the floor line a person stands on (its shadow's centre), below its top
constexpr int kLegsWalkColumns = 8;   // walk frames
constexpr int kLegsWalkRows = 4;      // side, down, up, standing/discarding
constexpr int kTorsoWalkColumns = 3;  // front, back, angry front
constexpr int kTorsoWalkRows = 4;     // hand states 0..3

struct AnimationFrame
{
    int duration = 0; // ticks
    int column = 0;
    int yOffset = 0;  // pixels
};

struct PersonAnimation
{
    int row = 0;
    int holdingLimit = 3;
    bool showClothing = true;
    bool hideLegs = false;
    bool showTorso = false;
    bool clothesMove = false;
    int idleInterval = 0; // ticks; 0: never played as an idle animation
    std::vector<AnimationFrame> frames;
};

struct HandOffset
{
    int x = 0;
    int y = 0;
};

// Views of a hand offset: 0 standing and walking down or right, 1 walking up and discarding, 2 walking left.
constexpr int kHandCount = 2;
constexpr int kHandViewCount = 3;

struct PersonDefinition
{
    Zestra::Image* torsoWalk = nullptr; // owned by the media cache; any may be null
    Zestra::Image* legsWalk = nullptr;
    Zestra::Image* torsoIdle = nullptr;
    Zestra::Image* icon = nullptr;
    Zestra::Image* iconOver = nullptr;
    VoiceId helloVoice;
    VoiceId happyVoice;
    VoiceId angryVoice;
    float animationSpeed = 0.0f; // pixels walked per walk frame
    std::map<std::string, PersonAnimation> animations;
    HandOffset handOffsets[kHandCount][kHandViewCount];

    // Find-only: null when the person has no animation of that name.
    const PersonAnimation* FindAnimation(const std::string& name) const;
};

class PersonStats : public Parser
{
public:
    // countOnly: only counts the loading steps (8 per person: five images, three voices) into Count().
    PersonStats(ParserHost& host, bool countOnly);
    ~PersonStats() = default;

    int Count() const { return mCount; }

protected:
    void OnStartElement(const Zestra::ParsedElement& element) override;

private:
    // One reader per tag, picked from a table by OnStartElement.
    void ReadPerson(const Zestra::ParsedElement& element);
    void ReadHand(const Zestra::ParsedElement& element);
    void ReadHandOffset(const Zestra::ParsedElement& element);
    void ReadAnimation(const Zestra::ParsedElement& element);
    void ReadFrame(const Zestra::ParsedElement& element);

    bool mCountOnly;
    int mCount = 0;
    std::string mPerson; // current person
    bool mHavePerson = false;
    int mHand = -1;      // -1 before the first "hand" of the current person
    PersonAnimation* mAnimation = nullptr; // map node of the current person; stable until that person is redefined
};

// The people table, read-only after publication.
const PersonDefinition& FindPerson(const std::string& name); // shared empty definition when unknown
bool HasPerson(const std::string& name);
size_t PersonCount();
// Every name in byte-wise order (for the character handbook and checks).
std::vector<std::string> PersonNames();
void FreePeopleTable();
