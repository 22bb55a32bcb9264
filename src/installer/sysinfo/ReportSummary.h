#pragma once
// The summary line under the report: which language text it shows and in which colour.
#include <cstddef>
#include <cstdint>
#include <optional>

struct ReportSummary {
    // The language text; formatted with the product's name when formatWithProduct is set.
    std::size_t text = 0;
    bool formatWithProduct = false;
    // 0x00BBGGRR, when the package shows failures in colour.
    std::optional<std::uint32_t> colour;
};

constexpr std::uint32_t kFailureColour = 0x0000FF;
constexpr std::uint32_t kUnknownColour = 0x00FFFF;

// With failures text 59 (unknowns too) or 57; with only unknowns 58; otherwise 56. Coloured
// red with failures and yellow with only unknowns when failuresInColour.
ReportSummary reportSummary(std::int32_t failures, std::int32_t unknowns, bool failuresInColour);
