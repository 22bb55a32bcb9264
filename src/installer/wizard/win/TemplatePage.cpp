#include "installer/wizard/win/TemplatePage.h"

#include "installer/memory/FatalError.h"
#include "installer/state/InstallerState.h"
#include "installer/state/PackageImages.h"
#include "installer/text/Utf8.h"
#include "installer/text/win/TextConversion.h"
#include "installer/text/win/WideName.h"
#include "installer/variables/TextExpansion.h"
#include "installer/variables/VariableEvaluation.h"
#include "installer/variables/VariableList.h"
#include "installer/wizard/PageBindings.h"
#include "installer/wizard/PagePlacement.h"
#include "installer/wizard/RequiredControls.h"
#include "installer/wizard/win/PageServices.h"
#include "installer/wizard/win/ProgressBar.h"
#include "installer/wizard/win/TemplateImage.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kProgramIconId = 2000;
constexpr int kHandCursorId = 152;
constexpr std::uint32_t kOwnerDrawButton = 0xB;
constexpr std::uint32_t kBitmapButton = 0x80;

// The live pages; they own their objects. A page closed without being freed waits in retired
// until the next page is made: its own command handler may still be on the stack.
std::vector<std::unique_ptr<TemplatePage>>& registry()
{
    static std::vector<std::unique_ptr<TemplatePage>> pages;
    return pages;
}
std::unique_ptr<TemplatePage>& retired()
{
    static std::unique_ptr<TemplatePage> page;
    return page;
}
TemplatePage* gPageBeingCreated = nullptr;
TemplatePage* gPageBeingClosed = nullptr;

TemplateSettings currentTemplateSettings(std::int32_t dpiFactor)
{
    TemplateSettings settings;
    settings.languageNumber = gPackageToc.languageNumber;
    settings.dpiFactor = dpiFactor;
    settings.windowTextColour = GetSysColor(COLOR_WINDOWTEXT);
    settings.windowColour = GetSysColor(COLOR_WINDOW);
    settings.buttonFaceColour = GetSysColor(COLOR_BTNFACE);
    return settings;
}

std::int32_t screenDpiFactor()
{
    if ((gInstallerContext.optionWord & kOptionScaleTemplatesByDpi) == 0)
        return 1000;
    HDC screen = GetDC(static_cast<HWND>(gMainInstaller.mainWindow));
    const int logPixelsY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(static_cast<HWND>(gMainInstaller.mainWindow), screen);
    return dpiFactorFor(logPixelsY);
}

const wchar_t* controlClass(const TemplateControl& control)
{
    switch (control.type) {
    case kControlStatic: return L"STATIC";
    case kControlPushButton:
    case kControlCheckBox:
    case kControlRadioButton:
    case kControlGroupBox: return L"BUTTON";
    case kControlEdit: return L"EDIT";
    case kControlListBox: return L"LISTBOX";
    case kControlComboBox: return L"COMBOBOX";
    case kControlListView: return WC_LISTVIEWW;
    case kControlTreeView: return WC_TREEVIEWW;
    case kControlIpAddress: return WC_IPADDRESSW;
    default: return L"STATIC";
    }
}

// The rich-edit class: "RichEdit20W" when RichEd20.dll loads (the wide class keeps texts outside
// the ANSI code page), else "RICHEDIT" of RichEd32.dll.
const wchar_t* richEditClass()
{
    static const wchar_t* name = [] {
        if (GetModuleHandleW(L"RichEd20.dll") || LoadLibraryW(L"RichEd20.dll"))
            return L"RichEdit20W";
        LoadLibraryW(L"RichEd32.dll");
        return L"RICHEDIT";
    }();
    return name;
}

bool isMultiLineEdit(const TemplateControl& control)
{
    return control.type == kControlEdit && (control.style & ES_MULTILINE) != 0;
}

// Each CR LF line of text as an item of a list or combo box.
void addLines(HWND window, UINT addMessage, const ByteString& text)
{
    std::int32_t pos = 0;
    while (text.hasMore(pos)) {
        ByteString line;
        text.nextLine(&pos, line);
        SendMessageW(window, addMessage, 0, reinterpret_cast<LPARAM>(utf8ToWideText(line).c_str()));
    }
}

void deleteControlImage(TemplateControl& control)
{
    const auto id = static_cast<std::int32_t>(control.imageId);
    if (control.imageDc) {
        // The strip goes back out of its memory DC first.
        HGDIOBJ strip = SelectObject(static_cast<HDC>(control.imageDc), static_cast<HGDIOBJ>(control.imageBitmap));
        DeleteDC(static_cast<HDC>(control.imageDc));
        DeleteObject(strip);
    } else if (control.imageBitmap && id != kImageDefault && id != kImageNone) {
        if (control.type == kControlStatic && control.subType == 3)
            DestroyIcon(static_cast<HICON>(control.imageBitmap)); // icons are freed as icons
        else
            DeleteObject(static_cast<HGDIOBJ>(control.imageBitmap));
    }
    control.imageBitmap = nullptr;
    control.imageDc = nullptr;
}

bool isRequiredControl(const TemplateControl& control)
{
    return (control.extendedStyle & kTemplateControlFlag) != 0 && canBeRequired(control.type);
}

bool isBoldStatic(const TemplateControl& control)
{
    return control.type == kControlStatic && (control.extendedStyle & kTemplateControlFlag) != 0;
}

RequiredState requiredStateOf(const TemplateControl& control)
{
    const HWND window = static_cast<HWND>(control.window);
    RequiredState state;
    state.type = control.type;
    switch (control.type) {
    case kControlCheckBox:
    case kControlRadioButton: state.checked = SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED; break;
    case kControlEdit: state.hasText = GetWindowTextLengthW(window) > 0; break;
    case kControlComboBox:
        state.hasText = GetWindowTextLengthW(window) > 0;
        state.hasSelection = SendMessageW(window, CB_GETCURSEL, 0, 0) != CB_ERR;
        break;
    case kControlListBox: state.hasSelection = SendMessageW(window, LB_GETCURSEL, 0, 0) != LB_ERR; break;
    case kControlIpAddress: {
        ByteString ignored;
        state.ipFieldsFilled = getIpAddressText(window, ignored);
        break;
    }
    default: break;
    }
    return state;
}

ControlState controlStateOf(const TemplateControl& control)
{
    const HWND window = static_cast<HWND>(control.window);
    ControlState state;
    switch (control.type) {
    case kControlCheckBox:
    case kControlRadioButton: state.checkState = static_cast<std::int32_t>(SendMessageW(window, BM_GETCHECK, 0, 0)); break;
    case kControlEdit: state.text = controlText(window); break;
    case kControlListBox: state.selection = static_cast<std::int32_t>(SendMessageW(window, LB_GETCURSEL, 0, 0)); break;
    case kControlComboBox: state.selection = static_cast<std::int32_t>(SendMessageW(window, CB_GETCURSEL, 0, 0)); break;
    case kControlIpAddress: getIpAddressText(window, state.text); break;
    default: break;
    }
    return state;
}

const wchar_t* registerPageClass(HINSTANCE instance, const TemplateWindow& window)
{
    static std::wstring name;
    const bool withIcon = (window.options & kPageOptionProgramIcon) != 0;
    name = L"DIDialogTemplate";
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name.c_str(), &existing) && (existing.hIcon != nullptr) != withIcon)
        name += std::to_wstring(window.pageId);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = templateWindowProc;
    wc.hInstance = instance;
    wc.hIcon = withIcon ? LoadIconW(instance, MAKEINTRESOURCEW(kProgramIconId)) : nullptr;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc); // fails harmlessly when the class exists
    return name.c_str();
}

} // namespace

void setControlText(HWND control, const ByteString& utf8)
{
    // The full decoder: a folder shown for editing comes back as it was shown.
    SetWindowTextW(control, WideName(utf8));
}

ByteString controlText(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    if (length <= 0)
        return ByteString();
    std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
    const int got = GetWindowTextW(control, reinterpret_cast<wchar_t*>(buffer.data()), length + 1);
    // Typed names go to the system as they are: an emoji's surrogate pair stays one character.
    return utf8FromWide(reinterpret_cast<const wchar_t*>(buffer.c_str()), std::max(got, 0));
}

void setIpAddressText(HWND control, const ByteString& text)
{
    ByteString copy(text);
    int dots = 0;
    for (std::uint32_t i = 0; i < copy.length(); ++i)
        dots += copy.at(i) == '.' ? 1 : 0;
    if (dots != 3) {
        SendMessageW(control, IPM_CLEARADDRESS, 0, 0);
        return;
    }
    unsigned fields[4] = {0, 0, 0, 0};
    const char* p = copy.cStr();
    for (unsigned& field : fields) {
        field = static_cast<unsigned>(std::strtoul(p, const_cast<char**>(&p), 10)) & 0xFF;
        if (*p == '.')
            ++p;
    }
    SendMessageW(control, IPM_SETADDRESS, 0, MAKEIPADDRESS(fields[0], fields[1], fields[2], fields[3]));
}

int getIpAddressText(HWND control, ByteString& text)
{
    DWORD address = 0;
    const int filled = static_cast<int>(SendMessageW(control, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address)));
    text = ByteString();
    if (filled > 0)
        text.format("%d.%d.%d.%d", int(FIRST_IPADDRESS(address)), int(SECOND_IPADDRESS(address)),
                    int(THIRD_IPADDRESS(address)), int(FOURTH_IPADDRESS(address)));
    return filled;
}

TemplatePage::TemplatePage()
{
    handCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    if (!handCursor)
        handCursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kHandCursorId));
    arrowCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    dpiFactor = screenDpiFactor();
}

TemplatePage::~TemplatePage()
{
    if (gPageBeingClosed == this)
        gPageBeingClosed = nullptr;
    destroyWindows();
    freeTemplateControls(controls);
    required.clear();
}

int TemplatePage::loadTemplate(std::int32_t pageType)
{
    const std::int32_t index = findTemplateIndex(gPackageToc.pageSequence, pageType);
    if (index < 0)
        return kTemplateNotFound;
    const int result = loadTemplateBytes(gPackageToc.pageSequence[static_cast<std::size_t>(index)].templateBytes);
    if (result == kTemplateOk && pageType == 13 && !gPackageToc.extractorMode && !gPackageToc.slideshowPaths.empty() &&
        gSlideshowSettings.pageAlignment > 0)
        templateWindow.alignment = gSlideshowSettings.pageAlignment - 1;
    return result;
}

int TemplatePage::loadTemplateBytes(const ByteString& templateBytes)
{
    freeTemplateControls(controls);
    required.clear();
    const int result = parseTemplate(templateBytes, templateWindow, controls, true, currentTemplateSettings(dpiFactor));
    if (result != kTemplateOk)
        return result;
    makeFonts();
    return kTemplateOk;
}

void TemplatePage::makeFonts()
{
    for (void*& font : templateWindow.fonts)
        if (font) {
            DeleteObject(static_cast<HGDIOBJ>(font));
            font = nullptr;
        }
    LOGFONTW base{};
    base.lfHeight = templateFontHeight(templateWindow.fontSize, dpiFactor);
    base.lfItalic = (templateWindow.fontStyle & 2) != 0;
    base.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = utf8ToWideText(templateWindow.fontFace);
    wcsncpy(base.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    const LONG weights[4] = {(templateWindow.fontStyle & 1) ? FW_BOLD : FW_NORMAL, FW_BOLD, FW_NORMAL, FW_BOLD};
    for (int i = 0; i < 4; ++i) {
        LOGFONTW font = base;
        font.lfWeight = weights[i];
        font.lfUnderline = i >= 2;
        templateWindow.fonts[i] = CreateFontIndirectW(&font);
    }
}

POINT TemplatePage::controlOffset() const
{
    if (hasOwnWindow())
        return POINT{0, 0};
    return POINT{templateWindow.x, templateWindow.y};
}

int TemplatePage::createWindow(HINSTANCE instance, HWND parent)
{
    parentWindow = parent;
    FrameMetrics metrics;
    metrics.edgeX = GetSystemMetrics(SM_CXEDGE);
    metrics.borderX = GetSystemMetrics(SM_CXBORDER);
    metrics.edgeY = GetSystemMetrics(SM_CYEDGE);
    metrics.borderY = GetSystemMetrics(SM_CYBORDER);
    metrics.caption = GetSystemMetrics(SM_CYCAPTION);
    fitFrameToSystem(templateWindow, metrics);
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        GetWindowRect(GetDesktopWindow(), &area);
    placeOnWorkArea(templateWindow, AreaRect{area.left, area.top, area.right, area.bottom});

    const bool backgroundShown = pageServices().backgroundShown && pageServices().backgroundShown();
    if ((templateWindow.style & kPageVisibleStyle) == 0 && backgroundShown && parent) {
        window = parent;
    } else {
        const wchar_t* className = registerPageClass(instance, templateWindow);
        window = CreateWindowExW(templateWindow.extendedStyle | WS_EX_DLGMODALFRAME, className, L"",
                                 templateWindow.style & ~kPageVisibleStyle, templateWindow.x, templateWindow.y,
                                 templateWindow.width, templateWindow.height, parent, nullptr, instance, nullptr);
        if (!window)
            return -1;
        if (!templateWindow.title.empty())
            setControlText(window, templateWindow.title);
    }

    RECT client{};
    GetClientRect(window, &client);
    staticsCount = 0;
    for (std::int32_t i = 0; i < controls.count(); ++i) {
        auto& control = *static_cast<TemplateControl*>(controls.get(i));
        if (control.type == kControlStatic)
            ++staticsCount;
        createControl(instance, control);
    }
    if (controlsCoverClientArea(controls, client.right, client.bottom))
        eraseBackground = false;
    if (staticsCount == 0)
        eraseBackground = true;
    if (hover.bits & kHoverTracking)
        SetTimer(window, kHoverTimerId, kHoverTimerPeriod, nullptr);
    return 1;
}

int TemplatePage::createControl(HINSTANCE instance, TemplateControl& control)
{
    const POINT offset = controlOffset();
    if (control.type == kControlProgressBar) {
        auto bar = std::make_unique<ProgressBar>();
        bar->create(window, control.x + offset.x, control.y + offset.y, control.width, control.height,
                    control.textColour, (control.style & 1) ? kProgressSmooth : kProgressFitBlocks, control.backColour,
                    control.action);
        control.window = bar.release(); // owned by the control record; freed in destroyWindows
        templateWindow.options |= kPageOptionHasProgressBar;
        return 1;
    }
    const bool required = isRequiredControl(control);
    control.extendedStyle &= ~kTemplateControlFlag;
    if (control.type == kControlStatic && !control.link.empty())
        hover.bits |= kHoverTracking;

    ByteString text(control.text);
    expandVariables(text, kAllVariables);
    expandBuiltinVariables(text);
    expandFolderVariables(text);
    if (control.type == kControlRichEdit || control.type == kControlListBox || control.type == kControlComboBox ||
        isMultiLineEdit(control))
        text.replace("<\\n>", "\r\n");
    const bool listLike = control.type == kControlListBox || control.type == kControlComboBox;

    const wchar_t* className = control.type == kControlRichEdit ? richEditClass() : controlClass(control);
    HWND made = CreateWindowExW(control.extendedStyle, className, L"", control.style, control.x + offset.x,
                                control.y + offset.y, control.width, control.height, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
    if (!made)
        return -1;
    control.window = made;
    if (!listLike)
        setControlText(made, text);

    if (control.type == kControlRichEdit || isMultiLineEdit(control))
        SendMessageW(made, EM_LIMITTEXT, 0x2FFFFFFE, 0);
    if (control.type == kControlIpAddress)
        setIpAddressText(made, text);
    if (control.type == kControlListBox)
        addLines(made, LB_ADDSTRING, text);
    if (control.type == kControlComboBox)
        addLines(made, CB_ADDSTRING, text);
    if (control.type == kControlCheckBox || control.type == kControlRadioButton) {
        // Without the theme the template's text colours apply.
        using SetThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
        if (HMODULE theme = LoadLibraryW(L"UxTheme.dll"))
            if (auto setTheme = reinterpret_cast<SetThemeFunction>(
                    reinterpret_cast<void*>(GetProcAddress(theme, "SetWindowTheme"))))
                setTheme(made, L" ", L" ");
    }
    if (control.type == kControlPushButton && (control.style & kOwnerDrawButton) == kOwnerDrawButton)
        hover.bits |= kHoverTracking;

    const bool bold = isBoldStatic(control);
    int font = bold ? 1 : 0;
    if (isHyperlink(control)) {
        font = bold ? 3 : 2;
        SetWindowLongPtrW(made, GWLP_USERDATA, 1);
    }
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(templateWindow.fonts[font]), FALSE);

    if (control.type == kControlRichEdit)
        SendMessageW(made, EM_SETBKGNDCOLOR, 0, control.backColour);
    if (control.type == kControlTreeView)
        SendMessageW(made, TVM_SETBKCOLOR, 0, control.backColour);

    switch (controlBrushKind(control)) {
    case ControlBrush::Hollow: control.brush = GetStockObject(HOLLOW_BRUSH); break;
    case ControlBrush::Solid: control.brush = CreateSolidBrush(control.backColour); break;
    case ControlBrush::None: break;
    }
    if (required)
        addRequiredControl(control);
    applyBindings(control);
    loadControlImage(control);
    return 1;
}

void TemplatePage::loadControlImage(TemplateControl& control)
{
    const HWND made = static_cast<HWND>(control.window);
    const auto id = static_cast<std::int32_t>(control.imageId);
    if (id == kImageNone)
        return;
    if (control.type == kControlStatic && control.subType == 4) {
        HBITMAP bitmap = nullptr;
        if (id == kImageDefault) {
            bitmap = static_cast<HBITMAP>(gInstallerContext.dialogImage);
        } else {
            // Less the border and the sunken edge.
            const LONG style = GetWindowLongW(made, GWL_STYLE);
            const int shrink = ((style & WS_BORDER) ? 2 : 0) + ((style & SS_SUNKEN) ? 2 : 0);
            loadTemplateImage(&bitmap, control.imageId, control.width - shrink, control.height - shrink, nullptr);
        }
        control.imageBitmap = bitmap;
        if (bitmap)
            SendMessageW(made, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    } else if (control.type == kControlStatic && control.subType == 3) {
        HICON icon = nullptr;
        if (id == kImageDefault) {
            icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId));
        } else if (const PageImage* image = findPackageImage(control.imageId)) {
            icon = static_cast<HICON>(LoadImageW(nullptr, utf8ToWideText(image->path).c_str(), IMAGE_ICON, 0, 0,
                                                 LR_LOADFROMFILE | LR_DEFAULTSIZE));
        }
        control.imageBitmap = icon;
        if (icon)
            SendMessageW(made, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    } else if (control.type == kControlPushButton && id != kImageDefault) {
        HBITMAP bitmap = nullptr;
        int width = 0;
        if (loadTemplateImage(&bitmap, control.imageId, 0, 0, &width) != kTemplateImageLoaded)
            return;
        if ((control.style & kOwnerDrawButton) == kOwnerDrawButton) {
            HDC reference = GetDC(static_cast<HWND>(gMainInstaller.mainWindow));
            HDC memory = CreateCompatibleDC(reference);
            ReleaseDC(static_cast<HWND>(gMainInstaller.mainWindow), reference);
            if (!memory) {
                DeleteObject(bitmap);
                return;
            }
            control.imageDc = memory;
            control.imageBitmap = SelectObject(memory, bitmap);
            control.imageWidth = width;
        } else if ((control.style & kBitmapButton) != 0) {
            control.imageBitmap = bitmap;
            SendMessageW(made, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        } else {
            DeleteObject(bitmap);
        }
    }
}

void TemplatePage::applyBindings(TemplateControl& control)
{
    const HWND made = static_cast<HWND>(control.window);
    for (std::int32_t i = 0; i < templateWindow.bindings.count(); ++i) {
        const auto& binding = *static_cast<const TemplateBinding*>(templateWindow.bindings.get(i));
        if (binding.controlId != control.id)
            continue;
        ByteString name(binding.variableName);
        const std::int32_t index = findVariableIndex(name.cStr());
        if (index < 0)
            continue;
        evaluateVariable(index);
        const BindingDisplay display =
            bindingDisplay(control.type, *gPackageToc.variables[static_cast<std::size_t>(index)]);
        switch (display.kind) {
        case BindingDisplay::Check: SendMessageW(made, BM_SETCHECK, BST_CHECKED, 0); break;
        case BindingDisplay::Text:
            if (control.type == kControlIpAddress)
                setIpAddressText(made, display.text);
            else
                setControlText(made, display.text);
            break;
        case BindingDisplay::Selection:
            SendMessageW(made, control.type == kControlListBox ? LB_SETCURSEL : CB_SETCURSEL,
                         static_cast<WPARAM>(display.selection), 0);
            break;
        case BindingDisplay::Nothing: break;
        }
    }
}

void TemplatePage::updateNextButton()
{
    if (required.count() == 0)
        return;
    const bool allowed = requiredControlsFilled(required, [](const TemplateControl& control) {
        return control.window ? requiredStateOf(control) : RequiredState{};
    });
    const TemplateControl* next = findControlById(1);
    if (!next || !next->window)
        return;
    const HWND button = static_cast<HWND>(next->window);
    if ((IsWindowEnabled(button) != FALSE) != allowed)
        EnableWindow(button, allowed);
}

TemplateControl* TemplatePage::findControlByWindow(HWND control) const
{
    for (std::int32_t i = 0; i < controls.count(); ++i) {
        auto* c = static_cast<TemplateControl*>(controls.get(i));
        if (c->type != kControlProgressBar && c->window == control)
            return c;
    }
    return nullptr;
}

TemplateControl* TemplatePage::findControlById(std::int32_t id) const
{
    for (std::int32_t i = 0; i < controls.count(); ++i) {
        auto* c = static_cast<TemplateControl*>(controls.get(i));
        if (c->id == id)
            return c;
    }
    return nullptr;
}

void TemplatePage::setControlTextColour(HWND control, COLORREF colour)
{
    if (TemplateControl* c = findControlByWindow(control))
        c->textColour = c->normalTextColour = colour;
}

int TemplatePage::close(bool destroy)
{
    if (!window)
        return 1;
    KillTimer(window, kHoverTimerId);
    if (!hasOwnWindow())
        destroy = true;
    for (std::int32_t i = 0; i < templateWindow.bindings.count(); ++i) {
        const auto& binding = *static_cast<const TemplateBinding*>(templateWindow.bindings.get(i));
        const TemplateControl* control = findControlById(binding.controlId);
        if (!control || !control->window || control->type == kControlProgressBar)
            continue;
        storeBoundVariable(binding.variableName, bindingValueOf(control->type, controlStateOf(*control)));
    }
    freeTemplateBindings(templateWindow);
    if (gMainInstaller.currentPage == this)
        gMainInstaller.currentPage = nullptr;
    // No second click reaches a page being left.
    for (std::int32_t i = 0; i < controls.count(); ++i) {
        const auto& c = *static_cast<const TemplateControl*>(controls.get(i));
        if (c.window && (c.type == kControlPushButton || c.type == kControlCheckBox || c.type == kControlRadioButton))
            EnableWindow(static_cast<HWND>(c.window), FALSE);
    }
    // A page still waiting for its successor goes now: it would otherwise be forgotten on screen.
    if (gPageBeingClosed && gPageBeingClosed != this)
        destroyCurrentPage(false);
    gPageBeingClosed = this;
    if (destroy)
        destroyCurrentPage(false);
    return 1;
}

void TemplatePage::destroyWindows()
{
    for (std::int32_t i = 0; i < controls.count(); ++i) {
        auto& c = *static_cast<TemplateControl*>(controls.get(i));
        if (c.type == kControlProgressBar) {
            delete static_cast<ProgressBar*>(c.window);
        } else if (c.window) {
            DestroyWindow(static_cast<HWND>(c.window));
        }
        c.window = nullptr;
        if (c.brush && c.brush != GetStockObject(HOLLOW_BRUSH))
            DeleteObject(static_cast<HGDIOBJ>(c.brush));
        c.brush = nullptr;
        deleteControlImage(c);
    }
    freeTemplateControls(controls);
    required.clear();
    hover = PageHover{};
    if (hasOwnWindow())
        DestroyWindow(window);
    window = nullptr;
    if (ownerSlot && *ownerSlot == this)
        *ownerSlot = nullptr;
    ownerSlot = nullptr;
    for (void*& font : templateWindow.fonts)
        if (font) {
            DeleteObject(static_cast<HGDIOBJ>(font));
            font = nullptr;
        }
}

int closeTemplatePage(TemplatePage& page, bool destroy)
{
    return page.close(destroy);
}

void destroyCurrentPage(bool deleteObject)
{
    TemplatePage* page = gPageBeingClosed;
    gPageBeingClosed = nullptr;
    if (!page)
        return;
    page->destroyWindows();
    auto& pages = registry();
    const auto found = std::find_if(pages.begin(), pages.end(), [&](const auto& p) { return p.get() == page; });
    if (found == pages.end())
        return;
    std::unique_ptr<TemplatePage> owned = std::move(*found);
    pages.erase(found);
    if (!deleteObject)
        retired() = std::move(owned);
}

TemplatePage* findPageByWindow(HWND window)
{
    if (!window)
        return nullptr;
    for (const auto& page : registry())
        if (page->window == window)
            return page.get();
    return nullptr;
}

TemplatePage* pageBeingCreated()
{
    return gPageBeingCreated;
}

int createTemplatePage(std::unique_ptr<TemplatePage> page, std::int32_t pageType, HWND parent, HINSTANCE instance,
                       TemplatePage** ownerSlot)
{
    if (!page)
        return -1;
    // A page closed earlier is no longer running anything.
    retired().reset();
    TemplatePage* made = page.get();
    gPageBeingCreated = made;
    const int loaded = made->loadTemplate(pageType);
    if (loaded < 0) {
        gPageBeingCreated = nullptr;
        ByteString text;
        text.format("Load template failed (%d)", loaded);
        fatalError(text.cStr());
        return -1;
    }
    const int created = made->createWindow(instance, parent);
    gPageBeingCreated = nullptr;
    if (ownerSlot)
        *ownerSlot = made;
    made->ownerSlot = ownerSlot;
    if (created < 0 || !made->window) {
        if (ownerSlot)
            *ownerSlot = nullptr;
        made->destroyWindows();
        return -1;
    }
    registry().push_back(std::move(page));
    made->updateNextButton();

    TemplatePage* previous = gPageBeingClosed;
    if (made->hasOwnWindow() && previous && previous->hasOwnWindow() && previous->window &&
        previous->templateWindow.alignment == made->templateWindow.alignment &&
        previous->templateWindow.x == made->templateWindow.x && previous->templateWindow.y == made->templateWindow.y) {
        // A page the user dragged keeps its place for the next one.
        RECT old{};
        RECT now{};
        GetWindowRect(previous->window, &old);
        GetWindowRect(made->window, &now);
        MoveWindow(made->window, old.left, old.top, now.right - now.left, now.bottom - now.top, FALSE);
    }
    SendMessageW(made->window, WM_INITDIALOG, 0, 0);
    if (TemplateControl* next = made->findControlById(1))
        if (next->window)
            SetFocus(static_cast<HWND>(next->window));
    if (made->hasOwnWindow()) {
        HMENU menu = GetSystemMenu(made->window, FALSE);
        if (menu) {
            for (UINT item : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_SIZE})
                DeleteMenu(menu, item, MF_BYCOMMAND);
            DeleteMenu(menu, 1, MF_BYPOSITION);
            AppendMenuW(menu, MF_SEPARATOR, 2, nullptr);
            AppendMenuW(menu, MF_STRING, kAboutCommand, L"About...");
        }
        ShowWindow(made->window, SW_SHOWNORMAL);
        destroyCurrentPage(true);
        gMainInstaller.currentPage = made;
    } else {
        // A page with its own window left for one drawn on the background goes once this one
        // is drawn, as it goes for a page of its own kind.
        destroyCurrentPage(true);
    }
    return 1;
}
