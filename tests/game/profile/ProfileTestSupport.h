// Fixture for the profile tests: a small store table read from generated data files, a private data folder for
// the profiles file, and a host that records every reported problem. The profile table is emptied on both ends.
#pragma once

#include "../data/DataTestSupport.h"
#include "game/profile/ProfileManager.h"
#include "game/profile/ProfileTable.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

// stores.xml and levels.xml for `stores` stores (the last `unplayable` without regular levels). Every store has
// 3 merchant levels, 1 initial and 3 buyable changing rooms, 1 drink (at most 2), and three floor spots: spot 0
// free at step 0 with 3 steps, spots 1 and 2 costing from the first step with 2 and 3 steps. A mannequin wears
// spot 0's line. Playable stores have 12 levels with a minigame after the sixth (13 entries).
void WriteTestStores(ScratchGameFolder& folder, int stores, int unplayable = 0);

class ProfileTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder game;
    TestSupport::TempFolder data{"velmora-profiles"};

    ProfileTest();
    ~ProfileTest() override;

    std::string MainPath() const { return data / "profiles.xml"; }
    std::string BackupPath() const { return data / "profiles.xml.bak"; }
    std::string BadPath() const { return data / "profiles.xml.bad"; }
    void WriteMain(const std::string& text) const { TestSupport::WriteFile(MainPath(), text); }
    std::string ReadMain() const { return TestSupport::ReadFile(MainPath()); }
    // Runs the start-up read over the data folder, with the host's record emptied first.
    void Load();
    // A file holding the given elements inside <profiles selected=...>, one element per line from line 2.
    static std::string File(const std::string& body, int selected = -1);
};
