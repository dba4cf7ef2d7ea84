#pragma once
// The drawing tools' colour and width, and their file annotate.dat: 12 bytes, "TANN", the colour
// (0x00BBGGRR) and the width, little-endian. A file of another size, a wrong tag or a value out of
// range loads the defaults.
#include <cstdint>
#include <string>

struct AnnotateOptions {
    static constexpr uint32_t kDefaultColour = 0x000000FF;  // red
    static constexpr int kDefaultWidth = 4;

    uint32_t colour = kDefaultColour;
    int width = kDefaultWidth;  // 2, 4 or 8 image pixels

    static bool ValidWidth(int width) { return width == 2 || width == 4 || width == 8; }

    std::string Encode() const;
    // False (and the defaults in `out`) when `data` is not a sound file.
    static bool Decode(const std::string& data, AnnotateOptions& out);
};
