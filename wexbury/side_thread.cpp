#include "wexbury/side_thread.h"

#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

namespace wexbury {

#ifdef _WIN32

// Nothing here may use the C++ library's operator new: in this build it brings the POSIX thread
// library along, which keeps two handles for every thread of ours it meets and frees them only
// when the library is unloaded, not when the thread ends; the program loads and unloads us for
// every save.
DWORD WINAPI SideThread::Trampoline(void* self) {
    SideThread* thread = static_cast<SideThread*>(self);
    thread->fn_(thread->arg_);
    return 0;
}

bool SideThread::Start(void (*fn)(void*), void* arg) {
    Join();
    fn_ = fn;
    arg_ = arg;
    handle_ = CreateThread(nullptr, 0, &SideThread::Trampoline, this, 0, nullptr);
    return handle_ != nullptr;
}

void SideThread::Join() {
    if (!handle_) return;
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
    handle_ = nullptr;
}

Signal::Signal(int initial) { handle_ = CreateSemaphoreA(nullptr, initial, 0x7fffffff, nullptr); }
Signal::~Signal() {
    if (handle_) CloseHandle(handle_);
}
void Signal::Post() { ReleaseSemaphore(handle_, 1, nullptr); }
void Signal::Wait() { WaitForSingleObject(handle_, INFINITE); }

#else

namespace {
struct Count {
    std::mutex mutex;
    std::condition_variable changed;
    int value;
};
}  // namespace

bool SideThread::Start(void (*fn)(void*), void* arg) {
    Join();
    handle_ = new (std::nothrow) std::thread(fn, arg);
    return handle_ != nullptr;
}

void SideThread::Join() {
    if (!handle_) return;
    auto* thread = static_cast<std::thread*>(handle_);
    thread->join();
    delete thread;
    handle_ = nullptr;
}

Signal::Signal(int initial) { handle_ = new (std::nothrow) Count{{}, {}, initial}; }
Signal::~Signal() { delete static_cast<Count*>(handle_); }
void Signal::Post() {
    Count* c = static_cast<Count*>(handle_);
    {
        std::lock_guard<std::mutex> lock(c->mutex);
        ++c->value;
    }
    c->changed.notify_one();
}
void Signal::Wait() {
    Count* c = static_cast<Count*>(handle_);
    std::unique_lock<std::mutex> lock(c->mutex);
    c->changed.wait(lock, [c] { return c->value > 0; });
    --c->value;
}

#endif

}  // namespace wexbury
