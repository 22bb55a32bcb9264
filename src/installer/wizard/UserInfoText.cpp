#include "installer/wizard/UserInfoText.h"

ByteString userInfoLabel(const ByteString& text, bool required)
{
    ByteString label(text);
    label.appendCStr(required ? " *:" : ":");
    return label;
}

ByteString userInfoConfirmation(const std::array<ByteString, kLanguageTextCount>& texts, std::uint32_t options,
                                const ByteString& name, const ByteString& organisation)
{
    ByteString text(texts[70]);
    text.appendCStr("\r\n");
    const auto field = [&](const ByteString& label, const ByteString& value) {
        text.appendCStr("\r\n");
        text.append(label);
        text.appendCStr(": ");
        text.append(value);
    };
    if (options & kUserNameShown)
        field(texts[66], name);
    if (options & kOrganisationShown)
        field(texts[67], organisation);
    text.appendCStr("\r\n\r\n");
    text.append(texts[71]);
    return text;
}
