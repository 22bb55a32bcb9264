#include "gui/win/TApplication.h"

#include "base/ExceptionHandler.h"
#include "base/Exceptions.h"

#include <memory>

namespace kv {

// Exceptions caught at the edges of the engine's callbacks (player timer, MIDI driver) reach the
// application too.
TApplication::TApplication() : TComponent(nullptr)
{
    SetApplicationExceptionHandler([this](std::exception_ptr Error) { HandleException(Error); });
}

TApplication::~TApplication()
{
    SetApplicationExceptionHandler(nullptr);
}

TApplication* Application()
{
    static std::unique_ptr<TApplication> application = std::make_unique<TApplication>();
    return application.get();
}

void TApplication::HandleException(std::exception_ptr Error)
{
    std::string message = "Unknown exception";
    try {
        std::rethrow_exception(Error);
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
    }
    ShowException(message);
}

void TApplication::ShowException(const std::string& Message)
{
    if (OnException) {
        OnException(Message);
        return;
    }
    MessageBoxW(nullptr, Utf8ToWide(ExceptionBoxText(Message)).c_str(), Utf8ToWide(FTitle).c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

bool TApplication::ProcessMessage(MSG& Msg)
{
    if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    bool handled = false;
    if (OnMessage) GuardedCall([&] { handled = OnMessage(Msg); });
    if (!handled) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
    return true;
}

bool TApplication::HandleMessage()
{
    MSG msg;
    if (ProcessMessage(msg)) return true;
    if (!FTerminated) WaitMessage();
    return false;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Run()
{
    while (!FTerminated) HandleMessage();
}

void TApplication::Terminate()
{
    FTerminated = true;
    PostQuitMessage(0);
}

std::wstring Utf8ToWide(const std::string& Text)
{
    if (Text.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), wide.data(), length);
    return wide;
}

std::string WideToUtf8(const std::wstring& Text)
{
    if (Text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

} // namespace kv
