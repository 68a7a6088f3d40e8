#pragma once
// Ogg Vorbis encoding of rendered samples. The stream serial number comes from the file name and no
// comment carries a date or a version, so the same samples always give the same bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace AudioGen
{

// Encodes one channel (right empty) or two channels of 44.1 kHz samples in [-1, 1] at the Vorbis VBR
// quality (-0.1 to 1.0). Returns the file bytes, or an empty vector and an error text on failure.
std::vector<uint8_t> EncodeOgg(const std::vector<float>& left, const std::vector<float>& right, float quality,
                               uint32_t serial, std::string& error);

// Stable serial number for a file name (FNV-1a).
uint32_t SerialFor(const std::string& name);

} // namespace AudioGen
