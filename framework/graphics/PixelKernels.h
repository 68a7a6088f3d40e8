// The pixel rules as small functions, shared by every primitive, plus the vectorised partial-alpha kernels
// (SSE2 and AVX2, picked at run time) that must give exactly the scalar results.
#pragma once

#include "framework/graphics/Color.h"

#include <cstdint>

namespace Zestra::Pixels
{

inline uint32_t Alpha(uint32_t p) { return p >> 24; }

// A source pixel tinted by a colour: channels times colour / 255, alpha times colour alpha / 255.
inline uint32_t Tint(uint32_t s, const Color& c)
{
    uint32_t a = ((s >> 24) * uint32_t(c.mAlpha)) / 255;
    uint32_t r = (((s >> 16) & 0xFF) * uint32_t(c.mRed)) / 255;
    uint32_t g = (((s >> 8) & 0xFF) * uint32_t(c.mGreen)) / 255;
    uint32_t b = ((s & 0xFF) * uint32_t(c.mBlue)) / 255;
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Quick (nearest) scaling: destination pixel i of a row destSize wide takes source pixel i * srcSize / destSize,
// counted from the source start, i.e. the source position steps by srcSize / destSize per destination pixel. Whole
// numbers, so a 4-pixel row shrunk to 3 takes 0, 1, 2 exactly and never steps past the source end.
inline int QuickScaleStep(int i, int srcSize, int destSize)
{
    return int((int64_t(i) * srcSize) / destSize);
}

inline bool IsWhite(const Color& c)
{
    return c.mRed == 255 && c.mGreen == 255 && c.mBlue == 255 && c.mAlpha == 255;
}

// Normal (source-over) rule for straight alpha. A full source weight takes the source channels as they are, so
// opaque pixels and anything drawn onto transparent pixels stay exact.
inline uint32_t BlendNormal(uint32_t d, uint32_t s)
{
    uint32_t a = s >> 24;
    if (a == 0)
        return d;
    if (a == 255)
        return s;
    uint32_t da = d >> 24;
    if (da == 0)
        return s;
    uint32_t A = da + (255 - da) * a / 255;
    uint32_t w = a * 255 / A;
    if (w >= 255)
        return (A << 24) | (s & 0xFFFFFF);
    uint32_t iw = 256 - w;
    uint32_t r = ((((s >> 16) & 0xFF) * w) + (((d >> 16) & 0xFF) * iw)) >> 8;
    uint32_t g = ((((s >> 8) & 0xFF) * w) + (((d >> 8) & 0xFF) * iw)) >> 8;
    uint32_t b = (((s & 0xFF) * w) + ((d & 0xFF) * iw)) >> 8;
    return (A << 24) | (r << 16) | (g << 8) | b;
}

// The same rule when the destination is opaque: the weight is the source alpha and the result stays opaque.
inline uint32_t BlendOntoOpaque(uint32_t d, uint32_t s)
{
    uint32_t a = s >> 24;
    if (a == 0)
        return d;
    if (a == 255)
        return s;
    uint32_t ia = 256 - a;
    uint32_t r = ((((s >> 16) & 0xFF) * a) + (((d >> 16) & 0xFF) * ia)) >> 8;
    uint32_t g = ((((s >> 8) & 0xFF) * a) + (((d >> 8) & 0xFF) * ia)) >> 8;
    uint32_t b = (((s & 0xFF) * a) + ((d & 0xFF) * ia)) >> 8;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// Additive rule: each colour channel saturates at 255, the destination alpha stays. With useAlpha the source
// colour is weighted by its alpha / 256.
inline uint32_t BlendAdditive(uint32_t d, uint32_t s, bool useAlpha)
{
    uint32_t r = (s >> 16) & 0xFF, g = (s >> 8) & 0xFF, b = s & 0xFF;
    if (useAlpha)
    {
        uint32_t a = s >> 24;
        r = r * a / 256;
        g = g * a / 256;
        b = b * a / 256;
    }
    uint32_t dr = ((d >> 16) & 0xFF) + r, dg = ((d >> 8) & 0xFF) + g, db = (d & 0xFF) + b;
    if (dr > 255)
        dr = 255;
    if (dg > 255)
        dg = 255;
    if (db > 255)
        db = 255;
    return (d & 0xFF000000u) | (dr << 16) | (dg << 8) | db;
}

// Blends count source pixels onto opaque destination pixels with BlendOntoOpaque.
using BlendRowFn = void (*)(uint32_t* dest, const uint32_t* src, int count);
// Blends one translucent colour onto count opaque destination pixels with BlendOntoOpaque.
using FillRowFn = void (*)(uint32_t* dest, uint32_t color, int count);

// Copies count pixels.
using CopyRowFn = void (*)(uint32_t* dest, const uint32_t* src, int count);

void BlendRowScalar(uint32_t* dest, const uint32_t* src, int count);
void FillRowScalar(uint32_t* dest, uint32_t color, int count);
void BlendRowSSE2(uint32_t* dest, const uint32_t* src, int count);
void FillRowSSE2(uint32_t* dest, uint32_t color, int count);
void BlendRowAVX2(uint32_t* dest, const uint32_t* src, int count);
void FillRowAVX2(uint32_t* dest, uint32_t color, int count);
void CopyRowSSE2(uint32_t* dest, const uint32_t* src, int count);
void CopyRowAVX2(uint32_t* dest, const uint32_t* src, int count);
bool CpuHasAVX2();

// The best kernels for this CPU.
BlendRowFn BestBlendRow();
FillRowFn BestFillRow();
CopyRowFn BestCopyRow();

} // namespace Zestra::Pixels
