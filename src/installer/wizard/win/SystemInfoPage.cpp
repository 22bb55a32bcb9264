// The system-information page: the report in a list, its summary line, and saving it to a file.
#include "installer/state/InstallerState.h"
#include "installer/sysinfo/ReportFile.h"
#include "installer/sysinfo/win/SystemInfoCollection.h"
#include "installer/wizard/win/PageDialogs.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"
#include "installer/wizard/win/SystemInfoOnce.h"

#include <string>
#include <vector>

namespace {

constexpr std::int32_t kSaveButton = 4;
constexpr std::int32_t kReportList = 15;
constexpr std::int32_t kSummaryItem = 14;

std::vector<ByteString> listLines(HWND list)
{
    std::vector<ByteString> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0);
        std::wstring line(std::size_t(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(line.data()));
        line.resize(std::wcslen(line.c_str()));
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), nullptr, 0, nullptr, nullptr);
        std::string utf8(std::size_t(bytes > 0 ? bytes : 0), '\0');
        if (bytes > 0)
            WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), utf8.data(), bytes, nullptr, nullptr);
        lines.emplace_back(reinterpret_cast<const std::uint8_t*>(utf8.data()), std::uint32_t(utf8.size()));
    }
    return lines;
}

class SystemInfoPage : public StandardPage {
public:
    SystemInfoPage() : StandardPage(26) {}

private:
    void initPage() override
    {
        for (std::int32_t id = 10; id <= 13; ++id)
            setItemLanguageText(id, std::size_t(id + 17));
        setItemLanguageText(kSaveButton, 60);
        collectSystemInfoOnce(item(kReportList));
        if (const auto& report = systemReport()) {
            fillReportList(item(kReportList), *report);
            std::optional<std::uint32_t> colour;
            setItemText(kSummaryItem, reportSummaryText(colour));
            if (colour && item(kSummaryItem))
                setControlTextColour(item(kSummaryItem), *colour);
        }
        SetForegroundWindow(window);
    }

    bool pageCommand(std::int32_t id, std::int32_t code, LPARAM) override
    {
        if (id != kSaveButton || code != 0)
            return false;
        saveReport();
        return true;
    }

    void saveReport()
    {
        ByteString path;
        if (!saveReportFile(listLines(item(kReportList)), systemInfoReportFolder(), path)) {
            pageMessage(window, gLanguageTexts[61], MB_OK | MB_ICONERROR);
            return;
        }
        pageMessage(window, formattedLanguageText(62, path), MB_OK | MB_ICONINFORMATION);
    }
};

} // namespace

std::unique_ptr<TemplatePage> makeSystemInfoPage()
{
    return std::make_unique<SystemInfoPage>();
}
