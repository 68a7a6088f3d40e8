// One store's icon on the store map: its picture (locked or open), the highlight while hovered or shown as the
// current store, the "locked" note over a locked store, and the building effect (smoke, saws, hammers) that plays
// once when a store has just been unlocked. The icon owns its particles; the pictures belong to the store table.
#pragma once

#include "game/scene/Component.h"
#include "game/store/AnimatedComponent.h"

#include <memory>
#include <vector>

struct StoreInfo;

class MapStoreIcon : public Component
{
public:
    // unlocked: the store number is within the selected profile's unlocked stores.
    MapStoreIcon(const StoreInfo& info, bool unlocked);

    // The click area (left <= x < right, icon top <= y < bottom) of an unlocked store.
    bool Contains(int px, int py) const override;
    // Hover follows the mouse over the click area, locked or not.
    void TrackMouse(int px, int py);
    void Draw(Zestra::Graphics& g) override;
    // One update of the building effect; nothing while the store is not being built.
    void Update() override;
    // The store is drawn being built for kBuildUpdates updates, then shown highlighted.
    void StartConstruction();

    bool IsUnlocked() const { return overImage != nullptr; }
    bool IsBuilding() const { return constructionCounter > 0; }

    int storeNumber = 0;
    bool hovered = false;
    int left = 0;
    int right = 0;
    int bottom = 0;
    Zestra::Image* overImage = nullptr;  // null for a locked store; not owned
    Zestra::Image* lockedImage = nullptr; // shown under the rising highlight while building; not owned
    int constructionCounter = 0;          // kBuildUpdates down to 0 while being built
    std::vector<std::unique_ptr<AnimatedComponent>> particles;

private:
    bool InArea(int px, int py) const;
};
