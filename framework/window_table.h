#pragma once
// Which of our objects owns which window. The table lives in our own memory, so a handle that some
// other program (or any code) names in a message finds an object only if we bound it ourselves;
// a property on the window would be trusted from whoever set it.
#include <windows.h>

class CWnd;

namespace WindowTable {

// The object bound to `hWnd` in this module, or null.
CWnd* Find(HWND hWnd);
void Add(HWND hWnd, CWnd* wnd);
// Forgets `hWnd` only while it is still bound to `wnd`.
void Remove(HWND hWnd, CWnd* wnd);

}  // namespace WindowTable
