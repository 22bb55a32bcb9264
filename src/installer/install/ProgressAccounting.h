#pragma once
// The arithmetic of the installation's two bars: the phase bar restarts with each phase and
// never moves back within it; the overall bar never moves back and never passes 100. Phases 1
// to 3 (files, MP3 and JPEG conversions) share 95 % by their weighted bytes; the later phases
// stand at fixed marks.
#include <cstdint>
#include <optional>

enum InstallPhase : std::int32_t {
    kPhaseFiles = 1,
    kPhaseMp3 = 2,
    kPhaseJpeg = 3,
    kPhaseRegistry = 4,
    kPhaseIni = 5,
    kPhaseTextFiles = 6,
    kPhaseShortcuts = 7,
    kPhaseRegistration = 8,
    kPhaseFinished = 9, // committed: both bars stand at their end
};

struct ProgressTotals {
    std::uint64_t other = 0;
    std::uint64_t mp3 = 0;
    std::uint64_t jpeg = 0;
    bool mp3ToWav = false;
    bool jpegToBmp = false;
};

// The overall percentage for done bytes of a phase (0 to 100).
std::int32_t overallPercent(std::int32_t phase, std::uint64_t done, const ProgressTotals& totals);

struct ProgressUpdate {
    // Set when that bar or the slideshow must change.
    std::optional<std::int32_t> phaseBar;
    std::optional<std::int32_t> overallBar;
    std::optional<std::int32_t> slide;
    // The overall percentage shown now.
    std::int32_t overall = 0;
};

class ProgressTracker {
public:
    // imageCount: the slideshow's images (none shown unless 1 to 100).
    ProgressUpdate update(std::int32_t phase, std::int32_t phasePercent, std::uint64_t done,
                          const ProgressTotals& totals, std::int32_t imageCount);
    std::int32_t overallShown() const { return overallMax_ < 0 ? 0 : overallMax_; }

private:
    std::int32_t lastPhase_ = -1;
    std::int32_t phaseMax_ = -1;
    std::int32_t overallMax_ = -1;
    std::int32_t lastSlide_ = -1;
};
