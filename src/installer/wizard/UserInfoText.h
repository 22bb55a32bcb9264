#pragma once
// The user-information page's labels and the confirmation it may ask for.
#include "installer/state/InstallerState.h"

#include <array>

enum UserInfoOption : std::uint32_t {
    kUserNameShown = 0x1,
    kUserNameRequired = 0x2,
    kOrganisationShown = 0x4,
    kOrganisationRequired = 0x8,
};

// The label followed by ":", or " *:" for a required field.
ByteString userInfoLabel(const ByteString& text, bool required);
// The confirmation: text 70, then each shown field's label and value, then text 71.
ByteString userInfoConfirmation(const std::array<ByteString, kLanguageTextCount>& texts, std::uint32_t options,
                                const ByteString& name, const ByteString& organisation);
