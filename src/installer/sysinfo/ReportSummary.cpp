#include "installer/sysinfo/ReportSummary.h"

ReportSummary reportSummary(std::int32_t failures, std::int32_t unknowns, bool failuresInColour)
{
    ReportSummary summary;
    if (failures > 0) {
        summary.text = unknowns > 0 ? 59 : 57;
        summary.formatWithProduct = true;
        if (failuresInColour)
            summary.colour = kFailureColour;
    } else if (unknowns > 0) {
        summary.text = 58;
        if (failuresInColour)
            summary.colour = kUnknownColour;
    } else {
        summary.text = 56;
        summary.formatWithProduct = true;
    }
    return summary;
}
