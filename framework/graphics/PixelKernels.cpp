#include "framework/graphics/PixelKernels.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZESTRA_X86 1
#endif

namespace Zestra::Pixels
{

void BlendRowScalar(uint32_t* dest, const uint32_t* src, int count)
{
    for (int i = 0; i < count; ++i)
        dest[i] = BlendOntoOpaque(dest[i], src[i]);
}

void FillRowScalar(uint32_t* dest, uint32_t color, int count)
{
    for (int i = 0; i < count; ++i)
        dest[i] = BlendOntoOpaque(dest[i], color);
}

#ifdef ZESTRA_X86

// Eight 16-bit lanes per four pixels hold (s * a + d * (256 - a)); every partial sum stays below 65281, so plain
// 16-bit arithmetic is exact and matches the scalar rule bit for bit.
namespace
{

// Four pixels of BlendOntoOpaque; every partial sum stays below 65281, so 16-bit lanes are exact.
inline __m128i Blend4(__m128i s, __m128i d)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i k256 = _mm_set1_epi16(256);
    __m128i sLo = _mm_unpacklo_epi8(s, zero);
    __m128i sHi = _mm_unpackhi_epi8(s, zero);
    __m128i aLo = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLo, 0xFF), 0xFF);
    __m128i aHi = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHi, 0xFF), 0xFF);
    __m128i rLo = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(sLo, aLo),
                                               _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(k256, aLo))),
                                 8);
    __m128i rHi = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(sHi, aHi),
                                               _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(k256, aHi))),
                                 8);
    __m128i r = _mm_or_si128(_mm_packus_epi16(rLo, rHi), _mm_set1_epi32(int(0xFF000000u)));
    __m128i opaque = _mm_cmpeq_epi32(_mm_srli_epi32(s, 24), _mm_set1_epi32(255));
    return _mm_or_si128(_mm_and_si128(opaque, s), _mm_andnot_si128(opaque, r));
}

__attribute__((target("avx2"))) inline __m256i Blend8(__m256i s, __m256i d)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i k256 = _mm256_set1_epi16(256);
    __m256i sLo = _mm256_unpacklo_epi8(s, zero);
    __m256i sHi = _mm256_unpackhi_epi8(s, zero);
    __m256i aLo = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sLo, 0xFF), 0xFF);
    __m256i aHi = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sHi, 0xFF), 0xFF);
    __m256i rLo = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(sLo, aLo),
                         _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), _mm256_sub_epi16(k256, aLo))),
        8);
    __m256i rHi = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(sHi, aHi),
                         _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), _mm256_sub_epi16(k256, aHi))),
        8);
    __m256i r = _mm256_or_si256(_mm256_packus_epi16(rLo, rHi), _mm256_set1_epi32(int(0xFF000000u)));
    return _mm256_blendv_epi8(r, s, _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), _mm256_set1_epi32(255)));
}

} // namespace

void BlendRowSSE2(uint32_t* dest, const uint32_t* src, int count)
{
    if (count < 4)
    {
        BlendRowScalar(dest, src, count);
        return;
    }
    __m128i sTail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + count - 4));
    __m128i dTail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + count - 4));
    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), Blend4(s, d));
    }
    if (i < count)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + count - 4), Blend4(sTail, dTail));
}

void FillRowSSE2(uint32_t* dest, uint32_t color, int count)
{
    uint32_t a = color >> 24;
    if (a == 0)
        return;
    if (a == 255)
    {
        for (int i = 0; i < count; ++i)
            dest[i] = color;
        return;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    __m128i c = _mm_unpacklo_epi8(_mm_set1_epi32(int(color)), zero);
    __m128i term = _mm_mullo_epi16(c, _mm_set1_epi16(short(a)));
    __m128i ia = _mm_set1_epi16(short(256 - a));
    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        __m128i rLo = _mm_srli_epi16(_mm_add_epi16(term, _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), ia)), 8);
        __m128i rHi = _mm_srli_epi16(_mm_add_epi16(term, _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), ia)), 8);
        __m128i r = _mm_or_si128(_mm_packus_epi16(rLo, rHi), alphaMask);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), r);
    }
    FillRowScalar(dest + i, color, count - i);
}

// The tail is one more full vector ending at the last pixel, computed from the destination as it was before
// the loop, so the pixels it shares with the loop's last vector get the same values again (masked stores are
// slow on some processors).
__attribute__((target("avx2"))) void BlendRowAVX2(uint32_t* dest, const uint32_t* src, int count)
{
    if (count < 8)
    {
        BlendRowSSE2(dest, src, count);
        return;
    }
    __m256i sTail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + count - 8));
    __m256i dTail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + count - 8));
    int i = 0;
    for (; i + 8 <= count; i += 8)
    {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), Blend8(s, d));
    }
    if (i < count)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + count - 8), Blend8(sTail, dTail));
}

__attribute__((target("avx2"))) void FillRowAVX2(uint32_t* dest, uint32_t color, int count)
{
    uint32_t a = color >> 24;
    if (a == 0 || a == 255 || count < 8)
    {
        FillRowSSE2(dest, color, count);
        return;
    }
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    __m256i c = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(color)), zero);
    __m256i term = _mm256_mullo_epi16(c, _mm256_set1_epi16(short(a)));
    __m256i ia = _mm256_set1_epi16(short(256 - a));
    int i = 0;
    for (; i + 8 <= count; i += 8)
    {
        __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
        __m256i rLo =
            _mm256_srli_epi16(_mm256_add_epi16(term, _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), ia)), 8);
        __m256i rHi =
            _mm256_srli_epi16(_mm256_add_epi16(term, _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), ia)), 8);
        __m256i r = _mm256_or_si256(_mm256_packus_epi16(rLo, rHi), alphaMask);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), r);
    }
    FillRowSSE2(dest + i, color, count - i);
}

void CopyRowSSE2(uint32_t* dest, const uint32_t* src, int count)
{
    if (count < 4)
    {
        for (int i = 0; i < count; ++i)
            dest[i] = src[i];
        return;
    }
    __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + count - 4));
    for (int i = 0; i + 4 <= count; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + count - 4), tail);
}

__attribute__((target("avx2"))) void CopyRowAVX2(uint32_t* dest, const uint32_t* src, int count)
{
    if (count < 8)
    {
        CopyRowSSE2(dest, src, count);
        return;
    }
    __m256i tail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + count - 8));
    for (int i = 0; i + 8 <= count; i += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i),
                            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + count - 8), tail);
}

bool CpuHasAVX2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

#else

void BlendRowSSE2(uint32_t* dest, const uint32_t* src, int count) { BlendRowScalar(dest, src, count); }
void FillRowSSE2(uint32_t* dest, uint32_t color, int count) { FillRowScalar(dest, color, count); }
void BlendRowAVX2(uint32_t* dest, const uint32_t* src, int count) { BlendRowScalar(dest, src, count); }
void FillRowAVX2(uint32_t* dest, uint32_t color, int count) { FillRowScalar(dest, color, count); }
void CopyRowSSE2(uint32_t* dest, const uint32_t* src, int count) { std::memcpy(dest, src, size_t(count) * 4); }
void CopyRowAVX2(uint32_t* dest, const uint32_t* src, int count) { std::memcpy(dest, src, size_t(count) * 4); }
bool CpuHasAVX2() { return false; }

#endif

BlendRowFn BestBlendRow()
{
    static const BlendRowFn fn = CpuHasAVX2() ? BlendRowAVX2 : BlendRowSSE2;
    return fn;
}

CopyRowFn BestCopyRow()
{
    static const CopyRowFn fn = CpuHasAVX2() ? CopyRowAVX2 : CopyRowSSE2;
    return fn;
}

FillRowFn BestFillRow()
{
    static const FillRowFn fn = CpuHasAVX2() ? FillRowAVX2 : FillRowSSE2;
    return fn;
}

} // namespace Zestra::Pixels
