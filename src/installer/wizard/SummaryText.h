#pragma once
// The summary page's text: the installation type and chosen components, the sizes, the
// destination and the program group, and the package's extra lines.
#include "installer/state/InstallerState.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct SummaryInputs {
    SummaryInputs(const std::array<ByteString, kLanguageTextCount>& texts, const std::vector<ComponentChoice>& choices)
        : texts(texts), choices(choices)
    {
    }
    const std::array<ByteString, kLanguageTextCount>& texts;
    // The sequence has an installation-type or components page.
    const std::vector<ComponentChoice>& choices;
    bool showsType = false;
    std::int32_t installationType = kTypicalInstallation;
    std::uint64_t bytesRequired = 0;
    std::uint64_t freeBytes = 0;
    ByteString installDir;
    // The package has shortcuts or the sequence has a program-group page.
    bool showsGroup = false;
    ByteString shortcutDir;
    // "<SummaryExtraInfo>" when it exists.
    std::optional<ByteString> extraInfo;
    std::function<ByteString(std::uint64_t bytes)> sizeText;
};

ByteString buildSummaryText(const SummaryInputs& inputs);
