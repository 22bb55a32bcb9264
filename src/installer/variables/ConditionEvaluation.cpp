#include "installer/variables/ConditionEvaluation.h"

#include "installer/state/InstallerState.h"
#include "installer/text/SystemUpperCase.h"
#include "installer/variables/SystemNumbers.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableList.h"

#include <cstring>
#include <optional>

namespace {

constexpr std::uint32_t kPlatformNt = 2;

bool isNtFamily(const OsVersion& os)
{
    return os.platformId == kPlatformNt;
}

std::uint32_t systemBit(const OsVersion& os)
{
    if (!isNtFamily(os)) {
        if (os.major == 4 && os.minor == 0)
            return kConditionWin95;
        if (os.major == 4 && os.minor == 10)
            return kConditionWin98;
        return kConditionWinMe;
    }
    if (os.major <= 4)
        return kConditionNt4;
    if (os.major == 5 && os.minor == 0)
        return kConditionWin2000;
    if (os.major == 5 && os.minor == 1)
        return kConditionWinXp;
    if (os.major == 5 && os.minor == 2)
        return kConditionServer2003;
    return kConditionLaterNt;
}

bool systemMatches(std::uint32_t osFlags)
{
    if (osFlags & kConditionAnyOs)
        return true;
    const OsVersion& os = gInstallerContext.osVersion;
    const bool nt = isNtFamily(os);
    if (((osFlags & kConditionAny9x) && !nt) || ((osFlags & kConditionAnyNt) && nt))
        return true;
    return (osFlags & systemBit(os)) != 0;
}

using Operand = std::optional<ByteString>;

// The value of a variable the text names: a user variable or a built-in name; none otherwise.
Operand variableText(const ByteString& text)
{
    ByteString name(text);
    const char* value = getVariableText(name.cStr());
    if (!value)
        return std::nullopt;
    return ByteString(value);
}

// A text between double quotes is a literal: the text between its first and last character.
Operand quotedLiteral(const ByteString& text)
{
    if (text.empty() || text.at(0) != '"')
        return std::nullopt;
    if (text.length() < 2)
        return ByteString();
    return ByteString(text.data() + 1, text.length() - 2);
}

bool namesTextVariable(const ByteString& text)
{
    if (gPackageToc.variables.empty())
        return false;
    ByteString name(text);
    const InstallerVariable* variable = findVariable(name.cStr());
    return variable && variable->kind != kVariableInteger;
}

bool compareTexts(ByteString left, ByteString right, std::int32_t op)
{
    if (op == kCompareContains) {
        systemUpperCase(left);
        systemUpperCase(right);
        return std::strstr(left.cStr(), right.cStr()) != nullptr;
    }
    const int order = std::strcmp(left.cStr(), right.cStr());
    switch (op) {
    case kCompareEqual: return order == 0;
    case kCompareNotEqual: return order != 0;
    case kCompareGreater: return order > 0;
    case kCompareLess: return order < 0;
    case kCompareGreaterOrEqual: return order >= 0;
    case kCompareLessOrEqual: return order <= 0;
    default: return false;
    }
}

// Signed 32-bit numbers; any operator without a numeric meaning tests common bits.
bool compareNumbers(std::int32_t left, std::int32_t right, std::int32_t op)
{
    switch (op) {
    case kCompareEqual: return left == right;
    case kCompareNotEqual: return left != right;
    case kCompareGreater: return left > right;
    case kCompareLess: return left < right;
    case kCompareGreaterOrEqual: return left >= right;
    case kCompareLessOrEqual: return left <= right;
    default: return (left & right) != 0;
    }
}

bool comparisonHolds(const ConditionComparison& comparison)
{
    Operand left = variableText(comparison.left);
    Operand right = variableText(comparison.right);
    if (!left)
        left = quotedLiteral(comparison.left);
    if (!right)
        right = quotedLiteral(comparison.right);
    // A text variable compared with a plain text compares texts.
    if (left && !right && namesTextVariable(comparison.left))
        right = comparison.right;
    else if (!left && right && namesTextVariable(comparison.right))
        left = comparison.left;
    if (left && right)
        return compareTexts(*left, *right, comparison.op);
    return compareNumbers(evaluateNumber(comparison.left), evaluateNumber(comparison.right), comparison.op);
}

} // namespace

bool conditionHolds(const ConditionRecord* condition)
{
    if (!condition)
        return true;
    if (!systemMatches(condition->osFlags))
        return false;
    if (condition->comparisons.empty())
        return true;
    const bool combineWithOr = (condition->osFlags & kConditionCombineWithOr) != 0;
    bool result = false;
    for (const ConditionComparison& comparison : condition->comparisons) {
        result = comparisonHolds(comparison);
        if (result == combineWithOr)
            break;
    }
    return result;
}
