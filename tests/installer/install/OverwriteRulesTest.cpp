// When an existing file is replaced, kept or put to the user, with and without the version check.
#include "installer/install/OverwriteQuestions.h"
#include "installer/install/OverwriteRules.h"

#include <gtest/gtest.h>

namespace {

using A = OverwriteAction;

struct RuleCase {
    const char* name;
    OverwriteFacts facts;
    OverwriteAction expected;
};

OverwriteFacts plain(std::uint32_t mode, bool existingOlder = false, bool existingNewer = false)
{
    OverwriteFacts f;
    f.recordMode = mode;
    f.existingOlder = existingOlder;
    f.existingNewer = existingNewer;
    return f;
}

OverwriteFacts versioned(std::uint32_t mode, int order, bool otherLanguage = false, std::int32_t defaultMode = 0,
                         bool existingOlder = false, bool existingNewer = false)
{
    OverwriteFacts f = plain(mode, existingOlder, existingNewer);
    f.versionCheck = true;
    f.versionOrder = order;
    f.otherLanguage = otherLanguage;
    f.defaultMode = defaultMode;
    return f;
}

const RuleCase kCases[] = {
    {"mode 0 replaces", plain(0), A::Replace},
    {"mode 1 asks", plain(1), A::AskPlain},
    {"mode 2 keeps", plain(2), A::Keep},
    {"mode 5, existing older", plain(5, true), A::Replace},
    {"mode 5, same time", plain(5), A::Keep},
    {"mode 6, existing older", plain(6, true), A::Replace},
    {"mode 6, existing newer", plain(6, false, true), A::AskExistingNewer},
    {"mode 9 replaces", plain(9), A::Replace},
    {"version, mode 4, older", versioned(4, -1), A::Replace},
    {"version, mode 4, equal", versioned(4, 0), A::Keep},
    {"version, mode 4, newer", versioned(4, 1), A::Keep},
    {"version, mode 0 takes the default 4", versioned(0, 0, false, 4), A::Keep},
    {"version, mode 0 takes the default 2", versioned(0, -1, false, 2), A::Keep},
    {"version, mode 1", versioned(1, -1), A::AskVersion},
    {"version, mode 6, newer", versioned(6, 1), A::AskVersion},
    {"version, mode 6, equal", versioned(6, 0), A::Replace},
    {"version, mode 5, existing older by time", versioned(5, 1, false, 0, true), A::Replace},
    {"version, mode 3", versioned(3, 1), A::Replace},
    {"language, mode 4, older", versioned(4, -1, true), A::AskLanguage},
    {"language, mode 4, newer", versioned(4, 1, true), A::Keep},
    {"language, mode 1", versioned(1, 1, true), A::AskLanguage},
    {"language, mode 6, older", versioned(6, -1, true), A::AskLanguage},
    {"language, mode 6, newer", versioned(6, 1, true), A::AskVersion},
    {"language, mode 5, existing newer", versioned(5, 0, true, 0, false, true), A::AskLanguage},
    {"language, mode 5, existing older", versioned(5, 0, true, 0, true), A::Replace},
    {"language, mode 5, same time", versioned(5, 0, true), A::Keep},
    {"language, mode 2", versioned(2, -1, true), A::Keep},
};

} // namespace

TEST(OverwriteRules, EachModeAndStateGivesItsAction)
{
    for (const RuleCase& c : kCases)
        EXPECT_EQ(overwriteAction(c.facts), c.expected) << c.name;
}

TEST(OverwriteQuestionVersion, LeadingZeroPartsAreLeftOut)
{
    EXPECT_EQ(versionText(0x00020003, 0x00040005), "2.3.4.5");
    EXPECT_EQ(versionText(0x00000003, 0x00040005), "3.4.5");
    EXPECT_EQ(versionText(0x00000000, 0x00040005), "4.5");
    EXPECT_EQ(versionText(0x00000000, 0x00000005), "5");
    EXPECT_EQ(versionText(0xFFFF0000, 0x00000000), "65535.0.0.0");
}
