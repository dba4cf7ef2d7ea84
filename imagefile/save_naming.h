#pragma once
// File naming of saves (platform-free): the formats with their extensions, and the numbered names
// of automatic saves.
#include <functional>
#include <string>
#include <vector>

namespace SaveNaming {

enum Format { kBmp = 0, kJpeg = 1, kGif = 2, kPng = 3 };
// The highest format value a setting may hold: every value from kBmp to it names a format.
constexpr int kHighestFormat = kPng;
inline bool IsKnownFormat(int format) { return format >= kBmp && format <= kHighestFormat; }

// ".bmp", ".jpg", ".gif" or ".png"; empty for any other value.
const char* ExtensionOf(int format);

// The number part of an automatic name: "00%d" below 10 (negative numbers included), "0%d" below
// 100, "%d" from 100 on: 1 -> "001", 42 -> "042", 100 -> "100", 1234 -> "1234", -5 -> "00-5".
std::string NumberText(int number);

struct AutoName {
    std::string path;       // folder + base name + number, without extension
    std::string entryName;  // base name + number, without extension
};
// The folder already ends with a backslash; nothing is added between the parts.
AutoName MakeAutoSaveName(const std::string& folder, const std::string& baseName, int number);

// The number after `number`: numbers never turn negative, 2147483647 is followed by 1.
int NextNumber(int number);

// An automatic save never replaces an earlier file. From `number` on, the first number whose file
// (folder + base name + number text + extension) `exists` denies; `nextNumber` is the one after it.
// `found` is false only when `maxTries` numbers in a row were all taken.
struct FreeAutoName {
    AutoName name;
    int number = 0;
    int nextNumber = 0;
    bool found = false;
};
FreeAutoName FirstFreeAutoSaveName(const std::string& folder, const std::string& baseName,
                                   const std::string& extension, int number,
                                   const std::function<bool(const std::string& path)>& exists,
                                   int maxTries = 1000000);

// The file name of `path` without its folder and without the text from its last "." on.
std::string TitleOf(const std::string& path);
// True when the file name of `path` has an extension (a "." after its last backslash or slash).
bool HasExtension(const std::string& path);

// The folders to create, outermost first, so that `folder` exists ("c:\a\b\" -> "c:\a", "c:\a\b").
// Drive roots and UNC server shares are never in the list.
std::vector<std::string> FoldersToCreate(const std::string& folder);

}  // namespace SaveNaming
