#include "installer/wizard/TemplateParser.h"

#include "installer/memory/FatalError.h"
#include "installer/variables/TextExpansion.h"

#include <cstring>
#include <limits>
#include <new>

namespace {

// Bounded reading of a template: a field or string that runs past the end fails the read and
// every later one, leaving 0 or an empty string.
class TemplateReader {
public:
    explicit TemplateReader(const ByteString& bytes) : bytes_(bytes) {}

    std::uint32_t be32()
    {
        if (!ok_ || remaining() < 4) {
            ok_ = false;
            return 0;
        }
        const std::uint32_t value = bytes_.readBE32(position_);
        position_ += 4;
        return value;
    }
    std::uint16_t be16()
    {
        if (!ok_ || remaining() < 2) {
            ok_ = false;
            return 0;
        }
        const auto value = static_cast<std::uint16_t>(bytes_.readBE16(position_));
        position_ += 2;
        return value;
    }
    ByteString string()
    {
        const std::uint32_t length = be32();
        if (!ok_ || length > remaining()) {
            ok_ = false;
            return ByteString();
        }
        ByteString out(bytes_.data() + position_, length);
        position_ += length;
        return out;
    }
    // A count of records of at least minSize bytes each; refused when they cannot fit.
    std::uint32_t count(std::uint32_t minSize)
    {
        const std::uint32_t n = be32();
        if (ok_ && n > remaining() / minSize)
            ok_ = false;
        return ok_ ? n : 0;
    }

    bool ok() const { return ok_; }
    std::uint32_t remaining() const { return bytes_.length() - position_; }

private:
    const ByteString& bytes_;
    std::uint32_t position_ = 7;
    bool ok_ = true;
};

std::int32_t clampToInt32(std::int64_t value)
{
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::uint32_t resolveColour(std::uint32_t colour, const TemplateSettings& settings)
{
    switch (colour) {
    case kColourWindowText: return settings.windowTextColour;
    case kColourWindow: return settings.windowColour;
    case kColourButtonFace: return settings.buttonFaceColour;
    default: return colour;
    }
}

// Position of key followed by a double quote, searched from pos in any letter case; -1 when absent.
std::int32_t findKey(const ByteString& text, const char* key, std::uint32_t pos)
{
    return text.find(key, pos, 0);
}

} // namespace

TemplateWindow::~TemplateWindow()
{
    freeTemplateBindings(*this);
}

void freeTemplateBindings(TemplateWindow& window)
{
    for (std::int32_t i = 0; i < window.bindings.count(); ++i)
        delete static_cast<TemplateBinding*>(window.bindings.get(i));
    window.bindings.clear();
}

void freeTemplateControls(PointerList& controls)
{
    for (std::int32_t i = 0; i < controls.count(); ++i)
        delete static_cast<TemplateControl*>(controls.get(i));
    controls.clear();
}

int parseTemplate(const ByteString& templateBytes, TemplateWindow& window, PointerList& controls, bool resolve,
                  const TemplateSettings& settings)
{
    if (!templateBytes.startsWith("RTT"))
        return kTemplateNoSignature;
    freeTemplateBindings(window);
    if (templateBytes.length() < 7)
        return kTemplateTruncated;
    // Unknown versions above 5 read like 5.
    const std::uint32_t version = templateBytes.readBE32(3);
    const bool hasBindings = version >= 3;
    const bool hasUnusedWord = version == 1;
    const bool listBoxColoursForced = version < 4;
    const bool hasAction = version >= 5;

    TemplateReader in(templateBytes);
    if (hasBindings) {
        // A binding takes at least its name length and control id.
        const std::uint32_t count = in.count(8);
        for (std::uint32_t i = 0; i < count && in.ok(); ++i) {
            ByteString name = in.string();
            const auto controlId = static_cast<std::int32_t>(in.be32());
            if (!in.ok())
                break;
            auto* binding = new (std::nothrow) TemplateBinding;
            if (binding == nullptr) {
                fatalError(nullptr);
                return kTemplateNoMemory;
            }
            binding->variableName = static_cast<ByteString&&>(name);
            binding->controlId = controlId;
            window.bindings.add(binding);
        }
    }

    window.style = in.be32();
    window.extendedStyle = in.be32();
    window.options = in.be32();
    window.pageId = in.be32();
    window.alignment = static_cast<std::int32_t>(in.be32());
    window.x = static_cast<std::int32_t>(in.be32());
    window.y = static_cast<std::int32_t>(in.be32());
    window.width = static_cast<std::int32_t>(in.be32());
    window.height = static_cast<std::int32_t>(in.be32());
    window.fontSize = in.be16();
    window.fontStyle = static_cast<std::int16_t>(in.be16());
    if (settings.dpiFactor != 1000) {
        window.width = scaleByDpi(window.width, settings.dpiFactor);
        window.height = scaleWindowHeightByDpi(window.height, settings.dpiFactor);
    }
    window.fontFace = in.string();
    window.title = in.string();
    selectLanguageBlock(window.title, settings.languageNumber);

    // The smallest control: eleven words (twelve with the unused or action word), the text length
    // and the image id.
    const std::uint32_t controlSize = 4 * (13 + (hasUnusedWord ? 1 : 0) + (hasAction ? 1 : 0));
    const std::uint32_t count = in.count(controlSize);
    for (std::uint32_t i = 0; i < count && in.ok(); ++i) {
        TemplateControl read;
        read.style = in.be32();
        read.extendedStyle = in.be32();
        read.type = static_cast<std::int32_t>(in.be32());
        read.subType = static_cast<std::int32_t>(in.be32());
        if (hasUnusedWord)
            in.be32();
        read.id = static_cast<std::int32_t>(in.be32());
        read.x = static_cast<std::int32_t>(in.be32());
        read.y = static_cast<std::int32_t>(in.be32());
        read.width = static_cast<std::int32_t>(in.be32());
        read.height = static_cast<std::int32_t>(in.be32());
        read.textColour = in.be32();
        read.normalTextColour = read.textColour;
        read.backColour = in.be32();
        read.action = hasAction ? in.be32() : 0;
        read.text = in.string();
        read.imageId = in.be32();
        if (!in.ok())
            break;

        if (read.type == kControlRichEdit || (read.type == kControlEdit && (read.style & 4) != 0))
            read.text.replace("<\\n>", "\r\n");
        if (listBoxColoursForced && read.type == kControlListBox) {
            read.textColour = read.normalTextColour = kColourWindowText;
            read.backColour = kColourWindow;
        }
        if (read.type == kControlProgressBar) {
            if ((read.action & 0x80000000u) != 0) {
                read.action &= 0x7FFFFFFFu;
            } else {
                read.backColour = kColourButtonFace;
                read.action = 0xFFFFFF;
            }
        }
        if (resolve)
            resolveControl(read, settings);

        auto* control = new (std::nothrow) TemplateControl(static_cast<TemplateControl&&>(read));
        if (control == nullptr) {
            fatalError(nullptr);
            return kTemplateNoMemory;
        }
        controls.add(control);
    }
    return in.ok() ? kTemplateOk : kTemplateTruncated;
}

void resolveControl(TemplateControl& control, const TemplateSettings& settings)
{
    if (control.type == kControlStatic && control.subType == 2) {
        control.text = ByteString();
    } else if (!control.text.empty()) {
        selectLanguageBlock(control.text, settings.languageNumber);
        // The link target may name user variables.
        if (control.type == kControlStatic && splitHyperlink(control.text, control.link))
            expandVariables(control.link, kAllVariables);
    }
    control.textColour = resolveColour(control.textColour, settings);
    control.normalTextColour = control.textColour;
    control.backColour = resolveColour(control.backColour, settings);
    if (settings.dpiFactor != 1000) {
        control.x = scaleByDpi(control.x, settings.dpiFactor);
        control.y = scaleByDpi(control.y, settings.dpiFactor);
        control.width = scaleByDpi(control.width, settings.dpiFactor);
        control.height = scaleByDpi(control.height, settings.dpiFactor);
    }
}

void selectLanguageBlock(ByteString& text, std::int32_t languageNumber)
{
    for (const std::int32_t number : {languageNumber, 1}) {
        ByteString open;
        open.format("<LangID=%d>", number);
        ByteString close;
        close.format("</LangID=%d>", number);
        const std::int32_t start = text.find(open.cStr(), 0, 1);
        if (start < 0)
            continue;
        const std::uint32_t blockStart = static_cast<std::uint32_t>(start) + open.length();
        const std::int32_t end = text.find(close.cStr(), blockStart, 1);
        // An opening tag without its closing tag is no block.
        if (end < 0)
            continue;
        text = text.substr(blockStart, static_cast<std::uint32_t>(end) - blockStart);
        return;
    }
}

bool splitHyperlink(ByteString& text, ByteString& link)
{
    static const char kPrefix[] = "hyperlink:";
    const std::uint32_t prefixLength = sizeof kPrefix - 1;
    if (text.length() < prefixLength || text.substr(0, prefixLength).find(kPrefix, 0, 0) != 0)
        return false;
    ByteString values[2];
    const char* const keys[2] = {"text=\"", "link=\""};
    for (int k = 0; k < 2; ++k) {
        const std::int32_t key = findKey(text, keys[k], prefixLength);
        if (key < 0)
            return false;
        const std::uint32_t valueStart = static_cast<std::uint32_t>(key) + 6;
        const std::int32_t valueEnd = text.findChar('"', valueStart);
        if (valueEnd < 0)
            return false;
        values[k] = valueStart == static_cast<std::uint32_t>(valueEnd)
                        ? ByteString()
                        : text.substr(valueStart, static_cast<std::uint32_t>(valueEnd) - valueStart);
    }
    text = values[0];
    link = values[1];
    return true;
}

std::int32_t findTemplateIndex(const std::vector<TemplateEntry>& pages, std::int32_t pageType)
{
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (pages[i].pageType == pageType)
            return static_cast<std::int32_t>(i);
    return -1;
}

ControlBrush controlBrushKind(const TemplateControl& control)
{
    switch (control.type) {
    case kControlStatic:
        if (control.subType == 3)
            return ControlBrush::Solid;
        if (control.subType >= 3)
            return ControlBrush::None;
        [[fallthrough]];
    case kControlPushButton:
    case kControlCheckBox:
    case kControlRadioButton:
    case kControlEdit:
    case kControlListBox:
    case kControlGroupBox:
        return control.backColour == kColourTransparent ? ControlBrush::Hollow : ControlBrush::Solid;
    default:
        return ControlBrush::None;
    }
}

std::int32_t mulDiv(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t divisor = c;
    const bool negative = (product < 0) != (divisor < 0);
    const std::uint64_t magnitudeProduct = product < 0 ? 0 - static_cast<std::uint64_t>(product) : product;
    const std::uint64_t magnitudeDivisor = divisor < 0 ? 0 - static_cast<std::uint64_t>(divisor) : divisor;
    const std::uint64_t rounded = (magnitudeProduct + magnitudeDivisor / 2) / magnitudeDivisor;
    if (rounded > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0))
        return -1;
    return negative ? static_cast<std::int32_t>(0 - rounded) : static_cast<std::int32_t>(rounded);
}

std::int32_t dpiFactorFor(std::int32_t logPixelsY)
{
    return mulDiv(1000000, logPixelsY, 72) / 1333;
}

std::int32_t scaleByDpi(std::int32_t value, std::int32_t factor)
{
    return clampToInt32(static_cast<std::int64_t>(value) * factor / 1000);
}

std::int32_t scaleWindowHeightByDpi(std::int32_t height, std::int32_t factor)
{
    return clampToInt32((static_cast<std::int64_t>(height) - 18) * factor / 1000 + 18);
}

std::int32_t templateFontHeight(std::uint16_t fontSize, std::int32_t factor)
{
    return -mulDiv(fontSize, clampToInt32(static_cast<std::int64_t>(factor) * 96 / 1000), 72);
}
