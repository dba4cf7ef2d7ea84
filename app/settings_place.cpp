#include "app/settings_place.h"

SettingsPlaceChoice ChooseSettingsPlace(const SettingsPlaceFacts& facts) {
    SettingsPlaceChoice choice;
    if (facts.programFolderWritable) return choice;
    choice.place = SettingsPlace::kUserFolder;
    // A copy already in the user's folder is newer than anything beside a folder nobody can write.
    choice.copyFromBesideProgram = facts.besideProgramExists && !facts.inUserFolderExists;
    return choice;
}
