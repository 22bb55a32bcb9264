#include "installer/uninstall/UninstallHeader.h"

#include "installer/state/InstallerState.h"
#include "installer/state/PackageImages.h"
#include "installer/wizard/PageSequence.h"

#include <cstdint>
#include <set>

namespace {

// The uninstaller's page texts (eleven from this entry on), its Next button's and its title's.
constexpr std::size_t kFirstUninstallerText = 164;
constexpr std::uint32_t kUninstallerTextCount = 11;
constexpr std::size_t kNextButtonText = 7;
constexpr std::size_t kTitleText = 5;

void appendText(ByteString& out, std::uint32_t number, const ByteString& text)
{
    out.appendBE32(number);
    out.appendBE32(text.length());
    out.append(text);
}

ByteString languageBlock()
{
    ByteString block;
    block.appendBE32(gPackageToc.languageSetLangId);
    block.appendBE32(kUninstallerTextCount + 2);
    for (std::uint32_t k = 0; k < kUninstallerTextCount; ++k)
        appendText(block, k, gLanguageTexts[kFirstUninstallerText + k]);
    appendText(block, kUninstallerTextCount, gLanguageTexts[kNextButtonText]);
    appendText(block, kUninstallerTextCount + 1, gLanguageTexts[kTitleText]);
    return block;
}

bool showsImage(const TemplateControl& control)
{
    if (control.type == kControlStatic)
        return control.subType == 3 || control.subType == 4;
    if (control.type == kControlPushButton)
        return (control.style & 0x80) != 0 || (control.style & 0x0B) == 0x0B;
    return false;
}

// The images of the template's controls, each image id once; count receives how many.
ByteString imageBlock(const PointerList& controls, std::uint32_t& count)
{
    ByteString block;
    std::set<std::uint32_t> stored;
    count = 0;
    for (std::int32_t i = 0; i < controls.count(); ++i) {
        const auto* control = static_cast<const TemplateControl*>(controls.get(i));
        if (!control || !showsImage(*control))
            continue;
        const ByteString bytes = readTemplateImage(*control);
        if (bytes.empty() || !stored.insert(control->imageId).second)
            continue;
        block.appendBE32(bytes.length());
        block.appendBE32(control->imageId);
        block.append(bytes);
        ++count;
    }
    return block;
}

} // namespace

ByteString readTemplateImage(const TemplateControl& control)
{
    const PageImage* image = findPackageImage(control.imageId);
    if (!image)
        return ByteString();
    ByteString path = image->path;
    ByteString bytes;
    if (path.empty() || bytes.loadFromFile(path.cStr()) != 1)
        return ByteString();
    return bytes;
}

void buildUninstallHeader(ByteString& out)
{
    out = ByteString();
    const std::int32_t index = findTemplateIndex(gPackageToc.pageSequence, kUninstallerTemplatePage);
    if (index < 0)
        return;
    const ByteString& pageTemplate = gPackageToc.pageSequence[static_cast<std::size_t>(index)].templateBytes;
    TemplateWindow window;
    PointerList controls;
    const int parsed = parseTemplate(pageTemplate, window, controls, false, TemplateSettings{});
    if (parsed != kTemplateOk) {
        freeTemplateControls(controls);
        return;
    }
    const ByteString language = languageBlock();
    std::uint32_t imageCount = 0;
    const ByteString images = imageBlock(controls, imageCount);
    freeTemplateControls(controls);

    out.appendCStr("\\1");
    out.appendBE32(pageTemplate.length() + language.length() + images.length() + 16);
    out.appendBE32(language.length());
    out.append(language);
    out.appendBE32(pageTemplate.length());
    out.append(pageTemplate);
    out.appendBE32(images.length() + 4);
    out.appendBE32(imageCount);
    out.append(images);
}
