#include "installer/sysinfo/win/SystemInfoCollection.h"

#include "installer/state/InstallerState.h"
#include "installer/sysinfo/SystemReport.h"
#include "installer/sysinfo/win/SystemFactsWin.h"
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
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, temp);
    return length > 0 && length <= MAX_PATH ? ByteString(temp) : ByteString();
}
