#pragma once
// The Open dialog with OFN_ALLOWMULTISELECT: its selection buffer holds many files, not one path
// of MAX_PATH characters. What the dialog leaves there is a folder followed by file names (or one
// full path), each ending with a zero byte, with an empty text at the end.
#include <vector>

#include "framework/file_dialog.h"

class CMultiFileDialog : public CFileDialog {
public:
    // Room for about two thousand names of thirty characters.
    static constexpr size_t kSelectionChars = 65536;

    CMultiFileDialog(const char* defaultExt, const char* fileName, DWORD flags, const char* filter,
                     CWnd* parent = nullptr);

    const char* Selection() const { return m_selection.data(); }
    size_t SelectionSize() const { return m_selection.size(); }

private:
    std::vector<char> m_selection;
};
