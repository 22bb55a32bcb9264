#include "installer/install/PluginAnswers.h"

std::optional<std::int32_t> stepResult(PluginAnswer answer, bool pageCurrent)
{
    if (answer.raised || answer.value == 1)
        return 0;
    if (answer.value == 2)
        return pageCurrent ? 1 : 0;
    return std::nullopt;
}

bool answerGoesOn(PluginAnswer answer)
{
    return answer.raised || answer.value == 1;
}
