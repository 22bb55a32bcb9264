#include "installer/package/ExtractionHooks.h"

ExtractionCounters gExtractionCounters;

namespace {
ExtractionQuestion currentQuestion = nullptr;
ExtractionProgress currentProgress = nullptr;
}

bool askExtractionQuestion(const char* text)
{
    return currentQuestion ? currentQuestion(text) : true;
}

void reportExtractionProgress(std::uint32_t bytes)
{
    if (currentProgress)
        currentProgress(bytes);
}

ExtractionQuestion setExtractionQuestion(ExtractionQuestion question)
{
    ExtractionQuestion previous = currentQuestion;
    currentQuestion = question;
    return previous;
}

ExtractionProgress setExtractionProgress(ExtractionProgress progress)
{
    ExtractionProgress previous = currentProgress;
    currentProgress = progress;
    return previous;
}

void countExtractedBytes(std::uint32_t count)
{
    ExtractionCounters& counters = gExtractionCounters;
    counters.processed += count;
    if (!counters.reporting || counters.processed - counters.reported <= kProgressReportStep)
        return;
    const std::uint64_t pending = counters.processed - counters.reported;
    counters.reported = counters.processed;
    reportExtractionProgress(static_cast<std::uint32_t>(pending));
}
