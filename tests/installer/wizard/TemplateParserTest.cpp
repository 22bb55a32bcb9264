// Dialog templates: every version's layout, every control type's special handling, language
// blocks, hyperlink statics, colour codes, DPI arithmetic and broken templates.
#include "installer/wizard/TemplateParser.h"

#include "installer/state/InstallerState.h"
#include "installer/variables/VariableList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct ControlSpec {
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::int32_t type = kControlStatic;
    std::int32_t subType = 0;
    std::int32_t id = 100;
    std::int32_t x = 10, y = 20, width = 200, height = 30;
    std::uint32_t textColour = 0x112233;
    std::uint32_t backColour = 0x445566;
    std::uint32_t action = 0;
    std::string text = "caption";
    std::uint32_t imageId = 7;
};

struct TemplateSpec {
    std::uint32_t version = 5;
    std::vector<std::pair<std::string, std::int32_t>> bindings;
    std::uint32_t style = 0x10000000, extendedStyle = 0x20, options = 0x1000, pageId = 42;
    std::int32_t alignment = 4, x = -5, y = 6, width = 400, height = 300;
    std::uint16_t fontSize = 9, fontStyle = 3;
    std::string fontFace = "Tahoma";
    std::string title = "Setup";
    std::vector<ControlSpec> controls;
};

void be32(std::string& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}
void be16(std::string& out, std::uint16_t v)
{
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v & 0xFF);
}
void str(std::string& out, const std::string& s)
{
    be32(out, static_cast<std::uint32_t>(s.size()));
    out += s;
}

std::string build(const TemplateSpec& t)
{
    std::string out = "RTT";
    be32(out, t.version);
    const bool bindings = t.version >= 3;
    if (bindings) {
        be32(out, static_cast<std::uint32_t>(t.bindings.size()));
        for (const auto& b : t.bindings) {
            str(out, b.first);
            be32(out, static_cast<std::uint32_t>(b.second));
        }
    }
    for (const std::uint32_t v : {t.style, t.extendedStyle, t.options, t.pageId}) be32(out, v);
    for (const std::int32_t v : {t.alignment, t.x, t.y, t.width, t.height}) be32(out, static_cast<std::uint32_t>(v));
    be16(out, t.fontSize);
    be16(out, t.fontStyle);
    str(out, t.fontFace);
    str(out, t.title);
    be32(out, static_cast<std::uint32_t>(t.controls.size()));
    for (const ControlSpec& c : t.controls) {
        be32(out, c.style);
        be32(out, c.extendedStyle);
        be32(out, static_cast<std::uint32_t>(c.type));
        be32(out, static_cast<std::uint32_t>(c.subType));
        if (t.version == 1)
            be32(out, 0xDEADBEEF);
        be32(out, static_cast<std::uint32_t>(c.id));
        for (const std::int32_t v : {c.x, c.y, c.width, c.height}) be32(out, static_cast<std::uint32_t>(v));
        be32(out, c.textColour);
        be32(out, c.backColour);
        if (t.version >= 5 && t.version != 0)
            be32(out, c.action);
        str(out, c.text);
        be32(out, c.imageId);
    }
    return out;
}

ByteString bytes(const std::string& s)
{
    return ByteString(reinterpret_cast<const std::uint8_t*>(s.data()), static_cast<std::uint32_t>(s.size()));
}

std::string text(const ByteString& s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.length());
}

struct Parsed {
    TemplateWindow window;
    PointerList controls;
    int result = 0;
    ~Parsed() { freeTemplateControls(controls); }
    const TemplateControl& control(std::int32_t i) const { return *static_cast<const TemplateControl*>(controls.get(i)); }
    const TemplateBinding& binding(std::int32_t i) const
    {
        return *static_cast<const TemplateBinding*>(window.bindings.get(i));
    }
};

void parse(Parsed& p, const std::string& bytesOfTemplate, bool resolve = false, const TemplateSettings& settings = {})
{
    p.result = parseTemplate(bytes(bytesOfTemplate), p.window, p.controls, resolve, settings);
}

TEST(TemplateParser, WindowFieldsBindingsAndControlOfEveryVersion)
{
    struct Case {
        std::uint32_t version;
        bool bindingsRead;
        bool actionRead;
    };
    // 0 and 2 read like a version without bindings and extra words, anything above 5 like 5.
    const Case cases[] = {{0, false, false}, {1, false, false}, {2, false, false}, {3, true, false},
                          {4, true, false},  {5, true, true},   {6, true, true},   {0xFFFFFFFF, true, true}};
    for (const Case& c : cases) {
        TemplateSpec t;
        t.version = c.version;
        t.bindings = {{"<InstallDir>", 100}, {"<Name>", -3}};
        ControlSpec button;
        button.type = kControlPushButton;
        button.id = 1;
        button.action = (5u << 16) | kActionBrowseFolder;
        button.text = "Browse";
        ControlSpec edit;
        edit.type = kControlEdit;
        edit.id = 5;
        edit.x = -1;
        edit.text = "C:\\Programme \xC3\xA4\xE2\x82\xAC"; // UTF-8 bytes stay as they are
        edit.imageId = 0xFFFFFFFE;
        t.controls = {button, edit};
        Parsed p;
        parse(p, build(t));
        SCOPED_TRACE(c.version);
        ASSERT_EQ(p.result, kTemplateOk);
        EXPECT_EQ(p.window.style, 0x10000000u);
        EXPECT_EQ(p.window.extendedStyle, 0x20u);
        EXPECT_EQ(p.window.options, 0x1000u);
        EXPECT_EQ(p.window.pageId, 42u);
        EXPECT_EQ(p.window.alignment, 4);
        EXPECT_EQ(p.window.x, -5);
        EXPECT_EQ(p.window.y, 6);
        EXPECT_EQ(p.window.width, 400);
        EXPECT_EQ(p.window.height, 300);
        EXPECT_EQ(p.window.fontSize, 9);
        EXPECT_EQ(p.window.fontStyle, 3);
        EXPECT_EQ(text(p.window.fontFace), "Tahoma");
        EXPECT_EQ(text(p.window.title), "Setup");
        ASSERT_EQ(p.window.bindings.count(), c.bindingsRead ? 2 : 0);
        if (c.bindingsRead) {
            EXPECT_EQ(text(p.binding(0).variableName), "<InstallDir>");
            EXPECT_EQ(p.binding(0).controlId, 100);
            EXPECT_EQ(text(p.binding(1).variableName), "<Name>");
            EXPECT_EQ(p.binding(1).controlId, -3);
        }
        ASSERT_EQ(p.controls.count(), 2);
        const TemplateControl& b = p.control(0);
        EXPECT_EQ(b.type, kControlPushButton);
        EXPECT_EQ(b.id, 1);
        EXPECT_EQ(b.x, 10);
        EXPECT_EQ(b.y, 20);
        EXPECT_EQ(b.width, 200);
        EXPECT_EQ(b.height, 30);
        EXPECT_EQ(b.textColour, 0x112233u);
        EXPECT_EQ(b.normalTextColour, 0x112233u);
        EXPECT_EQ(b.backColour, 0x445566u);
        EXPECT_EQ(b.action, c.actionRead ? ((5u << 16) | 1u) : 0u);
        EXPECT_EQ(text(b.text), "Browse");
        EXPECT_EQ(b.imageId, 7u);
        EXPECT_EQ(b.window, nullptr);
        EXPECT_EQ(b.brush, nullptr);
        const TemplateControl& e = p.control(1);
        EXPECT_EQ(e.id, 5);
        EXPECT_EQ(e.x, -1);
        EXPECT_EQ(text(e.text), "C:\\Programme \xC3\xA4\xE2\x82\xAC");
        EXPECT_EQ(static_cast<std::int32_t>(e.imageId), kImageNone);
    }
}

TEST(TemplateParser, ReparsingReplacesTheBindings)
{
    TemplateSpec t;
    t.bindings = {{"<A>", 1}, {"<B>", 2}};
    Parsed p;
    parse(p, build(t));
    t.bindings = {{"<C>", 3}};
    parse(p, build(t));
    ASSERT_EQ(p.window.bindings.count(), 1);
    EXPECT_EQ(text(p.binding(0).variableName), "<C>");
}

TEST(TemplateParser, SpecialHandlingOfEachControlType)
{
    struct Case {
        const char* what;
        std::uint32_t version;
        std::int32_t type;
        std::uint32_t style;
        std::uint32_t action;
        const char* text;
        const char* expectedText;
        std::uint32_t textColour, backColour, expectedAction;
    };
    const std::uint32_t tc = 0x112233, bc = 0x445566;
    const Case cases[] = {
        {"static", 5, kControlStatic, 0, 0, "a<\\n>b", "a<\\n>b", tc, bc, 0},
        {"push button", 5, kControlPushButton, 0xB, 0x30002, "Go", "Go", tc, bc, 0x30002},
        {"check box", 5, kControlCheckBox, 0, 0, "x", "x", tc, bc, 0},
        {"radio button", 5, kControlRadioButton, 0, 0, "x", "x", tc, bc, 0},
        {"single-line edit keeps its line marks", 5, kControlEdit, 0, 0, "a<\\n>b", "a<\\n>b", tc, bc, 0},
        {"multi-line edit", 5, kControlEdit, 4, 0, "a<\\n>b<\\n>", "a\r\nb\r\n", tc, bc, 0},
        {"rich edit", 5, kControlRichEdit, 0, 0, "<\\n>x", "\r\nx", tc, bc, 0},
        {"version-3 list box", 3, kControlListBox, 0, 0, "one\r\ntwo", "one\r\ntwo", kColourWindowText, kColourWindow, 0},
        {"version-1 list box", 1, kControlListBox, 0, 0, "x", "x", kColourWindowText, kColourWindow, 0},
        {"version-4 list box", 4, kControlListBox, 0, 0, "x", "x", tc, bc, 0},
        {"version-3 combo box", 3, kControlComboBox, 0, 0, "x", "x", tc, bc, 0},
        {"group box", 5, kControlGroupBox, 0, 0, "x", "x", tc, bc, 0},
        {"list view", 5, kControlListView, 0, 0, "x", "x", tc, bc, 0},
        {"tree view", 5, kControlTreeView, 0, 0, "x", "x", tc, bc, 0},
        {"progress bar, own text colour", 5, kControlProgressBar, 1, 0x80FF0000, "", "", tc, bc, 0xFF0000},
        {"progress bar, default colours", 5, kControlProgressBar, 0, 0x00FF0000, "", "", tc, kColourButtonFace, 0xFFFFFF},
        {"version-4 progress bar", 4, kControlProgressBar, 0, 0, "", "", tc, kColourButtonFace, 0xFFFFFF},
        {"IP address", 5, kControlIpAddress, 0, 0, "10.0.0.1", "10.0.0.1", tc, bc, 0},
    };
    for (const Case& c : cases) {
        TemplateSpec t;
        t.version = c.version;
        ControlSpec control;
        control.type = c.type;
        control.style = c.style;
        control.action = c.action;
        control.text = c.text;
        control.extendedStyle = kTemplateControlFlag | 0x200;
        t.controls = {control};
        Parsed p;
        parse(p, build(t));
        ASSERT_EQ(p.result, kTemplateOk) << c.what;
        ASSERT_EQ(p.controls.count(), 1) << c.what;
        const TemplateControl& got = p.control(0);
        EXPECT_EQ(got.type, c.type) << c.what;
        EXPECT_EQ(got.style, c.style) << c.what;
        EXPECT_EQ(got.extendedStyle, kTemplateControlFlag | 0x200) << c.what;
        EXPECT_EQ(text(got.text), c.expectedText) << c.what;
        EXPECT_EQ(got.textColour, c.textColour) << c.what;
        EXPECT_EQ(got.normalTextColour, c.textColour) << c.what;
        EXPECT_EQ(got.backColour, c.backColour) << c.what;
        EXPECT_EQ(got.action, c.expectedAction) << c.what;
    }
}

TEST(TemplateParser, LanguageBlocks)
{
    struct Case {
        const char* text;
        std::int32_t language;
        const char* expected;
    };
    const char* const two = "<LangID=2>Hallo</LangID=2><LangID=1>Hello</LangID=1>";
    const char* const title = "<LangID=1>Setup</LangID=1><LangID=1031>Installation</LangID=1031>";
    const Case cases[] = {
        {two, 2, "Hallo"},
        {two, 1, "Hello"},
        {two, 3, "Hello"},
        {two, 0, "Hello"},
        {title, 1031, "Installation"},
        {title, 103, "Setup"},
        {title, 1, "Setup"},
        {"no blocks at all", 2, "no blocks at all"},
        {"<LangID=2>only two</LangID=2>", 3, "<LangID=2>only two</LangID=2>"},
        {"<langid=2>lower case</langid=2>", 2, "<langid=2>lower case</langid=2>"},
        {"before <LangID=2>inner</LangID=2> after", 2, "inner"},
        {"<LangID=2></LangID=2>", 2, ""},
        {"<LangID=2>never closed<LangID=1>one</LangID=1>", 2, "one"},
        {"</LangID=2>closed first<LangID=2>", 2, "</LangID=2>closed first<LangID=2>"},
        {"<LangID=-5>minus</LangID=-5>", -5, "minus"},
    };
    for (const Case& c : cases) {
        ByteString s(c.text);
        selectLanguageBlock(s, c.language);
        EXPECT_EQ(text(s), c.expected) << c.text << " / " << c.language;
    }
}

TEST(TemplateParser, HyperlinkStatics)
{
    struct Case {
        const char* text;
        bool link;
        const char* shown;
        const char* target;
    };
    const Case cases[] = {
        {"hyperlink: text=\"Home page\" link=\"http://example.org\"", true, "Home page", "http://example.org"},
        {"HyperLink:TEXT=\"Mixed\"LINK=\"<InstallDir>\\readme.txt\"", true, "Mixed", "<InstallDir>\\readme.txt"},
        {"hyperlink: link=\"first\" text=\"second\"", true, "second", "first"},
        {"hyperlink: text=\"\" link=\"\"", true, "", ""},
        {"hyperlink: text=\"no link\"", false, nullptr, nullptr},
        {"hyperlink: text=\"open link=\"", false, nullptr, nullptr},
        {"hyperlink: text=\"x\" link=\"unclosed", false, nullptr, nullptr},
        {"hyperlink: text = \"spaced\" link=\"y\"", false, nullptr, nullptr},
        {"see hyperlink: text=\"a\" link=\"b\"", false, nullptr, nullptr},
        {"hyperlink", false, nullptr, nullptr},
        {"", false, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        ByteString s(c.text);
        ByteString link;
        EXPECT_EQ(splitHyperlink(s, link), c.link) << c.text;
        EXPECT_EQ(text(s), c.link ? c.shown : c.text) << c.text;
        EXPECT_EQ(text(link), c.link ? c.target : "") << c.text;
    }
}

TEST(TemplateParser, ResolvingTextsColoursAndSizes)
{
    TemplateSettings settings;
    settings.languageNumber = 2;
    settings.dpiFactor = 1250;
    settings.windowTextColour = 0x010101;
    settings.windowColour = 0x020202;
    settings.buttonFaceColour = 0x030303;
    TemplateSpec t;
    t.title = "<LangID=1>Setup</LangID=1><LangID=2>Einrichtung</LangID=2>";
    ControlSpec cleared;
    cleared.subType = 2;
    cleared.text = "<LangID=2>gone</LangID=2>";
    ControlSpec link;
    link.text = "<LangID=2>hyperlink: text=\"Seite\" link=\"http://x\"</LangID=2>";
    link.textColour = kColourWindowText;
    link.backColour = kColourTransparent;
    ControlSpec edit;
    edit.type = kControlEdit;
    edit.text = "hyperlink: text=\"a\" link=\"b\"";
    edit.textColour = kColourButtonFace;
    edit.backColour = kColourWindow;
    edit.x = 8;
    edit.y = -8;
    edit.width = 3;
    edit.height = 0;
    t.controls = {cleared, link, edit};

    Parsed p;
    parse(p, build(t), true, settings);
    ASSERT_EQ(p.result, kTemplateOk);
    EXPECT_EQ(text(p.window.title), "Einrichtung");
    EXPECT_EQ(p.window.width, 500);
    EXPECT_EQ(p.window.height, 370);
    ASSERT_EQ(p.controls.count(), 3);
    EXPECT_EQ(text(p.control(0).text), "");
    EXPECT_EQ(p.control(0).x, 12);
    EXPECT_EQ(p.control(0).y, 25);
    EXPECT_EQ(p.control(0).width, 250);
    EXPECT_EQ(p.control(0).height, 37);
    EXPECT_EQ(text(p.control(1).text), "Seite");
    EXPECT_EQ(text(p.control(1).link), "http://x");
    EXPECT_EQ(p.control(1).textColour, 0x010101u);
    EXPECT_EQ(p.control(1).normalTextColour, 0x010101u);
    EXPECT_EQ(p.control(1).backColour, kColourTransparent);
    EXPECT_EQ(text(p.control(2).text), "hyperlink: text=\"a\" link=\"b\"") << "only statics are links";
    EXPECT_TRUE(p.control(2).link.empty());
    EXPECT_EQ(p.control(2).textColour, 0x030303u);
    EXPECT_EQ(p.control(2).backColour, 0x020202u);
    EXPECT_EQ(p.control(2).x, 10);
    EXPECT_EQ(p.control(2).y, -10);
    EXPECT_EQ(p.control(2).width, 3);
    EXPECT_EQ(p.control(2).height, 0);

    // Without resolving, texts, codes and sizes stay as the template gives them; the title still
    // gets its language block.
    Parsed raw;
    parse(raw, build(t), false, TemplateSettings{2, 1000});
    ASSERT_EQ(raw.result, kTemplateOk);
    EXPECT_EQ(text(raw.window.title), "Einrichtung");
    EXPECT_EQ(raw.window.width, 400);
    EXPECT_EQ(text(raw.control(0).text), "<LangID=2>gone</LangID=2>");
    EXPECT_EQ(raw.control(1).textColour, kColourWindowText);
    EXPECT_TRUE(raw.control(1).link.empty());
    EXPECT_EQ(raw.control(2).x, 8);
}

TEST(TemplateParser, ResolvedLinkNamesUserVariables)
{
    appendKnownVariable("<Site>", kVariableText, ByteString(), ByteString("example.org"), 0);
    TemplateSpec t;
    ControlSpec link;
    link.text = "hyperlink: text=\"<Site>\" link=\"http://<Site>/help\"";
    t.controls = {link};
    Parsed p;
    parse(p, build(t), true);
    gPackageToc.variables.clear();
    ASSERT_EQ(p.result, kTemplateOk);
    EXPECT_EQ(text(p.control(0).link), "http://example.org/help");
    EXPECT_EQ(text(p.control(0).text), "<Site>") << "the shown text is left to the page";
}

TEST(TemplateParser, PagesAtEachScreenResolution)
{
    struct Case {
        std::int32_t logPixels;
        std::int32_t width, height, controlX, controlY, controlWidth, controlHeight;
    };
    // A 400 x 300 page, a control at 10, 20 of 200 x 30.
    const Case cases[] = {
        {96, 400, 300, 10, 20, 200, 30},
        {120, 500, 370, 12, 25, 250, 37},
        {144, 600, 441, 15, 30, 300, 45},
    };
    for (const Case& c : cases) {
        TemplateSettings settings;
        settings.dpiFactor = dpiFactorFor(c.logPixels);
        TemplateSpec t;
        t.controls = {ControlSpec{}};
        Parsed p;
        parse(p, build(t), true, settings);
        ASSERT_EQ(p.result, kTemplateOk) << c.logPixels;
        EXPECT_EQ(p.window.width, c.width) << c.logPixels;
        EXPECT_EQ(p.window.height, c.height) << c.logPixels;
        EXPECT_EQ(p.control(0).x, c.controlX) << c.logPixels;
        EXPECT_EQ(p.control(0).y, c.controlY) << c.logPixels;
        EXPECT_EQ(p.control(0).width, c.controlWidth) << c.logPixels;
        EXPECT_EQ(p.control(0).height, c.controlHeight) << c.logPixels;
    }
}

TEST(TemplateParser, BrushOfEachKindOfControl)
{
    struct Case {
        std::int32_t type, subType;
        std::uint32_t back;
        ControlBrush brush;
    };
    const Case cases[] = {
        {kControlStatic, 0, 0x123456, ControlBrush::Solid},      {kControlStatic, 2, kColourTransparent, ControlBrush::Hollow},
        {kControlStatic, 3, kColourTransparent, ControlBrush::Solid}, {kControlStatic, 4, 0x123456, ControlBrush::None},
        {kControlPushButton, 0, kColourTransparent, ControlBrush::Hollow}, {kControlCheckBox, 0, 0, ControlBrush::Solid},
        {kControlRadioButton, 0, 0, ControlBrush::Solid},        {kControlEdit, 0, kColourTransparent, ControlBrush::Hollow},
        {kControlRichEdit, 0, 0, ControlBrush::None},            {kControlListBox, 0, 0, ControlBrush::Solid},
        {kControlComboBox, 0, 0, ControlBrush::None},            {kControlGroupBox, 0, 0, ControlBrush::Solid},
        {kControlListView, 0, 0, ControlBrush::None},            {kControlTreeView, 0, 0, ControlBrush::None},
        {kControlProgressBar, 0, 0, ControlBrush::None},         {kControlIpAddress, 0, 0, ControlBrush::None},
        {99, 0, 0, ControlBrush::None},
    };
    for (const Case& c : cases) {
        TemplateControl control;
        control.type = c.type;
        control.subType = c.subType;
        control.backColour = c.back;
        EXPECT_EQ(controlBrushKind(control), c.brush) << c.type << "/" << c.subType;
    }
}

TEST(TemplateParser, DpiArithmetic)
{
    struct FactorCase {
        std::int32_t logPixels, factor;
    };
    for (const FactorCase c : {FactorCase{96, 1000}, {120, 1250}, {144, 1500}, {192, 2000}, {72, 750}})
        EXPECT_EQ(dpiFactorFor(c.logPixels), c.factor) << c.logPixels;
    EXPECT_EQ(scaleWindowHeightByDpi(300, 1250), 370);
    EXPECT_EQ(scaleByDpi(400, 1250), 500);
    EXPECT_EQ(scaleByDpi(-7, 1500), -10);
    EXPECT_EQ(scaleByDpi(0x7FFFFFFF, 1500), 0x7FFFFFFF) << "kept within 32 bits";
    EXPECT_EQ(scaleByDpi(-0x7FFFFFFF - 1, 1500), -0x7FFFFFFF - 1);
    EXPECT_EQ(scaleWindowHeightByDpi(-0x7FFFFFFF - 1, 2000), -0x7FFFFFFF - 1);
    struct FontCase {
        std::uint16_t size;
        std::int32_t factor, height;
    };
    for (const FontCase c : {FontCase{9, 1000, -12}, {8, 1000, -11}, {9, 1250, -15}, {10, 1500, -20}, {0, 1250, 0}})
        EXPECT_EQ(templateFontHeight(c.size, c.factor), c.height) << c.size << " at " << c.factor;
    EXPECT_EQ(mulDiv(5, 3, 2), 8);
    EXPECT_EQ(mulDiv(-5, 3, 2), -8);
    EXPECT_EQ(mulDiv(1, 1, 0), -1);
    EXPECT_EQ(mulDiv(0x7FFFFFFF, 4, 2), -1);
}

TEST(TemplateParser, FindsTheFirstPageOfAType)
{
    std::vector<TemplateEntry> pages(4);
    const std::int32_t types[] = {1, 13, 13, 14};
    for (std::size_t i = 0; i < pages.size(); ++i)
        pages[i].pageType = types[i];
    EXPECT_EQ(findTemplateIndex(pages, 1), 0);
    EXPECT_EQ(findTemplateIndex(pages, 13), 1);
    EXPECT_EQ(findTemplateIndex(pages, 14), 3);
    EXPECT_EQ(findTemplateIndex(pages, 2), -1);
    EXPECT_EQ(findTemplateIndex({}, 1), -1);
}

TEST(TemplateParser, TemplatesWithoutTheSignature)
{
    const std::string good = build(TemplateSpec{});
    for (const std::string& bad : {std::string(), std::string("RT"), std::string("rtt") + good.substr(3),
                                   std::string("x") + good, std::string(" RTT"), std::string("\0RTT", 4)}) {
        Parsed p;
        parse(p, bad);
        EXPECT_EQ(p.result, kTemplateNoSignature) << bad;
        EXPECT_EQ(p.controls.count(), 0);
    }
}

TEST(TemplateParser, EveryCutOfATemplateIsReportedAsTruncated)
{
    for (const std::uint32_t version : {1u, 2u, 5u}) {
        TemplateSpec t;
        t.version = version;
        t.bindings = {{"<InstallDir>", 4}};
        ControlSpec a;
        a.text = "first";
        ControlSpec b;
        b.type = kControlListBox;
        b.text = "one\r\ntwo";
        t.controls = {a, b};
        const std::string whole = build(t);
        for (std::size_t n = 3; n < whole.size(); ++n) {
            Parsed p;
            parse(p, whole.substr(0, n), true);
            ASSERT_EQ(p.result, kTemplateTruncated) << "version " << version << ", " << n << " bytes";
            EXPECT_LE(p.controls.count(), 1);
        }
        Parsed p;
        parse(p, whole + "trailing bytes", true);
        EXPECT_EQ(p.result, kTemplateOk) << "bytes after the last control are ignored";
        EXPECT_EQ(p.controls.count(), 2);
    }
}

TEST(TemplateParser, HostileCountsAndLengths)
{
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string hugeBindings = "RTT";
    be32(hugeBindings, 5);
    be32(hugeBindings, 0xFFFFFFFF);
    std::string hugeName = "RTT";
    be32(hugeName, 3);
    be32(hugeName, 1);
    be32(hugeName, 0xFFFFFFF0);
    be32(hugeName, 0);
    be32(hugeName, 0);
    TemplateSpec t;
    t.controls = {ControlSpec{}};
    // One version-5 control: twelve words, the text "caption" with its length, the image id.
    std::string hugeControls = build(t);
    const std::size_t countAt = hugeControls.size() - (4 * 12 + 4 + 7 + 4) - 4;
    ASSERT_EQ(hugeControls.substr(countAt, 4), std::string("\0\0\0\1", 4));
    hugeControls.replace(countAt, 4, std::string("\x7F\xFF\xFF\xFF", 4));
    std::string hugeText = build(t);
    const std::size_t textLengthAt = hugeText.size() - 4 - 7 - 4;
    ASSERT_EQ(hugeText.substr(textLengthAt, 4), std::string("\0\0\0\7", 4));
    hugeText.replace(textLengthAt, 4, std::string("\xFF\xFF\xFF\xF0", 4));
    std::string hugeTitle = build(TemplateSpec{});
    const std::size_t titleLengthAt = hugeTitle.size() - 4 - 5 - 4;
    ASSERT_EQ(hugeTitle.substr(titleLengthAt, 4), std::string("\0\0\0\5", 4));
    hugeTitle.replace(titleLengthAt, 4, std::string("\x80\x00\x00\x00", 4));
    const Case cases[] = {
        {"binding count far above the content", hugeBindings},
        {"binding name longer than the template", hugeName},
        {"control count far above the content", hugeControls},
        {"control text longer than the template", hugeText},
        {"title longer than the template", hugeTitle},
        {"signature and a cut version", std::string("RTT\0\0", 5)},
    };
    for (const Case& c : cases) {
        Parsed p;
        parse(p, c.bytes, true);
        EXPECT_EQ(p.result, kTemplateTruncated) << c.what;
        EXPECT_EQ(p.controls.count(), 0) << c.what;
    }
}

} // namespace
