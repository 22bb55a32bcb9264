// An arbitrary dialog template, parsed with and without resolving at an odd DPI factor: no read
// outside the template, never more controls or bindings than its bytes could hold, and a
// template the parser accepts is accepted again with the same records.
#include "installer/wizard/TemplateParser.h"

#include <cstdint>

namespace {

void parseOnce(const ByteString& bytes, bool resolve, std::int32_t& result, std::int32_t& controls,
               std::int32_t& bindings)
{
    TemplateSettings settings;
    settings.languageNumber = 1031;
    settings.dpiFactor = 1250;
    TemplateWindow window;
    PointerList list;
    result = parseTemplate(bytes, window, list, resolve, settings);
    controls = list.count();
    bindings = window.bindings.count();
    // The smallest control is 52 bytes, the smallest binding 8.
    if (std::uint64_t(controls) * 52 + std::uint64_t(bindings) * 8 > bytes.length())
        __builtin_trap();
    for (std::int32_t i = 0; i < list.count(); ++i) {
        const auto* control = static_cast<const TemplateControl*>(list.get(i));
        if (control->text.length() > bytes.length() || control->link.length() > bytes.length())
            __builtin_trap();
        (void)controlBrushKind(*control);
    }
    freeTemplateControls(list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 20)
        return 0;
    const ByteString bytes(data, static_cast<std::uint32_t>(size));
    std::int32_t result = 0, controls = 0, bindings = 0;
    parseOnce(bytes, true, result, controls, bindings);
    if (result != kTemplateOk && result != kTemplateNoSignature && result != kTemplateTruncated)
        __builtin_trap();
    std::int32_t again = 0, controlsAgain = 0, bindingsAgain = 0;
    parseOnce(bytes, false, again, controlsAgain, bindingsAgain);
    if (again != result || controlsAgain != controls || bindingsAgain != bindings)
        __builtin_trap();
    return 0;
}
