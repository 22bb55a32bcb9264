#pragma once
// The application object: runs the message loop, and is where every exception that reaches a
// window procedure, timer or callback ends up. Unless OnException is set, it is shown in the
// default error box (stop icon, captioned with the title) and the program goes on.
#include "base/TComponent.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace kv {

using TExceptionEvent = std::function<void(const std::string& Message)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    std::string ClassName() const override { return "TApplication"; }

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }

    // Set, it receives each caught exception's message instead of the error box.
    TExceptionEvent OnException;
    // Called with every message before it is dispatched; true when it was handled.
    std::function<bool(MSG& Msg)> OnMessage;

    // Takes the exception that is being handled (call from a catch block).
    void HandleException(std::exception_ptr Error);
    void ShowException(const std::string& Message);

    // One message taken from the queue and dispatched; false when the queue was empty.
    bool HandleMessage();
    void ProcessMessages();
    // Runs the loop until Terminate or WM_QUIT.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }

private:
    bool ProcessMessage(MSG& Msg);

    std::string FTitle;
    bool FTerminated = false;
};

// The one application object, created on first use.
TApplication* Application();

// Runs Body; an exception it raises goes to the application instead of crossing the system
// frame that called us. Returns false when Body raised.
template <typename F>
bool GuardedCall(F&& Body) noexcept
{
    try {
        Body();
        return true;
    } catch (...) {
        try {
            Application()->HandleException(std::current_exception());
        } catch (...) {
        }
        return false;
    }
}

std::wstring Utf8ToWide(const std::string& Text);
std::string WideToUtf8(const std::wstring& Text);

} // namespace kv
