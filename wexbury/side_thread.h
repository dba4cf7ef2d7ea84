#pragma once
// A second thread for the writer's two-stage row pipeline, and the counting signal its stages
// pass rows with. Win32 threads in the Windows library (it is loaded and unloaded for every save,
// and a thread runtime of its own would be loaded with it), the standard library's elsewhere.
#include <cstddef>

namespace wexbury {

class SideThread {
public:
    SideThread() = default;
    SideThread(const SideThread&) = delete;
    SideThread& operator=(const SideThread&) = delete;
    ~SideThread() { Join(); }

    // Runs fn(arg) on a new thread; false when no thread could be started.
    bool Start(void (*fn)(void*), void* arg);
    // Waits for the thread to end (at once when none runs).
    void Join();

private:
#ifdef _WIN32
    static unsigned long __stdcall Trampoline(void* self);
    void (*fn_)(void*) = nullptr;
    void* arg_ = nullptr;
#endif
    void* handle_ = nullptr;
};

// A count that Post raises and Wait lowers, waiting while it is zero.
class Signal {
public:
    explicit Signal(int initial);
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;
    ~Signal();
    bool Ready() const { return handle_ != nullptr; }
    void Post();
    void Wait();

private:
    void* handle_ = nullptr;
};

}  // namespace wexbury
