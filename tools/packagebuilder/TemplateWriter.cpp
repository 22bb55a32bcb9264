#include "TemplateWriter.h"

#include "DescriptionFields.h"

#include <array>
#include <limits>
#include <string_view>

namespace {

using nlohmann::json;

constexpr std::uint32_t kChildVisible = 0x50000000;
constexpr std::uint32_t kDefaultPageStyle = 0x10C80000; // visible, caption, system menu
constexpr std::uint32_t kTemplateFlag = 0x80000000u;

void appendBigEndian16(Bytes& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void appendString(Bytes& out, const std::string& text)
{
    appendBigEndian(out, static_cast<std::uint32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

std::uint32_t word(const json& object, const char* name, std::int64_t fallback = 0)
{
    return descriptionWord(object, name, fallback, "template field ");
}

std::string text(const json& object, const char* name, const char* fallback = "")
{
    if (!object.contains(name))
        return fallback;
    if (!object.at(name).is_string())
        throw PackageDescriptionError(std::string("template field \"") + name + "\" must be a text");
    return object.at(name).get<std::string>();
}

constexpr std::array<std::string_view, 13> kTypeNames = {"static",   "button",   "checkbox", "radio",    "edit",
                                                         "richedit", "listbox",  "combobox", "groupbox", "listview",
                                                         "treeview", "progressbar", "ipaddress"};

std::uint32_t controlType(const json& control)
{
    if (!control.contains("type"))
        return 1;
    const json& type = control.at("type");
    if (!type.is_string())
        return word(control, "type");
    const std::string name = type.get<std::string>();
    for (std::size_t i = 0; i < kTypeNames.size(); ++i)
        if (kTypeNames[i] == name)
            return static_cast<std::uint32_t>(i + 1);
    throw PackageDescriptionError("unknown control type \"" + name + "\"");
}

const json& arrayOf(const json& object, const char* name)
{
    static const json empty = json::array();
    if (!object.contains(name))
        return empty;
    if (!object.at(name).is_array())
        throw PackageDescriptionError(std::string("template field \"") + name + "\" must be an array");
    return object.at(name);
}

void appendControl(Bytes& out, const json& control, std::uint32_t version)
{
    if (!control.is_object())
        throw PackageDescriptionError("each template control must be an object");
    appendBigEndian(out, word(control, "style", kChildVisible));
    std::uint32_t extendedStyle = word(control, "extendedStyle");
    if (control.value("flag", false))
        extendedStyle |= kTemplateFlag;
    appendBigEndian(out, extendedStyle);
    appendBigEndian(out, controlType(control));
    appendBigEndian(out, word(control, "subType"));
    if (version == 1)
        appendBigEndian(out, word(control, "unused"));
    for (const char* name : {"id", "x", "y", "width", "height"})
        appendBigEndian(out, word(control, name));
    appendBigEndian(out, word(control, "textColour"));
    appendBigEndian(out, word(control, "backColour", 0xFFFFFF));
    if (version >= 5)
        appendBigEndian(out, word(control, "action"));
    appendString(out, text(control, "text"));
    appendBigEndian(out, word(control, "image", -2));
}

} // namespace

Bytes templateFromDescription(const json& page)
{
    if (!page.is_object())
        throw PackageDescriptionError("a page description must be an object");
    const std::uint32_t version = word(page, "version", 5);
    Bytes out = {'R', 'T', 'T'};
    appendBigEndian(out, version);
    if (version >= 3) {
        const json& bindings = arrayOf(page, "bindings");
        appendBigEndian(out, static_cast<std::uint32_t>(bindings.size()));
        for (const json& binding : bindings) {
            if (!binding.is_object())
                throw PackageDescriptionError("each template binding must be an object");
            appendString(out, text(binding, "variable"));
            appendBigEndian(out, word(binding, "control"));
        }
    } else if (!arrayOf(page, "bindings").empty()) {
        throw PackageDescriptionError("templates before version 3 have no bindings");
    }
    appendBigEndian(out, word(page, "style", kDefaultPageStyle));
    for (const char* name : {"extendedStyle", "options", "pageId"})
        appendBigEndian(out, word(page, name));
    appendBigEndian(out, word(page, "alignment", 4));
    appendBigEndian(out, word(page, "x"));
    appendBigEndian(out, word(page, "y"));
    appendBigEndian(out, word(page, "width", 400));
    appendBigEndian(out, word(page, "height", 300));
    appendBigEndian16(out, static_cast<std::uint16_t>(word(page, "fontSize", 8)));
    appendBigEndian16(out, static_cast<std::uint16_t>(word(page, "fontStyle")));
    appendString(out, text(page, "font", "MS Sans Serif"));
    appendString(out, text(page, "title"));
    const json& controls = arrayOf(page, "controls");
    appendBigEndian(out, static_cast<std::uint32_t>(controls.size()));
    for (const json& control : controls)
        appendControl(out, control, version);
    return out;
}
