// Test support for the store floor: pictures of chosen sizes, and a fixture that binds resource ids to them and
// unbinds every id afterwards so that no test sees another's pictures.
#pragma once

#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"

#include <gtest/gtest.h>

#include <memory>

// A width x height picture filled with one opaque colour, cut into columns cels side by side.
inline std::shared_ptr<Zestra::MemoryImage> MakePicture(int width, int height, int columns = 1,
                                                        uint32_t argb = 0xFFFF0000)
{
    auto image = std::make_shared<Zestra::MemoryImage>(width, height);
    uint32_t* bits = image->GetBits();
    for (int i = 0; i < width * height; ++i)
        bits[i] = argb;
    image->MarkPixelsChanged();
    image->SetCelGrid(1, columns);
    return image;
}

class BoundPictures : public ::testing::Test
{
protected:
    void TearDown() override { UnbindAllGroups(); }
};
