#include "installer/wizard/ComponentKeys.h"

ByteString componentKeyPart(const ByteString& shownText)
{
    const std::int32_t open = shownText.findLast("(");
    if (open < 0)
        return shownText;
    // The blank before the "(" goes too.
    return shownText.substr(0, open > 0 ? std::uint32_t(open - 1) : 0);
}

ByteString savedComponentKey(const std::vector<ByteString>& shownTextsFromTop)
{
    ByteString key("<II_");
    for (std::size_t i = 0; i < shownTextsFromTop.size(); ++i) {
        if (i > 0)
            key.appendChar('_');
        key.append(componentKeyPart(shownTextsFromTop[i]));
    }
    key.appendChar('>');
    return key;
}

ByteString presetComponentKey(const ByteString* parentShownText, const ByteString& name)
{
    ByteString key("<II_");
    if (parentShownText) {
        key.append(componentKeyPart(*parentShownText));
        key.appendChar('_');
    }
    key.append(name);
    key.appendChar('>');
    return key;
}

std::optional<std::int32_t> savedComponentState(const std::vector<ComponentChoice>& choices, std::size_t place,
                                                bool fixed)
{
    if (place >= choices.size())
        return std::nullopt;
    if (fixed)
        return 2;
    return choices[place].checked ? 1 : 0;
}
