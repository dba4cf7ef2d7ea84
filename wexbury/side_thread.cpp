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

namespace {
struct Call {
    void (*fn)(void*);
    void* arg;
};
DWORD WINAPI Trampoline(void* p) {
    const Call call = *static_cast<Call*>(p);
    delete static_cast<Call*>(p);
    call.fn(call.arg);
    return 0;
}
}  // namespace

bool SideThread::Start(void (*fn)(void*), void* arg) {
    Join();
    Call* call = new (std::nothrow) Call{fn, arg};
    if (!call) return false;
    handle_ = CreateThread(nullptr, 0, Trampoline, call, 0, nullptr);
    if (!handle_) delete call;
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
