#pragma once
// Where this process loads libraries from. Our own libraries sit beside the executable and the
// system's in its folder; the current folder (which the file dialogs move wherever the user
// browses) and the folders of PATH are no place to load code from.
namespace LibrarySearch {

// Takes the current folder out of the library search and, where the system offers it, limits the
// search to the program's folder and the system folder. Run once at start, before any load.
void LimitToProgramAndSystemFolders();

}  // namespace LibrarySearch
