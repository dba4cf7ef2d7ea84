#include "framework/window_table.h"

#include <unordered_map>

namespace WindowTable {
namespace {

SRWLOCK g_lock = SRWLOCK_INIT;

// Never destroyed: windows of static objects unbind during the program's own exit, after any
// static table would already be gone.
std::unordered_map<HWND, CWnd*>& Bindings() {
    static auto* bindings = new std::unordered_map<HWND, CWnd*>();
    return *bindings;
}

}  // namespace

CWnd* Find(HWND hWnd) {
    if (!hWnd) return nullptr;
    ::AcquireSRWLockShared(&g_lock);
    auto& bindings = Bindings();
    auto found = bindings.find(hWnd);
    CWnd* wnd = found == bindings.end() ? nullptr : found->second;
    ::ReleaseSRWLockShared(&g_lock);
    return wnd;
}

void Add(HWND hWnd, CWnd* wnd) {
    ::AcquireSRWLockExclusive(&g_lock);
    Bindings()[hWnd] = wnd;
    ::ReleaseSRWLockExclusive(&g_lock);
}

void Remove(HWND hWnd, CWnd* wnd) {
    ::AcquireSRWLockExclusive(&g_lock);
    auto& bindings = Bindings();
    auto found = bindings.find(hWnd);
    if (found != bindings.end() && found->second == wnd) bindings.erase(found);
    ::ReleaseSRWLockExclusive(&g_lock);
}

}  // namespace WindowTable
