#include "framework/multi_file_dialog.h"

CMultiFileDialog::CMultiFileDialog(const char* defaultExt, const char* fileName, DWORD flags, const char* filter,
                                   CWnd* parent)
    : CFileDialog(true, defaultExt, fileName, flags | OFN_ALLOWMULTISELECT, filter, parent),
      m_selection(kSelectionChars, '\0') {
    if (fileName) lstrcpynA(m_selection.data(), fileName, static_cast<int>(m_selection.size()));
    m_ofn.lpstrFile = m_selection.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_selection.size());
}
