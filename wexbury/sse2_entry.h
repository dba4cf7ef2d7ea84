#pragma once
// For the SSE2 files alone. In the 32-bit build only they are compiled with -msse2, and their
// functions are reached through pointers handed out after the processor has said it has SSE2.
// Everything here has internal linkage, so that no copy built for SSE2 can stand in for code
// the other files run on any processor.

#if defined(__GNUC__) && defined(__i386__)
// The rest of the 32-bit build keeps the stack 4-byte aligned; SSE2 spills need 16.
#define WEXBURY_SSE2_ENTRY __attribute__((force_align_arg_pointer))
#else
#define WEXBURY_SSE2_ENTRY
#endif

namespace wexbury {
namespace {

// `fn` where the processor has SSE2 (every 64-bit one), null elsewhere.
template <class Fn>
Fn IfSse2(Fn fn) {
#if defined(__GNUC__) && defined(__i386__)
    if (!__builtin_cpu_supports("sse2")) return nullptr;
#endif
    return fn;
}

}  // namespace
}  // namespace wexbury
