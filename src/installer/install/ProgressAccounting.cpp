#include "installer/install/ProgressAccounting.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kMp3Weight = 29;
constexpr std::uint64_t kJpegWeight = 20;
constexpr std::uint64_t kFilePhasesShare = 95;

std::int32_t shareOfFilePhases(std::uint64_t weightedDone, std::uint64_t weightedTotal)
{
    // Totals that undercount what was written must not carry the bar past the phases' share.
    const std::uint64_t percent = std::min<std::uint64_t>(weightedDone * 100 / weightedTotal, 100);
    return static_cast<std::int32_t>(percent * kFilePhasesShare / 100);
}

} // namespace

std::int32_t overallPercent(std::int32_t phase, std::uint64_t done, const ProgressTotals& t)
{
    std::uint64_t total = t.other == 0 ? 1 : t.other;
    if (t.mp3ToWav)
        total += t.mp3 * kMp3Weight;
    if (t.jpegToBmp)
        total += t.jpeg * kJpegWeight;
    const std::uint64_t mp3Part = t.mp3ToWav ? t.mp3 * kMp3Weight : 0;
    switch (phase) {
    case kPhaseFiles:
        return shareOfFilePhases(done, total);
    case kPhaseMp3:
        return shareOfFilePhases(done * kMp3Weight + t.other, total);
    case kPhaseJpeg:
        return shareOfFilePhases(done * kJpegWeight + t.other + mp3Part, total);
    case kPhaseRegistry:
    case kPhaseIni:
    case kPhaseTextFiles:
        return 96;
    case kPhaseShortcuts:
        return 97;
    case kPhaseRegistration:
        return 99;
    default:
        return 100;
    }
}

ProgressUpdate ProgressTracker::update(std::int32_t phase, std::int32_t phasePercent, std::uint64_t done,
                                       const ProgressTotals& totals, std::int32_t imageCount)
{
    ProgressUpdate result;
    if (phase != lastPhase_) {
        phaseMax_ = -1;
        lastPhase_ = phase;
    }
    const std::int32_t percent = std::clamp(phasePercent, 0, 100);
    if (percent > phaseMax_) {
        phaseMax_ = percent;
        result.phaseBar = percent;
    }
    const std::int32_t overall = overallPercent(phase, done, totals);
    if (overall > overallMax_) {
        overallMax_ = overall;
        result.overallBar = overall;
    }
    result.overall = overallMax_;
    if (imageCount >= 1 && imageCount <= 100) {
        const std::int32_t step = 100 / imageCount;
        const std::int32_t index = result.overall / step;
        if (index > lastSlide_ && index < imageCount) {
            lastSlide_ = index;
            result.slide = index;
        }
    }
    return result;
}
