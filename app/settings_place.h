#pragma once
// Where a settings file of ours belongs (platform-free). The program's own folder is the first
// choice, so a copy carried on a stick keeps its settings with it; a folder the user cannot write
// (one shared by all users) would lose every change at exit, so the user's own folder takes over.

enum class SettingsPlace { kBesideProgram, kUserFolder };

struct SettingsPlaceFacts {
    bool programFolderWritable = true;
    bool besideProgramExists = false;  // the file is in the program's folder
    bool inUserFolderExists = false;   // the file is in the user's folder
};

struct SettingsPlaceChoice {
    SettingsPlace place = SettingsPlace::kBesideProgram;
    // The file beside the program is copied to the user's folder before first use, so settings
    // shipped with a read-only copy are read, and kept, from there.
    bool copyFromBesideProgram = false;
};

SettingsPlaceChoice ChooseSettingsPlace(const SettingsPlaceFacts& facts);
