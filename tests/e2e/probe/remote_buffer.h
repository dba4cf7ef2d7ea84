// Memory inside another window's process. Common-control messages that fill a caller's buffer
// (SB_GETTEXT, SB_GETPARTS, LVM_GETITEMTEXT, ...) are not copied across processes by the system:
// the pointer in the message must be valid in the target, so the buffer is allocated there.
#pragma once

#include <windows.h>

#include <cstddef>

class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool ok() const { return address_ != nullptr; }
    // The address in the target, as a message parameter; `offset` bytes into the buffer.
    LPARAM at(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }

    bool write(const void* data, size_t size, size_t offset = 0);
    bool read(void* data, size_t size, size_t offset = 0) const;

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_ = 0;
};

// SendMessage with a time limit, so a target that stopped pumping cannot hang the probe.
// Returns false on a timeout; `result` gets the LRESULT.
bool sendWithTimeout(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr,
                     UINT timeoutMs = 5000);
