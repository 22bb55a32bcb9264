#pragma once
// The calls into the package's plug-in library, each behind the exception guard, and the step
// lists that follow them. A missing export is never an error: the step behaves as without a
// plug-in. Step results: above 0 stay on the page, 0 go on, -1 no such export (the lists ran).
#include <cstdint>
#include <functional>

// What the plug-in calls need from the wizard and the uninstall data.
struct PluginHost {
    // Destroys the current page and its object before a step export runs.
    std::function<void()> destroyCurrentPage;
    // Merges the uninstall log into the installed uninstaller's data.
    std::function<void()> mergeUninstallData;
};
PluginHost& pluginHost();

// Start-up: the callback table, then the memory device context; step 0's lists always run.
void callAdvancedEntry();
std::int32_t callEntryPoint0();
// Before the first page; an answer other than 1 ends the installer. -1; no lists run.
std::int32_t callEntryPoint1();
std::int32_t callEntryPoint1_5();
std::int32_t callEntryPoint2();
std::int32_t callEntryPoint3();
std::int32_t callEntryPoint4();
std::int32_t callEntryPoint5();
std::int32_t callEntryPoint6();
std::int32_t callEntryPoint7();
std::int32_t callEntryPoint8();
std::int32_t callEntryPoint9();
std::int32_t callEntryPoint10();
std::int32_t callEntryPoint11();
// The installation page and the finish page are left: the uninstall data is merged after the
// export and again when the step's file operations did work. -1.
std::int32_t callEntryPoint12();
std::int32_t callEntryPoint13();
// Custom pages (page type 15 and above); -1 below 15.
std::int32_t callEntryPointCustom(std::int32_t pageType);
// The step of number 1 to 13 or a custom page type.
std::int32_t callPluginStep(std::int32_t step);

// The plug-in's lines of the system report: it fills the list box and adds to the counters.
void callSystemInformation(void* listBox, std::int32_t* failures, std::int32_t* unknowns);
// 0 when the export is missing or faults; else its answer, which the page window returns
// instead of handling the message itself.
std::int32_t callOnMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                           std::int32_t pageId);

// A silent run: the plug-in steps 1 to 10 before the installation, 11 to 13 after it. True.
bool runPluginStepsBeforeRun();
bool runPluginStepsAfterRun();
