#pragma once
// The components page's tree without its window: the items in tree order with their shown
// texts, descriptions and first check states, the byte totals of what is chosen, and the
// choices and "<II_...>" variables saved when the page is left.
#include "installer/state/InstallerState.h"
#include "installer/wizard/CheckStates.h"
#include "installer/wizard/ComponentBlock.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

struct ComponentItem {
    ComponentRecord record;
    // The name, and for a component without children " (size)" after it.
    ByteString shownText;
};

struct ComponentTreeInputs {
    explicit ComponentTreeInputs(const std::vector<ComponentChoice>& saved) : saved(saved) {}
    // The choices saved when the page was left before; empty the first time.
    const std::vector<ComponentChoice>& saved;
    // Descriptions are cut to the current language's block when the sequence has a language page.
    bool languageBlocks = false;
    std::int32_t languageNumber = 0;
    // The integer of an existing variable of that name (evaluated), none when it does not exist.
    std::function<std::optional<std::int32_t>(const ByteString& name)> variableInt;
    std::function<ByteString(std::uint64_t bytes)> sizeText;
};

// The description's block of the language: the text between "<LangID=n>" (CR and LF after it
// skipped) and "</LangID=n>"; the whole description unless both tags are there.
ByteString languageBlock(const ByteString& description, std::int32_t languageNumber);

// The items and their first states. A saved choice decides an unfixed item at the same place;
// a place the saved choices do not reach takes the package's default and its variable, as on
// the first visit.
void buildComponentTree(const std::vector<ComponentRecord>& records, const ComponentTreeInputs& inputs,
                        std::vector<ComponentItem>& items, std::vector<CheckItem>& states);

struct ComponentTotals {
    std::uint64_t bytes = 0;
    std::uint64_t mp3Bytes = 0;
    std::uint64_t jpegBytes = 0;
    std::uint64_t otherBytes = 0;
};
// The sums over every item checked, fixed or partly checked.
ComponentTotals componentTotals(const std::vector<ComponentItem>& items, const std::vector<CheckItem>& states);

struct SavedComponents {
    std::vector<ComponentChoice> choices;
    // "<II_...>" and 1 or 0, per item in tree order.
    std::vector<std::pair<ByteString, std::int32_t>> variables;
};
SavedComponents saveComponentTree(const std::vector<ComponentItem>& items, const std::vector<CheckItem>& states);
