#include "installer/system/win/GuardedCall.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

// __builtin_setjmp keeps only the frame, stack and resume address: no unwinding runs when the
// guard jumps back, which is what is wanted when the library's frames are simply abandoned.
void* gResumePoint[5];
bool gGuardActive = false;
DWORD gGuardThread = 0;

bool isProcessorFault(DWORD code)
{
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
        return true;
    default:
        return false;
    }
}

// Entered in place of the faulting instruction; returns to the guard.
[[noreturn]] void resumeAtGuard()
{
    __builtin_longjmp(gResumePoint, 1);
}

// The thread continues in resumeAtGuard on a fresh piece of its own stack, well below the
// faulting frame (the system finishes its exception dispatch normally first).
LONG CALLBACK redirectFault(EXCEPTION_POINTERS* pointers)
{
    if (!gGuardActive || GetCurrentThreadId() != gGuardThread ||
        !isProcessorFault(pointers->ExceptionRecord->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    CONTEXT* context = pointers->ContextRecord;
    constexpr std::uintptr_t kHeadroom = 512;
#if defined(_M_X64) || defined(__x86_64__)
    // At a function's entry the stack is 8 bytes past a 16-byte boundary (its return address).
    context->Rsp = ((context->Rsp - kHeadroom) & ~std::uintptr_t(15)) - 8;
    context->Rip = reinterpret_cast<std::uintptr_t>(&resumeAtGuard);
#else
    context->Esp = ((context->Esp - kHeadroom) & ~std::uintptr_t(15)) - 4;
    context->Eip = reinterpret_cast<std::uintptr_t>(&resumeAtGuard);
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

#if !(defined(_M_X64) || defined(__x86_64__))
// The 32-bit thread's chain of exception frames: frames the library registered lie on the
// abandoned stack, so the chain is put back as it was before the call.
void* currentExceptionChain()
{
    return reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList;
}
void restoreExceptionChain(void* chain)
{
    reinterpret_cast<NT_TIB*>(NtCurrentTeb())->ExceptionList = static_cast<_EXCEPTION_REGISTRATION_RECORD*>(chain);
}
#endif

// Kept apart so that the compiler cannot keep values across the jump in registers.
__attribute__((noinline)) bool runBehindResumePoint(void (*body)(void*), void* context)
{
    if (__builtin_setjmp(gResumePoint) != 0)
        return false;
    body(context);
    return true;
}

} // namespace

bool runGuarded(void (*body)(void*), void* context)
{
    static PVOID handler = AddVectoredExceptionHandler(1, redirectFault);
    if (!handler || (gGuardActive && GetCurrentThreadId() != gGuardThread)) {
        body(context);
        return true;
    }
#if !(defined(_M_X64) || defined(__x86_64__))
    void* const chain = currentExceptionChain();
#endif
    // A guarded call may run another (the plug-in's dialog sends the page window a message that
    // goes to the plug-in again): the inner one's fault returns to the inner guard, and the outer
    // guard is back in place afterwards, however the inner call ended.
    struct ActiveGuard {
        ActiveGuard() : wasActive(gGuardActive)
        {
            std::memcpy(outer, gResumePoint, sizeof(outer));
            gGuardThread = GetCurrentThreadId();
            gGuardActive = true;
        }
        ~ActiveGuard()
        {
            std::memcpy(gResumePoint, outer, sizeof(outer));
            gGuardActive = wasActive;
        }
        void* outer[5];
        bool wasActive;
    } active;
    const bool completed = runBehindResumePoint(body, context);
#if !(defined(_M_X64) || defined(__x86_64__))
    if (!completed)
        restoreExceptionChain(chain);
#endif
    return completed;
}
