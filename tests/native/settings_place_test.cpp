// Which folder holds a settings file: the program's own while it can be written, the user's
// otherwise, without losing a file that was shipped beside a read-only program.
#include <gtest/gtest.h>

#include "app/settings_place.h"

namespace {

SettingsPlaceChoice Choose(bool writable, bool beside, bool inUser) {
    SettingsPlaceFacts facts;
    facts.programFolderWritable = writable;
    facts.besideProgramExists = beside;
    facts.inUserFolderExists = inUser;
    return ChooseSettingsPlace(facts);
}

}  // namespace

TEST(SettingsPlace, WritableProgramFolderKeepsEveryFileBesideTheProgram) {
    // A portable copy stays self-contained, even when another copy left files in the user's folder.
    for (bool beside : {false, true})
        for (bool inUser : {false, true}) {
            const SettingsPlaceChoice c = Choose(true, beside, inUser);
            EXPECT_EQ(c.place, SettingsPlace::kBesideProgram) << beside << inUser;
            EXPECT_FALSE(c.copyFromBesideProgram) << beside << inUser;
        }
}

TEST(SettingsPlace, ReadOnlyProgramFolderMovesToTheUserFolder) {
    const SettingsPlaceChoice fresh = Choose(false, false, false);
    EXPECT_EQ(fresh.place, SettingsPlace::kUserFolder);
    EXPECT_FALSE(fresh.copyFromBesideProgram);

    // Settings shipped beside the program are taken along once...
    const SettingsPlaceChoice shipped = Choose(false, true, false);
    EXPECT_EQ(shipped.place, SettingsPlace::kUserFolder);
    EXPECT_TRUE(shipped.copyFromBesideProgram);

    // ...and never again over what the user has changed since.
    const SettingsPlaceChoice changed = Choose(false, true, true);
    EXPECT_EQ(changed.place, SettingsPlace::kUserFolder);
    EXPECT_FALSE(changed.copyFromBesideProgram);

    EXPECT_FALSE(Choose(false, false, true).copyFromBesideProgram);
}
