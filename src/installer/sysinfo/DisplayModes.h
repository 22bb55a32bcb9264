#pragma once
// The display modes of the primary display, summed up as the report shows them: the largest
// size, a depth that goes with it, and whether a mode meets the package's display requirement.
#include <cstdint>

struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bits = 0;
};

class DisplayModeSummary {
public:
    DisplayModeSummary(std::uint32_t requiredWidth, std::uint32_t requiredHeight, std::uint32_t requiredBits)
        : required_{requiredWidth, requiredHeight, requiredBits}
    {
    }

    // Width and height are replaced together when either grows; the depth follows the mode that
    // last enlarged the size and is raised by later modes of the same width or height.
    void add(const DisplayMode& mode);

    const DisplayMode& largest() const { return largest_; }
    bool requirementMet() const { return met_; }

private:
    DisplayMode required_;
    DisplayMode largest_;
    bool met_ = false;
};
