#pragma once
#include "tk2v/util/types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct RgbaImage {
    u32 width = 0, height = 0;
    std::vector<u8> rgba; // rows top-down, 4 bytes a pixel

    u32 pixel(u32 x, u32 y) const; // 0xRRGGBBAA
};

bool readPng(const std::string& path, RgbaImage& out);
bool writePng(const std::string& path, const RgbaImage& image);

// Compares the image with tests/fixtures/golden/<name>.png, channel by channel within `tolerance`.
// With RVH_UPDATE_GOLDEN=1 in the environment the golden file is written from the image instead.
// A mismatch leaves the image as <temp>/<name>.actual.png to look at.
::testing::AssertionResult matchesGolden(const std::string& name, const RgbaImage& image, int tolerance = 2);
