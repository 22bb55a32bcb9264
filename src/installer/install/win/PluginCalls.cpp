#include "installer/install/PluginCalls.h"

#include "installer/install/PluginAnswers.h"
#include "installer/install/PluginServices.h"
#include "installer/install/StepLists.h"
#include "installer/state/InstallerShutdown.h"
#include "installer/state/InstallerState.h"
#include "installer/state/PluginApiTable.h"
#include "installer/system/win/GuardedCall.h"

#include <windows.h>

#include <cstring>

namespace {

using AdvancedEntryExport = std::int32_t(WINAPI*)(PluginApiTable*);
using WindowExport = std::int32_t(WINAPI*)(HWND);
using WindowDcExport = std::int32_t(WINAPI*)(HWND, HDC);
using WindowNumberExport = std::int32_t(WINAPI*)(HWND, std::int32_t);
using WindowBlockExport = std::int32_t(WINAPI*)(HWND, void*);
using WindowBufferExport = std::int32_t(WINAPI*)(HWND, char*, std::int32_t);
using WindowTwoBuffersExport = std::int32_t(WINAPI*)(HWND, char*, std::int32_t, char*, std::int32_t);
using SystemInformationExport = void(WINAPI*)(HWND, std::int32_t*, std::int32_t*);
using OnMessageExport = std::int32_t(WINAPI*)(HWND, UINT, WPARAM, LPARAM, std::int32_t);

constexpr std::int32_t kNoExport = -1;
constexpr std::int32_t kBufferSize = 260;

template <class Function>
Function pluginExport(const char* name)
{
    return reinterpret_cast<Function>(gPluginLibrary.entry(name));
}

HWND mainWindow()
{
    return static_cast<HWND>(gMainInstaller.mainWindow);
}

void destroyPage()
{
    if (pluginHost().destroyCurrentPage)
        pluginHost().destroyCurrentPage();
}

void mergeUninstallData()
{
    if (pluginHost().mergeUninstallData)
        pluginHost().mergeUninstallData();
}

// Calls the export behind the guard; a fault counts as its answer.
template <class Call>
PluginAnswer guardedAnswer(Call call)
{
    PluginAnswer answer;
    answer.raised = !callGuarded([&] { answer.value = call(); });
    return answer;
}

void runStepLists(std::int32_t step)
{
    runStageActions(step);
    runStageFileOps(step);
}

// The page goes, the export runs behind the guard, its answer is mapped; the step's lists run
// unless the wizard stays on the page.
// afterCall takes back what the export left in its buffers, before the lists run.
template <class Call>
std::int32_t stepCall(std::int32_t step, bool exportPresent, Call call, const std::function<void()>& afterCall = {})
{
    std::int32_t result = kNoExport;
    if (exportPresent) {
        destroyPage();
        const PluginAnswer answer = guardedAnswer(call);
        if (afterCall)
            afterCall();
        const std::optional<std::int32_t> mapped = stepResult(answer, gMainInstaller.currentPageIndex != -1);
        if (!mapped)
            endInstaller();
        result = *mapped;
    }
    if (result <= 0)
        runStepLists(step);
    return result;
}

std::int32_t windowStep(std::int32_t step, const char* name)
{
    const auto entry = pluginExport<WindowExport>(name);
    return stepCall(step, entry != nullptr, [&] { return entry(mainWindow()); });
}

// The text in a NUL-terminated buffer of the plug-in's size, cut at its end when longer.
struct PluginBuffer {
    explicit PluginBuffer(const ByteString& text)
    {
        ByteString copy = text;
        std::strncpy(bytes, copy.cStr(), kBufferSize - 1);
    }
    // What the plug-in left, read no further than the buffer.
    ByteString text()
    {
        bytes[kBufferSize - 1] = '\0';
        return ByteString(bytes);
    }
    char bytes[kBufferSize] = {};
};

std::int32_t bufferStep(std::int32_t step, const char* name, ByteString& value)
{
    const auto entry = pluginExport<WindowBufferExport>(name);
    PluginBuffer buffer(value);
    return stepCall(
        step, entry != nullptr, [&] { return entry(mainWindow(), buffer.bytes, kBufferSize); },
        [&] { value = buffer.text(); });
}

// The closing steps: the page goes, the export runs, the data is merged; then the lists, and
// another merge when the file operations did work.
std::int32_t closingStep(std::int32_t step, const char* name)
{
    if (const auto entry = pluginExport<WindowExport>(name)) {
        destroyPage();
        const PluginAnswer answer = guardedAnswer([&] { return entry(mainWindow()); });
        mergeUninstallData();
        if (!answerGoesOn(answer))
            endInstaller();
    }
    runStageActions(step);
    if (runStageFileOps(step) > 0)
        mergeUninstallData();
    return kNoExport;
}

} // namespace

PluginHost& pluginHost()
{
    static PluginHost host;
    return host;
}

void callAdvancedEntry()
{
    const auto entry = pluginExport<AdvancedEntryExport>("AdvancedEntry");
    if (!entry)
        return;
    fillPluginApiTable();
    callGuarded([&] { entry(&gPluginApiTable); });
}

std::int32_t callEntryPoint0()
{
    if (const auto entry = pluginExport<WindowDcExport>("EntryPoint0")) {
        const PluginAnswer answer =
            guardedAnswer([&] { return entry(mainWindow(), static_cast<HDC>(gInstallerContext.screenDc)); });
        if (!answerGoesOn(answer))
            endInstaller();
    }
    runStepLists(0);
    return 0;
}

std::int32_t callEntryPoint1()
{
    const auto entry = pluginExport<WindowExport>("EntryPoint1");
    if (!entry)
        return kNoExport;
    destroyPage();
    if (!answerGoesOn(guardedAnswer([&] { return entry(mainWindow()); })))
        endInstaller();
    return kNoExport;
}

std::int32_t callEntryPoint1_5()
{
    const auto entry = pluginExport<WindowNumberExport>("EntryPoint1_5");
    return stepCall(1, entry != nullptr,
                    [&] { return entry(mainWindow(), static_cast<std::int32_t>(gPackageToc.languageSetLangId)); });
}

std::int32_t callEntryPoint2() { return windowStep(2, "EntryPoint2"); }
std::int32_t callEntryPoint3() { return windowStep(3, "EntryPoint3"); }
std::int32_t callEntryPoint4() { return windowStep(4, "EntryPoint4"); }
std::int32_t callEntryPoint10() { return windowStep(10, "EntryPoint10"); }
std::int32_t callEntryPoint11() { return windowStep(11, "EntryPoint11"); }

std::int32_t callEntryPoint5()
{
    const auto entry = pluginExport<WindowBlockExport>("EntryPoint5");
    return stepCall(5, entry != nullptr, [&] { return entry(mainWindow(), &gSystemInfoResults); });
}

std::int32_t callEntryPoint6()
{
    const auto entry = pluginExport<WindowTwoBuffersExport>("EntryPoint6");
    PluginBuffer name(gInstallerContext.userName);
    PluginBuffer company(gInstallerContext.organisation);
    return stepCall(
        6, entry != nullptr, [&] { return entry(mainWindow(), name.bytes, kBufferSize, company.bytes, kBufferSize); },
        [&] {
            gInstallerContext.userName = name.text();
            gInstallerContext.organisation = company.text();
        });
}

std::int32_t callEntryPoint7()
{
    return bufferStep(7, "EntryPoint7", gPackageToc.installDir);
}

std::int32_t callEntryPoint8()
{
    return bufferStep(8, "EntryPoint8", gPackageToc.shortcutDir);
}

std::int32_t callEntryPoint9()
{
    const auto entry = pluginExport<WindowNumberExport>("EntryPoint9");
    return stepCall(9, entry != nullptr, [&] { return entry(mainWindow(), gPackageToc.installationType); });
}

std::int32_t callEntryPoint12() { return closingStep(12, "EntryPoint12"); }
std::int32_t callEntryPoint13() { return closingStep(13, "EntryPoint13"); }

std::int32_t callEntryPointCustom(std::int32_t pageType)
{
    if (pageType < 15)
        return kNoExport;
    const auto entry = pluginExport<WindowNumberExport>("EntryPointCustom");
    return stepCall(pageType, entry != nullptr, [&] { return entry(mainWindow(), pageType); });
}

std::int32_t callPluginStep(std::int32_t step)
{
    switch (step) {
    case 1: return callEntryPoint1_5();
    case 2: return callEntryPoint2();
    case 3: return callEntryPoint3();
    case 4: return callEntryPoint4();
    case 5: return callEntryPoint5();
    case 6: return callEntryPoint6();
    case 7: return callEntryPoint7();
    case 8: return callEntryPoint8();
    case 9: return callEntryPoint9();
    case 10: return callEntryPoint10();
    case 11: return callEntryPoint11();
    case 12: return callEntryPoint12();
    case 13: return callEntryPoint13();
    default: return callEntryPointCustom(step);
    }
}

void callSystemInformation(void* listBox, std::int32_t* failures, std::int32_t* unknowns)
{
    if (const auto entry = pluginExport<SystemInformationExport>("SystemInformation"))
        callGuarded([&] { entry(static_cast<HWND>(listBox), failures, unknowns); });
}

std::int32_t callOnMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                           std::int32_t pageId)
{
    const auto entry = pluginExport<OnMessageExport>("OnMessage");
    if (!entry)
        return 0;
    std::int32_t answer = 0;
    if (!callGuarded([&] { answer = entry(static_cast<HWND>(window), message, wParam, lParam, pageId); }))
        return 0;
    return answer;
}

bool runPluginStepsBeforeRun()
{
    callEntryPoint1();
    for (std::int32_t step = 1; step <= 10; ++step)
        callPluginStep(step);
    return true;
}

bool runPluginStepsAfterRun()
{
    for (std::int32_t step = 11; step <= 13; ++step)
        callPluginStep(step);
    return true;
}
