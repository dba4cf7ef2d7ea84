#pragma once
// The note shown when the user picks the direct grab, from the Capture menu or the Configure sheet.

inline constexpr char kDirectXNoteCaption[] = "DirectX Capture Notes";
inline constexpr char kDirectXNoteText[] =
    "Note for DirectX Full Screen Capture Settings:\n"
    "1.Use hotkey.\n"
    "2.No message dialog be shown.\n"
    "3.No 'save as' dialog after capture. Use auto-save.";
