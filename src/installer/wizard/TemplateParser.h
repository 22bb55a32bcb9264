#pragma once
// Dialog templates: the binary "RTT" record that describes a wizard page (window fields, variable
// bindings, controls) and its parsing into a TemplateWindow and TemplateControl records. All
// integers of a template are big-endian; a string is a 32-bit byte length and that many bytes.
// Nothing here makes windows: the run-time fields of a control stay zero until a page is built.
#include "installer/state/TemplateEntry.h"
#include "installer/text/ByteString.h"
#include "installer/text/PointerList.h"

#include <cstdint>
#include <vector>

// Results of parseTemplate.
constexpr int kTemplateOk = 1;
constexpr int kTemplateNoSignature = -2;
constexpr int kTemplateNotFound = -4;
constexpr int kTemplateNoMemory = -6;
// A field, string, binding or control runs past the end of the template, or a count is larger
// than what is left could hold.
constexpr int kTemplateTruncated = -7;

// Colour codes of a control's text and back colour (anything else is a COLORREF 0x00BBGGRR).
constexpr std::uint32_t kColourWindowText = 0x1000000;
constexpr std::uint32_t kColourWindow = 0x2000000;
constexpr std::uint32_t kColourButtonFace = 0x3000000;
constexpr std::uint32_t kColourTransparent = 0x4000000;
// A hyperlink under the mouse.
constexpr std::uint32_t kColourHoveredLink = 0xFF;

// The template's own flag in a control's extended style: bold fonts on a static, "required" on
// check boxes, radio buttons, edits, list and combo boxes and IP addresses.
constexpr std::uint32_t kTemplateControlFlag = 0x80000000u;
constexpr std::uint32_t kPageVisibleStyle = 0x10000000u;
constexpr std::uint32_t kPageOptionProgramIcon = 0x1000u;
constexpr std::uint32_t kPageOptionHasProgressBar = 0x80000000u;
constexpr std::int32_t kImageDefault = -1;
constexpr std::int32_t kImageNone = -2;

enum TemplateControlType : std::int32_t {
    kControlStatic = 1,
    kControlPushButton = 2,
    kControlCheckBox = 3,
    kControlRadioButton = 4,
    kControlEdit = 5,
    kControlRichEdit = 6,
    kControlListBox = 7,
    kControlComboBox = 8,
    kControlGroupBox = 9,
    kControlListView = 10,
    kControlTreeView = 11,
    kControlProgressBar = 12,
    kControlIpAddress = 13,
};

// Action codes of a push button's action word (low 15 bits; the high 16 bits are a target id).
enum TemplateButtonAction : std::int32_t {
    kActionBrowseFolder = 1,
    kActionBrowseFile = 2,
    kActionNext = 3,
    kActionBack = 4,
    kActionCancel = 5,
    kActionFinish = 6,
};

// A page variable and the control that shows it; value text and value are filled when the page
// is closed.
struct TemplateBinding {
    ByteString variableName; // as the variable list holds it, "<InstallDir>"
    std::int32_t controlId = 0;
    ByteString valueText;
    std::int32_t value = 0;
};

struct TemplateWindow {
    TemplateWindow() = default;
    TemplateWindow(const TemplateWindow&) = delete;
    TemplateWindow& operator=(const TemplateWindow&) = delete;
    ~TemplateWindow();

    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::uint32_t options = 0;
    std::uint32_t pageId = 0;
    std::int32_t alignment = 0;
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    ByteString title;
    ByteString fontFace;
    std::uint16_t fontSize = 0;
    std::int16_t fontStyle = 0; // bit 0 bold, bit 1 italic
    // Normal, bold, underlined, bold underlined; made with the page.
    void* fonts[4] = {nullptr, nullptr, nullptr, nullptr};
    // TemplateBinding records owned by the window.
    PointerList bindings;
};

struct TemplateControl {
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::int32_t type = 0;
    std::int32_t subType = 0;
    std::int32_t id = 0;
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    std::uint32_t textColour = 0;       // current
    std::uint32_t normalTextColour = 0; // when not hovered
    std::uint32_t backColour = 0;
    std::uint32_t action = 0;
    std::uint32_t imageId = 0;
    ByteString text;
    ByteString link; // hyperlink statics only
    // Run-time fields of the page, zero after parsing.
    void* window = nullptr;
    void* brush = nullptr;
    void* imageBitmap = nullptr;
    void* imageDc = nullptr;
    std::uint32_t hoverFlags = 0;
    std::int32_t imageWidth = 0;
};

// What parsing and resolving take from the running installer.
struct TemplateSettings {
    // The package's number of the current language (language blocks).
    std::int32_t languageNumber = 1;
    // DPI factor per mille; 1000 (no scaling) when the package's DPI option is off.
    std::int32_t dpiFactor = 1000;
    // The system's window-text, window and button-face colours.
    std::uint32_t windowTextColour = 0x000000;
    std::uint32_t windowColour = 0xFFFFFF;
    std::uint32_t buttonFaceColour = 0xF0F0F0;
};

// Parses template into window (its bindings replaced) and appends new TemplateControl records to
// controls (the caller owns and frees them, freeTemplateControls). With resolve each control is
// resolved at once. kTemplateOk, or a negative result; after kTemplateTruncated the records read
// so far stay in window and controls.
int parseTemplate(const ByteString& templateBytes, TemplateWindow& window, PointerList& controls, bool resolve,
                  const TemplateSettings& settings);

// Deletes the TemplateControl records of the list and empties it.
void freeTemplateControls(PointerList& controls);
// Deletes the window's bindings and empties the list.
void freeTemplateBindings(TemplateWindow& window);

// Language block of the text (a static of sub-type 2 is emptied), hyperlink (its link with the
// user variables expanded), colour codes, DPI.
void resolveControl(TemplateControl& control, const TemplateSettings& settings);

// Replaces text by the block of languageNumber ("<LangID=n>...</LangID=n>"), else by the block of
// language 1, else leaves it whole.
void selectLanguageBlock(ByteString& text, std::int32_t languageNumber);

// A static's text "hyperlink: ... text=\"shown\" ... link=\"target\"": sets text to the shown
// value and link to the target and returns true; otherwise changes nothing.
bool splitHyperlink(ByteString& text, ByteString& link);

// Index of the first page with that page type, -1 when none.
std::int32_t findTemplateIndex(const std::vector<TemplateEntry>& pages, std::int32_t pageType);

// The brush a resolved control gets.
enum class ControlBrush { None, Hollow, Solid };
ControlBrush controlBrushKind(const TemplateControl& control);

// Windows' MulDiv: a * b / c rounded half away from zero, -1 when c is 0 or the result does not
// fit in 32 bits.
std::int32_t mulDiv(std::int32_t a, std::int32_t b, std::int32_t c);
// DPI factor per mille of a screen with that many pixels per logical inch vertically.
std::int32_t dpiFactorFor(std::int32_t logPixelsY);
// value x factor / 1000, kept within 32 bits.
std::int32_t scaleByDpi(std::int32_t value, std::int32_t factor);
// A page window's height: the 18-pixel caption is not scaled.
std::int32_t scaleWindowHeightByDpi(std::int32_t height, std::int32_t factor);
// The LOGFONT height of the template's font.
std::int32_t templateFontHeight(std::uint16_t fontSize, std::int32_t factor);
