#pragma once
// Sample PNG images of every colour type and bit depth, and the colour each pixel must load as.

#include <cstdint>
#include <string>
#include <vector>

#include "png_writer.h"

namespace inkrelay::test {

struct PngKind {
    int ColourType;
    int BitDepth;
    bool Transparency;  // a tRNS chunk (types without an alpha channel only)
};

// Every colour type in every bit depth PNG allows, with and without tRNS where it can have one.
std::vector<PngKind> AllPngKinds();

// Random samples of the kind; with tRNS, some pixels hold the transparent colour or entry.
PngImage RandomPngImage(const PngKind& kind, uint32_t width, uint32_t height, bool interlaced,
                        uint32_t seed);

// 0x00BBGGRR of pixel (x, y) on white: each channel round((c·a + (1 − a))·255) for c and a
// scaled to 0..1, worked out in floating point so that it does not share the decoder's
// integer arithmetic.
uint32_t ExpectedOnWhite(const PngImage& image, uint32_t x, uint32_t y);

// Found by fuzzing: a 112-byte palette image whose PLTE length reads "usbs" and whose type reads
// sPLT, a chunk of 1,970,496,115 bytes; libpng sized a buffer for it before seeing the end.
std::string SpltLengthFind();

}  // namespace inkrelay::test
