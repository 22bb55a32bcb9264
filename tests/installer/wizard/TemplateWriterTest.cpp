// The package builder's templates, written from page descriptions, read back by the parser; and
// the template table's bytes and conditions stored as bytes.
#include "installer/wizard/TemplateParser.h"

#include "PackageBuilder.h"
#include "TemplateWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ByteString byteString(const Bytes& bytes)
{
    return ByteString(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

std::string text(const ByteString& s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.length());
}

struct Parsed {
    TemplateWindow window;
    PointerList controls;
    ~Parsed() { freeTemplateControls(controls); }
    const TemplateControl& control(std::int32_t i) const { return *static_cast<const TemplateControl*>(controls.get(i)); }
};

} // namespace

TEST(TemplateWriter, PageDescriptionsOfEveryVersionReadBack)
{
    for (const std::uint32_t version : {1u, 2u, 3u, 4u, 5u}) {
        const nlohmann::json page = {
            {"version", version},
            {"bindings", version >= 3 ? nlohmann::json::array({{{"variable", "<Name>"}, {"control", 5}}})
                                      : nlohmann::json::array()},
            {"pageId", 77}, {"alignment", 8}, {"x", -3}, {"width", 320}, {"height", 200},
            {"fontSize", 9}, {"font", "Tahoma"}, {"title", "Caf\u00e9 \u20ac"},
            {"controls",
             {{{"type", "edit"}, {"id", 5}, {"x", 1}, {"y", 2}, {"width", 3}, {"height", 4}, {"flag", true},
               {"text", "\u00e4"}, {"textColour", 0x1000000}, {"backColour", 0x4000000}},
              {{"type", "button"}, {"id", 1}, {"action", (5 << 16) | 1}, {"image", 12}},
              {{"type", 13}, {"id", 9}}}}};
        Parsed p;
        SCOPED_TRACE(version);
        ASSERT_EQ(parseTemplate(byteString(templateFromDescription(page)), p.window, p.controls, false, {}), kTemplateOk);
        EXPECT_EQ(p.window.pageId, 77u);
        EXPECT_EQ(p.window.alignment, 8);
        EXPECT_EQ(p.window.x, -3);
        EXPECT_EQ(p.window.width, 320);
        EXPECT_EQ(text(p.window.fontFace), "Tahoma");
        EXPECT_EQ(text(p.window.title), "Caf\xC3\xA9 \xE2\x82\xAC");
        EXPECT_EQ(p.window.bindings.count(), version >= 3 ? 1 : 0);
        ASSERT_EQ(p.controls.count(), 3);
        EXPECT_EQ(p.control(0).type, kControlEdit);
        EXPECT_EQ(p.control(0).extendedStyle, kTemplateControlFlag);
        EXPECT_EQ(p.control(0).height, 4);
        EXPECT_EQ(text(p.control(0).text), "\xC3\xA4");
        EXPECT_EQ(p.control(0).backColour, kColourTransparent);
        EXPECT_EQ(p.control(1).action, version >= 5 ? (5u << 16) | 1 : 0u);
        EXPECT_EQ(p.control(1).imageId, 12u);
        EXPECT_EQ(static_cast<std::int32_t>(p.control(2).imageId), kImageNone);
        EXPECT_EQ(p.control(2).type, kControlIpAddress);
    }
}

TEST(TemplateWriter, BadDescriptionsAreRefused)
{
    const char* const bad[] = {
        R"({"controls": [{"type": "slider"}]})",
        R"({"controls": [{"id": "one"}]})",
        R"({"version": 2, "bindings": [{"variable": "<A>", "control": 1}]})",
        R"({"controls": {"type": "edit"}})",
        R"([1, 2])",
    };
    for (const char* description : bad)
        EXPECT_THROW(templateFromDescription(nlohmann::json::parse(description)), PackageDescriptionError) << description;
}

TEST(TemplateWriter, TemplateTableHoldsBytesAndStoredConditions)
{
    const Bytes installer = {'M', 'Z'};
    const nlohmann::json description = nlohmann::json::parse(R"({
        "templates": [
            {"page": {"title": "T"}, "pageType": 2,
             "condition": {"osFlags": 2147483649, "comparisons": [{"left": "<A>", "op": 1, "right": "1"}]}},
            {"template": "RTT\u0000\u0000\u0000\u0005\u0080\u00ff", "pageType": 3}
        ]})");
    const Bytes built = buildInstallerWithPackage(installer, description);
    const Bytes page = templateFromDescription(nlohmann::json::parse(R"({"title": "T"})"));
    // The page's bytes follow the entry's length, then the page type, show-once and the
    // condition [osFlags][count][left NUL][op][right NUL] with its high bit kept.
    const std::string all(built.begin(), built.end());
    const std::string pageBytes(page.begin(), page.end());
    const std::size_t at = all.find(pageBytes);
    ASSERT_NE(at, std::string::npos);
    const std::string condition = std::string("\x80\x00\x00\x01", 4) + std::string("\x00\x00\x00\x01", 4) + "<A>" +
                                  std::string(1, '\0') + std::string("\x00\x00\x00\x01", 4) + "1" + std::string(1, '\0');
    const std::string expectedAfter = std::string("\x00\x00\x00\x02", 4) + std::string("\x00\x00\x00\x00", 4) +
                                      std::string("\x00\x00\x00\x12", 4) + condition;
    EXPECT_EQ(all.substr(at + pageBytes.size(), expectedAfter.size()), expectedAfter);
    // A template given as text keeps bytes of $80 and above as single bytes.
    EXPECT_NE(all.find(std::string("RTT\x00\x00\x00\x05\x80\xFF", 10)), std::string::npos);
    EXPECT_THROW(buildInstallerWithPackage(installer, nlohmann::json::parse(R"({"templates": [{"template": "\u20ac"}]})")),
                 PackageDescriptionError);
}
