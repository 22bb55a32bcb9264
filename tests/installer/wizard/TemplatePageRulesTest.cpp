// The portable rules of template pages: placement on the work area, bindings in both directions,
// required controls, control colours, image-button frames, hover tracking and button actions.
#include "installer/wizard/ButtonActions.h"
#include "installer/wizard/ControlColours.h"
#include "installer/wizard/HoverTracking.h"
#include "installer/wizard/ImageButtonFrame.h"
#include "installer/wizard/PageBindings.h"
#include "installer/wizard/PagePlacement.h"
#include "installer/wizard/RequiredControls.h"

#include "installer/variables/VariableList.h"
#include "installer/variables/VariableTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::string text(const ByteString& s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.length());
}

TemplateControl* control(PointerList& list, std::int32_t type, std::int32_t x, std::int32_t y, std::int32_t w,
                         std::int32_t h)
{
    auto* c = new TemplateControl;
    c->type = type;
    c->x = x;
    c->y = y;
    c->width = w;
    c->height = h;
    list.add(c);
    return c;
}

struct Controls {
    PointerList list;
    ~Controls() { freeTemplateControls(list); }
};

} // namespace

TEST(PagePlacement, AlignmentsOffsetsAndClamping)
{
    struct Case {
        std::int32_t alignment, x, y;
        std::int32_t expectX, expectY;
    };
    // Work area 0,40 - 1000,840 (a taskbar on top); window 200 x 100.
    const Case cases[] = {
        {0, 0, 0, 0, 40},       {1, 0, 0, 400, 40},     {2, 0, 0, 800, 40},    {3, 0, 0, 0, 390},
        {4, 0, 0, 400, 390},    {5, 0, 0, 800, 390},    {6, 0, 0, 0, 740},     {7, 0, 0, 400, 740},
        {8, 0, 0, 800, 740},    {9, 10, 5, 10, 45},     {-1, 0, 0, 0, 40},     {4, 30, -20, 430, 370},
        {0, -50, -50, 0, 40},   {8, 50, 50, 800, 740},  {4, 100000, 0, 800, 390},
    };
    for (const Case& c : cases) {
        TemplateWindow window;
        window.alignment = c.alignment;
        window.x = c.x;
        window.y = c.y;
        window.width = 200;
        window.height = 100;
        placeOnWorkArea(window, AreaRect{0, 40, 1000, 840});
        SCOPED_TRACE(c.alignment);
        EXPECT_EQ(window.x, c.expectX);
        EXPECT_EQ(window.y, c.expectY);
    }
}

TEST(PagePlacement, FrameGrowsWithTheSystemMetrics)
{
    TemplateWindow window;
    window.width = 400;
    window.height = 300;
    fitFrameToSystem(window, FrameMetrics{});
    EXPECT_EQ(window.width, 402);
    EXPECT_EQ(window.height, 302);
    TemplateWindow thick;
    thick.width = 400;
    thick.height = 300;
    fitFrameToSystem(thick, FrameMetrics{2, 1, 2, 1, 23});
    EXPECT_EQ(thick.width, 402);
    EXPECT_EQ(thick.height, 307);
    TemplateWindow thin;
    thin.width = 400;
    thin.height = 300;
    fitFrameToSystem(thin, FrameMetrics{0, 1, 0, 1, 18});
    EXPECT_EQ(thin.width, 400);
    EXPECT_EQ(thin.height, 300);
}

TEST(PagePlacement, BackgroundErasedUnlessFourCornersAreCovered)
{
    Controls full;
    control(full.list, kControlStatic, 0, 0, 400, 300);
    EXPECT_TRUE(controlsCoverClientArea(full.list, 400, 300));

    Controls corners;
    control(corners.list, kControlStatic, 0, 0, 10, 10);
    control(corners.list, kControlStatic, 390, 0, 10, 10);
    control(corners.list, kControlStatic, 0, 290, 10, 10);
    EXPECT_FALSE(controlsCoverClientArea(corners.list, 400, 300));
    control(corners.list, kControlStatic, 390, 290, 10, 10);
    EXPECT_TRUE(controlsCoverClientArea(corners.list, 400, 300));

    Controls none;
    EXPECT_FALSE(controlsCoverClientArea(none.list, 400, 300));
}

TEST(PageBindings, WhatAControlShowsOfItsVariable)
{
    struct Case {
        std::int32_t type;
        std::int32_t kind;
        std::int32_t state;
        const char* defaultText;
        const char* valueText;
        std::int32_t valueInt;
        BindingDisplay::Kind expect;
        const char* expectText;
        std::int32_t expectSelection;
    };
    const Case cases[] = {
        {kControlCheckBox, kVariableInteger, kVariableKnown, "", "5", 5, BindingDisplay::Check, "", -1},
        {kControlCheckBox, kVariableInteger, kVariableKnown, "1", "0", 0, BindingDisplay::Nothing, "", -1},
        {kControlRadioButton, kVariableText, kVariableKnown, "0", "1", 0, BindingDisplay::Check, "", -1},
        {kControlRadioButton, kVariableText, kVariableKnown, "1", "0", 0, BindingDisplay::Nothing, "", -1},
        {kControlCheckBox, kVariableText, kVariableFromRegistry, "1", "", 0, BindingDisplay::Check, "", -1},
        {kControlEdit, kVariableText, kVariableKnown, "d", "C:\\Prog \xC3\xA4", 0, BindingDisplay::Text,
         "C:\\Prog \xC3\xA4", -1},
        {kControlEdit, kVariableText, kVariableFromIni, "default", "", 0, BindingDisplay::Text, "default", -1},
        {kControlIpAddress, kVariableText, kVariableKnown, "", "10.0.0.1", 0, BindingDisplay::Text, "10.0.0.1", -1},
        {kControlListBox, kVariableInteger, kVariableKnown, "", "2", 2, BindingDisplay::Selection, "", 2},
        {kControlComboBox, kVariableInteger, kVariableKnown, "", "-1", -1, BindingDisplay::Nothing, "", -1},
        {kControlStatic, kVariableText, kVariableKnown, "", "x", 1, BindingDisplay::Nothing, "", -1},
    };
    for (const Case& c : cases) {
        InstallerVariable v;
        v.kind = c.kind;
        v.state = c.state;
        v.defaultText = ByteString(c.defaultText);
        v.valueText = ByteString(c.valueText);
        v.valueInt = c.valueInt;
        const BindingDisplay d = bindingDisplay(c.type, v);
        SCOPED_TRACE(c.type);
        EXPECT_EQ(d.kind, c.expect);
        EXPECT_EQ(text(d.text), c.expectText);
        EXPECT_EQ(d.selection, c.expectSelection);
    }
}

TEST(PageBindings, ClosedControlsGiveTheirValues)
{
    struct Case {
        std::int32_t type;
        ControlState state;
        const char* expectText;
        std::int32_t expectValue;
    };
    const Case cases[] = {
        {kControlCheckBox, {1, ByteString(), -1}, "1", 1},
        {kControlCheckBox, {2, ByteString(), -1}, "1", 1},
        {kControlRadioButton, {0, ByteString(), -1}, "0", 0},
        {kControlEdit, {0, ByteString("42 apples"), -1}, "42 apples", 42},
        {kControlEdit, {0, ByteString("\xE2\x82\xAC"), -1}, "\xE2\x82\xAC", 0},
        {kControlIpAddress, {0, ByteString("192.168.0.1"), -1}, "192.168.0.1", 192},
        {kControlListBox, {0, ByteString(), 3}, "3", 3},
        {kControlComboBox, {0, ByteString(), -1}, "-1", -1},
        {kControlGroupBox, {1, ByteString("x"), 2}, "", 0},
    };
    for (const Case& c : cases) {
        const BindingValue v = bindingValueOf(c.type, c.state);
        SCOPED_TRACE(c.type);
        EXPECT_EQ(text(v.text), c.expectText);
        EXPECT_EQ(v.value, c.expectValue);
    }
}

TEST(PageBindings, StoringReplacesInPlaceOrAppends)
{
    CleanVariableState clean;
    InstallerVariable& existing =
        appendKnownVariable("<Choice>", kVariableText, ByteString("1"), ByteString("0"), 0);
    existing.state = kVariableFromRegistry;
    existing.textA = ByteString("HKLM");
    storeBoundVariable(ByteString("<Choice>"), BindingValue{ByteString("1"), 1});
    ASSERT_EQ(gPackageToc.variables.size(), 1u);
    // The same entry, now a known integer without its old source.
    EXPECT_EQ(&existing, gPackageToc.variables[0].get());
    EXPECT_EQ(existing.kind, kVariableInteger);
    EXPECT_EQ(existing.state, kVariableKnown);
    EXPECT_EQ(text(existing.valueText), "1");
    EXPECT_EQ(existing.valueInt, 1);
    EXPECT_TRUE(existing.textA.empty());
    EXPECT_EQ(text(existing.name), "<Choice>");
    // Names are matched exactly: another case is another variable.
    storeBoundVariable(ByteString("<choice>"), BindingValue{ByteString("7"), 7});
    ASSERT_EQ(gPackageToc.variables.size(), 2u);
    EXPECT_EQ(text(gPackageToc.variables[1]->name), "<choice>");
    EXPECT_EQ(gPackageToc.variables[1]->valueInt, 7);
    // The stored check box value checks the box again when the page comes back.
    EXPECT_EQ(bindingDisplay(kControlCheckBox, existing).kind, BindingDisplay::Check);
}

TEST(RequiredControls, NextIsAllowedOnlyWhenEveryRequiredControlHoldsAValue)
{
    struct Case {
        std::vector<RequiredState> states;
        bool allowed;
    };
    const Case cases[] = {
        {{}, true},
        {{{kControlCheckBox, true}}, true},
        {{{kControlCheckBox, false}}, false},
        {{{kControlRadioButton, false}}, false},
        {{{kControlEdit, false, true}}, true},
        {{{kControlEdit, false, false}}, false},
        {{{kControlComboBox, false, false, true}}, true},
        {{{kControlComboBox, false, true, false}}, true},
        {{{kControlComboBox, false, false, false}}, false},
        {{{kControlListBox, false, true, false}}, false},
        {{{kControlListBox, false, false, true}}, true},
        {{{kControlIpAddress, false, false, false, 3}}, false},
        {{{kControlIpAddress, false, false, false, 4}}, true},
        {{{kControlIpAddress, false, false, false, 0}, {kControlEdit, false, true}}, false},
    };
    for (const Case& c : cases) {
        Controls controls;
        for (std::size_t i = 0; i < c.states.size(); ++i)
            control(controls.list, c.states[i].type, 0, 0, 1, 1)->id = static_cast<std::int32_t>(i);
        const bool allowed = requiredControlsFilled(controls.list, [&](const TemplateControl& tc) {
            return c.states[static_cast<std::size_t>(tc.id)];
        });
        EXPECT_EQ(allowed, c.allowed) << c.states.size() << " controls, first type " << (c.states.empty() ? 0 : c.states[0].type);
    }
    for (std::int32_t type = kControlStatic; type <= kControlIpAddress; ++type) {
        const bool expected = type == 3 || type == 4 || type == 5 || type == 7 || type == 8 || type == 13;
        EXPECT_EQ(canBeRequired(type), expected) << type;
    }
}

TEST(ControlColours, EachQuestionGetsItsColoursAndBackgroundMode)
{
    struct Case {
        ColourQuestion question;
        std::int32_t type;
        bool hasBrush;
        bool answered;
        bool transparent;
    };
    const Case cases[] = {
        {ColourQuestion::Edit, kControlEdit, true, true, false},
        {ColourQuestion::Edit, kControlRichEdit, false, true, false},
        {ColourQuestion::Edit, kControlComboBox, true, false, false},
        {ColourQuestion::ListBox, kControlListBox, true, true, false},
        {ColourQuestion::ListBox, kControlListBox, false, false, false},
        {ColourQuestion::ListBox, kControlComboBox, true, false, false},
        {ColourQuestion::Static, kControlStatic, true, true, true},
        {ColourQuestion::Static, kControlEdit, true, true, false},
        {ColourQuestion::Static, kControlCheckBox, true, true, true},
        {ColourQuestion::Button, kControlPushButton, true, true, true},
    };
    for (const Case& c : cases) {
        TemplateControl tc;
        tc.type = c.type;
        tc.textColour = 0x0000FF;
        tc.normalTextColour = 0x00FF00;
        tc.backColour = 0x123456;
        const ControlPaint paint = controlPaint(c.question, tc, c.hasBrush);
        SCOPED_TRACE(c.type);
        EXPECT_EQ(paint.answered, c.answered);
        if (!c.answered)
            continue;
        // The current colour, which a hovered hyperlink changes.
        EXPECT_EQ(paint.textColour, 0x0000FFu);
        EXPECT_EQ(paint.transparent, c.transparent);
        if (!c.transparent) {
            EXPECT_EQ(paint.backColour, 0x123456u);
        }
    }
}

TEST(ImageButtonFrame, FramesOfEachStateAndStripsTooNarrowForThem)
{
    struct Case {
        std::int32_t frames; // strip width in frames of 20 pixels
        ImageButtonState state;
        std::int32_t sourceX;
        bool focusRectangle;
    };
    const Case cases[] = {
        {5, {}, 0, false},
        {5, {true, false, false, false}, 20, false},
        {5, {false, true, false, false}, 40, false},
        {5, {false, false, true, false}, 60, false},
        {5, {false, false, false, true}, 80, false},
        {5, {true, true, true, true}, 20, false},
        // Four frames: no focus frame, a focus rectangle instead.
        {4, {false, false, false, true}, 0, true},
        {4, {false, false, true, true}, 60, true},
        // Three frames: no hover frame.
        {3, {false, false, true, false}, 0, false},
        // Fewer frames than states: the normal frame, never a copy from beyond the strip.
        {1, {true, false, false, false}, 0, false},
        {2, {false, true, false, false}, 0, false},
        {2, {true, false, false, false}, 20, false},
        {0, {true, false, false, false}, 0, false},
    };
    for (const Case& c : cases) {
        const ImageButtonDraw draw = imageButtonFrame(20, 20 * c.frames, c.state);
        SCOPED_TRACE(c.frames);
        EXPECT_EQ(draw.sourceX, c.sourceX);
        EXPECT_EQ(draw.focusRectangle, c.focusRectangle);
        EXPECT_LE(draw.sourceX + 20, std::max(20, 20 * c.frames));
    }
    // A button without width copies nothing from beyond either.
    EXPECT_EQ(imageButtonFrame(0, 100, {true, false, false, false}).sourceX, 0);
}

TEST(HoverTracking, HyperlinkTurnsRedUnderTheMouseAndBackWhenLeft)
{
    Controls controls;
    TemplateControl* link = control(controls.list, kControlStatic, 10, 10, 100, 20);
    link->link = ByteString("https://example.invalid/");
    link->textColour = link->normalTextColour = 0xAA0000;
    TemplateControl* plain = control(controls.list, kControlStatic, 10, 40, 100, 20);
    plain->textColour = plain->normalTextColour = 0x00AA00;
    PageHover hover{kHoverTracking, nullptr};
    auto always = [](const TemplateControl&) { return true; };

    // Over the link, with the page drawn at offset (5, 5).
    HoverEffects in = trackMouseMove(hover, controls.list, 20, 20, 5, 5, always);
    EXPECT_EQ(hover.hot, link);
    EXPECT_EQ(hover.bits, kHoverTracking | kHoverOverHot);
    EXPECT_EQ(link->textColour, kColourHoveredLink);
    EXPECT_EQ(link->normalTextColour, 0xAA0000u);
    EXPECT_EQ(in.cursor, CursorChange::Hand);
    ASSERT_EQ(in.repaint.size(), 1u);
    // Moving within the link changes nothing more.
    EXPECT_TRUE(trackMouseMove(hover, controls.list, 30, 25, 5, 5, always).repaint.empty());
    // Its right edge lies outside (offset included).
    EXPECT_EQ(trackMouseMove(hover, controls.list, 115, 20, 5, 5, always).cursor, CursorChange::Arrow);
    EXPECT_EQ(link->textColour, 0xAA0000u);
    // A static without a link never turns.
    trackMouseMove(hover, controls.list, 20, 50, 5, 5, always);
    EXPECT_EQ(plain->textColour, 0x00AA00u);
    EXPECT_EQ(hover.hot, nullptr);
    // A disabled link is not tracked.
    trackMouseMove(hover, controls.list, 20, 20, 5, 5, [](const TemplateControl&) { return false; });
    EXPECT_EQ(link->textColour, 0xAA0000u);

    // The timer restores a link the mouse left without a move reaching the page.
    trackMouseMove(hover, controls.list, 20, 20, 5, 5, always);
    HoverEffects kept = restoreLeftControls(hover, controls.list, [](const TemplateControl&) { return true; });
    EXPECT_EQ(link->textColour, kColourHoveredLink);
    EXPECT_EQ(kept.cursor, CursorChange::None);
    HoverEffects left = restoreLeftControls(hover, controls.list, [](const TemplateControl&) { return false; });
    EXPECT_EQ(link->textColour, 0xAA0000u);
    EXPECT_EQ(left.cursor, CursorChange::Arrow);
    EXPECT_EQ(hover.bits, kHoverTracking);
    EXPECT_EQ(hover.hot, nullptr);
}

TEST(HoverTracking, ImageButtonHoverFrameAndClick)
{
    Controls controls;
    TemplateControl* button = control(controls.list, kControlPushButton, 0, 0, 50, 20);
    button->style = 0x5000000B;
    PageHover hover{kHoverTracking, nullptr};
    HoverEffects entered = enterImageButton(hover, *button);
    EXPECT_EQ(entered.redrawButton.size(), 1u);
    EXPECT_EQ(button->hoverFlags, kControlHovered);
    EXPECT_EQ(hover.bits, kHoverTracking | kHoverOverHot | kHoverHotIsButton);
    EXPECT_TRUE(enterImageButton(hover, *button).redrawButton.empty());
    // A click on it drops the hover state; nothing to open.
    EXPECT_EQ(clickHotControl(hover), nullptr);
    EXPECT_EQ(button->hoverFlags, 0u);
    EXPECT_EQ(hover.bits, kHoverTracking);
    // Leaving it redraws it without the hover frame.
    enterImageButton(hover, *button);
    HoverEffects out = trackMouseMove(hover, controls.list, 60, 5, 0, 0, nullptr);
    EXPECT_EQ(out.redrawButton.size(), 1u);
    EXPECT_EQ(button->hoverFlags, 0u);
}

TEST(ButtonActions, ActionCodesAndTheRunningInstallation)
{
    struct Case {
        std::int32_t type;
        std::uint32_t action;
        bool running;
        ButtonCommand expect;
    };
    const Case cases[] = {
        {kControlPushButton, (7u << 16) | 1, false, ButtonCommand::BrowseFolder},
        {kControlPushButton, 2, false, ButtonCommand::BrowseFile},
        {kControlPushButton, 3, false, ButtonCommand::Next},
        {kControlPushButton, 4, false, ButtonCommand::Back},
        {kControlPushButton, 5, false, ButtonCommand::Cancel},
        {kControlPushButton, 6, false, ButtonCommand::Finish},
        {kControlPushButton, 0, false, ButtonCommand::NotHandled},
        {kControlPushButton, 7, false, ButtonCommand::NotHandled},
        {kControlPushButton, 0x8003, false, ButtonCommand::Next}, // bit 15 lies outside the code
        {kControlCheckBox, 3, false, ButtonCommand::NotHandled},
        {kControlPushButton, 3, true, ButtonCommand::Ignored},
        {kControlPushButton, 6, true, ButtonCommand::Ignored},
        {kControlPushButton, 1, true, ButtonCommand::Ignored},
        {kControlPushButton, 5, true, ButtonCommand::Cancel},
        {kControlPushButton, 9, true, ButtonCommand::NotHandled},
    };
    for (const Case& c : cases) {
        TemplateControl tc;
        tc.type = c.type;
        tc.action = c.action;
        EXPECT_EQ(buttonCommand(tc, c.running), c.expect) << c.action << " running " << c.running;
    }
    TemplateControl target;
    target.action = (1234u << 16) | 1;
    EXPECT_EQ(actionTargetId(target), 1234);
}
