#include "app/exit_write.h"

#include "app/message_caption.h"

namespace ExitWrite {
namespace {

std::string SystemReason(DWORD error) {
    char text[512] = "";
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                    0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        --length;
    if (length == 0) return "System error " + std::to_string(error) + ".";
    return std::string(text, length);
}

}  // namespace

bool WriteOrReport(const std::string& path, const std::function<bool()>& write, const AskRetry& askRetry) {
    for (;;) {
        if (write()) return true;
        const DWORD error = ::GetLastError();
        if (!askRetry(FailureText(path, error))) return false;
    }
}

std::string FailureText(const std::string& path, DWORD error) {
    return "Can't write the file\n" + path + "\n\n" + SystemReason(error) +
           "\n\nRetry to try again, or Cancel to go on without it.";
}

AskRetry RetryBox(HWND owner) {
    return [owner](const std::string& text) {
        return ::MessageBoxA(owner, text.c_str(), kMessageCaption,
                             MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND) == IDRETRY;
    };
}

AskRetry NoRetry() {
    return [](const std::string&) { return false; };
}

}  // namespace ExitWrite
