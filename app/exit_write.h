#pragma once
// Writing our own files at exit (configure.dat, save.dat) when the write may fail: a folder the
// user cannot write to, a full disk, a file another program locks. The user is told which file
// and why, and may try again; giving up still lets the program end.
#include <windows.h>

#include <functional>
#include <string>

namespace ExitWrite {

// Shows `text` and returns true when the user wants another try.
using AskRetry = std::function<bool(const std::string& text)>;

// Runs `write` (which leaves the system's last error set when it fails) until it succeeds or
// `askRetry` declines; true when the file was written.
bool WriteOrReport(const std::string& path, const std::function<bool()>& write, const AskRetry& askRetry);

// The message for a failed write of `path` with the system error `error`.
std::string FailureText(const std::string& path, DWORD error);

// A Retry/Cancel box owned by `owner` (may be null).
AskRetry RetryBox(HWND owner);
// No question (Windows is ending the session): one try only.
AskRetry NoRetry();
// RetryBox(owner) when the user may be asked, NoRetry() otherwise.
inline AskRetry AskIf(bool mayAsk, HWND owner) { return mayAsk ? RetryBox(owner) : NoRetry(); }

}  // namespace ExitWrite
