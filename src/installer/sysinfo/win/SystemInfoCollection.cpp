#include "installer/sysinfo/win/SystemInfoCollection.h"

#include "installer/state/InstallerState.h"
#include "installer/sysinfo/ReportSummary.h"
#include "installer/sysinfo/SystemReport.h"
#include "installer/sysinfo/win/SystemFactsWin.h"
#include "installer/system/win/SystemPaths.h"
#include "installer/text/Utf8.h"
#include "installer/text/win/TextConversion.h"
#include "installer/variables/SystemNumbers.h"

bool collectSystemInfo(ByteString& report, const std::function<void(std::int32_t percent)>& progress, HWND listBox)
{
    const ReportInputs inputs{gSystemRequirements,           gLanguageTexts,
                              gPackageToc.bytesRequired,     gInstallerContext.minimumJavaVersion,
                              gPackageToc.reportedProductKey, gPackageToc.reportedProductName};
    return collectSystemInfo(report, gSystemInfoResults, gSystemNumbers, inputs, systemFacts(listBox), progress);
}

ByteString systemInfoReportFolder()
{
    const ByteString& documents = gMainInstaller.folders[kMyDocuments];
    if (!documents.empty())
        return documents;
    return tempFolderPath();
}

void fillReportList(HWND listBox, const ByteString& report)
{
    int tabStops[] = {64, 160, 256};
    SendMessageW(listBox, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(tabStops));
    std::int32_t pos = 0;
    while (report.hasMore(pos)) {
        ByteString line;
        report.nextLine(&pos, line);
        if (gInstallerContext.unicode) {
            const auto wide = utf8ToWide(line.cStr());
            SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide ? wide->c_str() : u""));
        } else {
            const auto wide = utf8ToWide(line.cStr());
            ByteString ansi;
            wideToAnsi(wide ? reinterpret_cast<const wchar_t*>(wide->c_str()) : L"", ansi);
            SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi.cStr()));
        }
    }
}

ByteString reportSummaryText(std::optional<std::uint32_t>& colour)
{
    const ReportSummary summary = reportSummary(gSystemInfoResults.failures, gSystemInfoResults.unknowns,
                                                gInstallerContext.optionWord & kOptionFailuresInRed);
    colour = summary.colour;
    ByteString text(gLanguageTexts[summary.text]);
    if (!summary.formatWithProduct)
        return text;
    ByteString product(gPackageToc.productName);
    ByteString formatted;
    formatted.format(text.cStr(), {product.cStr()});
    return formatted;
}
