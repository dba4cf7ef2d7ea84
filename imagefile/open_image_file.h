#pragma once
// Decoding a BMP, GIF or JPEG file (through the system's picture loader) or a PNG file (through our
// own decoder) into a bitmap in the display's format. The bitmap given is replaced only by a picture that decoded completely.
#include <string>

#include "framework/gdi.h"

enum class OpenImageStatus {
    kOpened,
    kCannotOpen,  // missing, or held open by another program that lets nobody read it
    kNotAnImage,  // not a BMP, GIF, JPEG or PNG picture that decodes
    kTooLarge,    // beyond ImageFileCheck's limits, or more memory than is free
};

OpenImageStatus OpenImageFile(const std::string& path, CBitmap& bitmap);
