#include "base/ExceptionHandler.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace kv {

namespace {

std::mutex& HandlerLock()
{
    static std::mutex lock;
    return lock;
}

TExceptionHandler& InstalledHandler()
{
    static TExceptionHandler handler;
    return handler;
}

void WriteToStandardError(const std::exception_ptr& error) noexcept
{
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "Unknown exception\n");
    }
}

} // namespace

void SetApplicationExceptionHandler(TExceptionHandler Handler)
{
    std::lock_guard guard(HandlerLock());
    InstalledHandler() = std::move(Handler);
}

void HandleApplicationException(std::exception_ptr Error) noexcept
{
    TExceptionHandler handler;
    try {
        std::lock_guard guard(HandlerLock());
        handler = InstalledHandler();
    } catch (...) {
    }
    if (!handler) {
        WriteToStandardError(Error);
        return;
    }
    try {
        handler(Error);
    } catch (...) {
        WriteToStandardError(std::current_exception());
    }
}

std::string ExceptionBoxText(const std::string& Message)
{
    if (Message.empty()) return Message;
    const char last = Message.back();
    return last == '.' || last == '!' || last == '?' ? Message : Message + '.';
}

} // namespace kv
