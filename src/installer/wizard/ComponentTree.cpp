#include "installer/wizard/ComponentTree.h"

#include "installer/wizard/ComponentKeys.h"

ByteString languageBlock(const ByteString& description, std::int32_t languageNumber)
{
    ByteString open;
    open.format("<LangID=%d>", languageNumber);
    ByteString close;
    close.format("</LangID=%d>", languageNumber);
    const std::int32_t start = description.find(open.cStr());
    if (start < 0)
        return description;
    std::uint32_t from = std::uint32_t(start) + open.length();
    while (from < description.length() && (description.at(from) == '\r' || description.at(from) == '\n'))
        ++from;
    const std::int32_t end = description.find(close.cStr(), from);
    if (end < 0)
        return description;
    return description.substr(from, std::uint32_t(end) - from);
}

namespace {

std::int32_t firstState(const ComponentRecord& record, const ComponentTreeInputs& inputs, std::size_t place,
                        const ByteString* parentShownText)
{
    const bool fixed = (record.flags & kComponentFixed) != 0;
    if (!inputs.saved.empty())
        if (const auto saved = savedComponentState(inputs.saved, place, fixed))
            return *saved;
    std::int32_t state = fixed ? kFixed : (record.flags & kComponentSelectedByDefault) ? kChecked : kUnchecked;
    if (inputs.variableInt)
        if (const auto value = inputs.variableInt(presetComponentKey(parentShownText, record.name)))
            state = *value != 0 ? kChecked : kUnchecked;
    return state;
}

bool hasChildren(const std::vector<ComponentRecord>& records, std::size_t index)
{
    return index + 1 < records.size() && records[index + 1].parent == std::int32_t(index);
}

} // namespace

void buildComponentTree(const std::vector<ComponentRecord>& records, const ComponentTreeInputs& inputs,
                        std::vector<ComponentItem>& items, std::vector<CheckItem>& states)
{
    items.clear();
    states.clear();
    for (std::size_t i = 0; i < records.size(); ++i) {
        ComponentItem item;
        item.record = records[i];
        if (inputs.languageBlocks)
            item.record.description = languageBlock(item.record.description, inputs.languageNumber);
        item.shownText = item.record.name;
        if (!hasChildren(records, i)) {
            item.shownText.appendCStr(" (");
            item.shownText.append(inputs.sizeText ? inputs.sizeText(item.record.bytes) : ByteString());
            item.shownText.appendChar(')');
        }
        const std::int32_t parent = records[i].parent;
        const ByteString* parentText =
            parent >= 0 && std::size_t(parent) < items.size() ? &items[std::size_t(parent)].shownText : nullptr;
        states.push_back({firstState(item.record, inputs, i, parentText), parentText ? parent : -1});
        items.push_back(std::move(item));
    }
}

ComponentTotals componentTotals(const std::vector<ComponentItem>& items, const std::vector<CheckItem>& states)
{
    ComponentTotals totals;
    for (std::size_t i = 0; i < items.size() && i < states.size(); ++i) {
        if (states[i].state <= kUnchecked)
            continue;
        const ComponentRecord& record = items[i].record;
        totals.bytes += record.bytes;
        totals.mp3Bytes += record.mp3Bytes;
        totals.jpegBytes += record.jpegBytes;
        totals.otherBytes += record.otherBytes;
    }
    return totals;
}

SavedComponents saveComponentTree(const std::vector<ComponentItem>& items, const std::vector<CheckItem>& states)
{
    SavedComponents saved;
    for (std::size_t i = 0; i < items.size() && i < states.size(); ++i) {
        // The chain of shown texts from the top level down; parents lie before their children.
        std::vector<ByteString> chain;
        for (std::int32_t at = std::int32_t(i); at >= 0 && std::size_t(at) <= i;) {
            chain.insert(chain.begin(), items[std::size_t(at)].shownText);
            const std::int32_t parent = states[std::size_t(at)].parent;
            at = parent < at ? parent : -1;
        }
        const bool checked = states[i].state > kUnchecked;
        saved.variables.emplace_back(savedComponentKey(chain), checked ? 1 : 0);
        ComponentChoice choice;
        choice.checked = checked;
        for (std::uint32_t level = 0; level < items[i].record.depth; ++level)
            choice.name.appendChar('\t');
        choice.name.append(items[i].shownText);
        saved.choices.push_back(std::move(choice));
    }
    return saved;
}
