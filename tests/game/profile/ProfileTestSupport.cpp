#include "ProfileTestSupport.h"

#include "game/data/LevelStats.h"

void WriteTestStores(ScratchGameFolder& folder, int stores, int unplayable)
{
    std::string storeText = "<stores>\n";
    std::string levelText = "<levels>\n";
    for (int s = 1; s <= stores; ++s)
    {
        const std::string n = std::to_string(s);
        storeText += "<store name=\"S" + n + "\">"
                     "<merchant name=\"m\" speed=\"100\" price=\"0\"/><merchant name=\"m\" speed=\"150\" price=\"50\"/>"
                     "<merchant name=\"m\" speed=\"200\" price=\"90\"/>"
                     "<changing-rooms init=\"1\"/><changing-room price=\"10\"/><changing-room price=\"20\"/>"
                     "<changing-room price=\"30\"/><drink init=\"1\" max=\"2\" price=\"5\"/>"
                     "<def-furniture type=\"rack\"/><clothing x=\"1\" y=\"1\"/>"
                     "<layout x=\"1\" y=\"1\"/><furniture type=\"rack\" price=\"0\" clothing=\"a\" cost=\"5\"/>"
                     "<furniture type=\"rack\" price=\"40\" clothing=\"a2\" cost=\"7\"/>"
                     "<furniture type=\"rack\" price=\"60\" clothing=\"a3\" cost=\"9\"/>"
                     "<layout x=\"3\" y=\"1\"/><furniture type=\"rack\" price=\"30\" clothing=\"b\" cost=\"5\"/>"
                     "<furniture type=\"rack\" price=\"50\" clothing=\"b2\" cost=\"6\"/>"
                     "<layout x=\"5\" y=\"1\"/><furniture type=\"rack\" price=\"35\" clothing=\"c\" cost=\"5\"/>"
                     "<furniture type=\"rack\" price=\"45\" clothing=\"c2\" cost=\"6\"/>"
                     "<furniture type=\"rack\" price=\"55\" clothing=\"c3\" cost=\"7\"/>"
                     "<mannequin x=\"1\" y=\"1\" top=\"a\"/></store>\n";
        levelText += "<store>";
        if (s <= stores - unplayable)
            for (int l = 0; l < 12; ++l)
            {
                levelText += "<level min_goal=\"100\" expert_goal=\"150\" duration=\"60\" max_customers=\"2\"/>";
                if (l == 5)
                    levelText += "<minigame preview-time=\"2\" hide-time=\"1\" solve-time=\"3\"/>";
            }
        levelText += "</store>\n";
    }
    folder.Write("properties/stores.xml", storeText + "</stores>\n");
    folder.Write("properties/levels.xml", levelText + "</levels>\n");
    FakeHost quiet;
    LevelStats reader(quiet, false);
}

ProfileTest::ProfileTest()
{
    WriteTestStores(game, 5);
    FreeProfiles();
}

ProfileTest::~ProfileTest()
{
    FreeProfiles();
}

void ProfileTest::Load()
{
    host.issues.clear();
    ProfileManager manager(host, data.Path().string());
}

std::string ProfileTest::File(const std::string& body, int selected)
{
    return "<profiles selected=\"" + std::to_string(selected) + "\">\n" + body + "\n</profiles>";
}
