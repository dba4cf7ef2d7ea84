#pragma once
// The caption of the program's own message boxes (the help failure and the first-run message carry
// their own).
inline constexpr char kMessageCaption[] = "Tessaly Capture";
