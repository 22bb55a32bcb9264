#include "installer/wizard/SummaryText.h"

namespace {

enum SummaryTextEntry : std::size_t {
    kTypical = 90,
    kMinimal = 92,
    kCustom = 94,
    kHeading = 103,
    kTypeHeading = 104,
    kComponentsHeading = 105,
    kSpaceRequired = 106,
    kSpaceAvailable = 107,
    kDestinationHeading = 108,
    kGroupHeading = 109,
};

void appendLine(ByteString& text, const ByteString& line)
{
    text.append(line);
    text.appendCStr("\r\n");
}

} // namespace

ByteString buildSummaryText(const SummaryInputs& inputs)
{
    const auto& t = inputs.texts;
    ByteString text(t[kHeading]);
    text.appendCStr("\r\n=====================================\r\n\r\n");
    if (inputs.showsType) {
        appendLine(text, t[kTypeHeading]);
        if (inputs.installationType == kMinimalInstallation || inputs.installationType == kTypicalInstallation) {
            text.append(t[inputs.installationType == kMinimalInstallation ? kMinimal : kTypical]);
            text.appendCStr("\r\n\r\n");
        } else if (inputs.installationType == kCustomInstallation) {
            appendLine(text, t[kCustom]);
            appendLine(text, t[kComponentsHeading]);
            for (const ComponentChoice& choice : inputs.choices)
                if (choice.checked) {
                    text.appendChar('\t');
                    appendLine(text, choice.name);
                }
            text.appendCStr("\r\n");
        }
    }
    const auto size = [&](std::uint64_t bytes) { return inputs.sizeText ? inputs.sizeText(bytes) : ByteString(); };
    text.append(t[kSpaceRequired]);
    text.appendChar(' ');
    appendLine(text, size(inputs.bytesRequired));
    text.append(t[kSpaceAvailable]);
    text.appendChar(' ');
    text.append(size(inputs.freeBytes));
    text.appendCStr("\r\n\r\n");
    appendLine(text, t[kDestinationHeading]);
    appendLine(text, inputs.installDir);
    if (inputs.showsGroup) {
        text.appendCStr("\r\n");
        appendLine(text, t[kGroupHeading]);
        appendLine(text, inputs.shortcutDir);
    }
    if (inputs.extraInfo) {
        ByteString extra(*inputs.extraInfo);
        extra.replace("<\\r>", "\r");
        extra.replace("<\\n>", "\n");
        text.append(extra);
    }
    return text;
}
