#pragma once
// What the member extraction needs from the installer's interface: the Yes/No question after a
// decoding, read or write error, and the progress bar. The program installs its own; the
// defaults ask nothing and answer Yes (as a silent run does) and show no progress.
#include <cstdint>

// True for Yes (let the decoder go on), false for No (end the installer).
using ExtractionQuestion = bool (*)(const char* text);
// Bytes written since the last report.
using ExtractionProgress = void (*)(std::uint32_t bytes);

bool askExtractionQuestion(const char* text);
void reportExtractionProgress(std::uint32_t bytes);
// Each returns the function installed before; null restores the default.
ExtractionQuestion setExtractionQuestion(ExtractionQuestion question);
ExtractionProgress setExtractionProgress(ExtractionProgress progress);

// The progress switch and the byte counters of the current extraction: while reporting is on,
// written bytes are reported each time more than kProgressReportStep have accumulated since the
// last report. The file installation turns reporting on for its run and reports the rest,
// processed - reported, after each member.
struct ExtractionCounters {
    bool reporting = false;
    // The member's extraction failed and the question after it was answered "go on".
    bool continuedAfterError = false;
    std::uint64_t processed = 0;
    std::uint64_t reported = 0;
};
extern ExtractionCounters gExtractionCounters;
constexpr std::uint32_t kProgressReportStep = 0x8400;

// Adds count written bytes and reports when the step is passed.
void countExtractedBytes(std::uint32_t count);
