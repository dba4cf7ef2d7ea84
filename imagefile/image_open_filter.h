#pragma once
// The file types offered when an image is opened (File > Open) or added to the history by hand.
inline constexpr char kImageOpenFilter[] =
    "Image files(*.bmp;*.gif;*.jpg;*.jpeg;*.png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|BMP-Bitmap(*.bmp) |*.bmp|"
    "GIF(*.gif)|*.gif|JPG-JPEG(*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG(*.png)|*.png||";
