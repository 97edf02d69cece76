// Writers for the Windows picture formats the product compiles into its resources.
#pragma once

#include <string>
#include <vector>

#include "image.h"

// Bottom-up BMP with a 256-entry colour table (entries stored as B, G, R, 0).
std::vector<uint8_t> EncodeBmp8(const IndexedImage& image, const std::vector<Rgb>& palette);
// Bottom-up 24-bit BMP without a colour table.
std::vector<uint8_t> EncodeBmp24(const RgbImage& image);
// Icon with a single 256-colour image plus its one-bit AND mask.
std::vector<uint8_t> EncodeIco8(const IndexedImage& image, const std::vector<Rgb>& palette,
                                uint8_t transparentIndex);

// Writes bytes to a file; returns false on failure.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
