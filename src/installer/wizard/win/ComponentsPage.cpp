// The components page: the package's components in a tree with check-state pictures, the space
// they need against the space free, and the choices kept for the next visit and the installation.
#include "installer/memory/FatalError.h"
#include "installer/package/PackageHeaderFields.h"
#include "installer/package/PackageSource.h"
#include "installer/state/InstallerState.h"
#include "installer/text/NumberTexts.h"
#include "installer/text/win/TextConversion.h"
#include "installer/variables/VariableApi.h"
#include "installer/variables/VariableEvaluation.h"
#include "installer/variables/VariableList.h"
#include "installer/wizard/ComponentTree.h"
#include "installer/wizard/KilobyteText.h"
#include "installer/wizard/TemplateParser.h"
#include "installer/wizard/win/CheckTreeImages.h"
#include "installer/wizard/win/StandardPage.h"
#include "installer/wizard/win/StandardPages.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

constexpr std::int32_t kTree = 10;
constexpr std::int32_t kDescription = 24;
constexpr std::int32_t kFreeItem = 25;
constexpr std::int32_t kLeftItem = 26;
constexpr std::uint32_t kComponentCountField = 176;
constexpr std::uint32_t kComponentBlockOffsetField = 180;
constexpr std::uint32_t kComponentBlockSizeField = 184;
constexpr std::int32_t kLanguagePage = 1;

std::optional<std::vector<ComponentRecord>> readComponents()
{
    const std::uint32_t size = headerField(gPackageHeader, kComponentBlockSizeField);
    const auto package = openPackageFile(gPackagePath.cStr());
    if (!package || size > package->size())
        return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    if (size > 0 && !package->readAt(headerField(gPackageHeader, kComponentBlockOffsetField), bytes.data(), size))
        return std::nullopt;
    return readComponentBlock(ByteString(bytes.data(), size), headerField(gPackageHeader, kComponentCountField));
}

std::optional<std::int32_t> existingVariableInt(const ByteString& name)
{
    ByteString copy(name);
    const std::int32_t index = findVariableIndex(copy.cStr());
    if (index < 0)
        return std::nullopt;
    evaluateVariable(index);
    return gPackageToc.variables[std::size_t(index)]->valueInt;
}

class ComponentsPage : public StandardPage {
public:
    ComponentsPage() : StandardPage(97) {}
    ~ComponentsPage() override { freeTree(); }

    void saveChoices()
    {
        SavedComponents saved = saveComponentTree(items_, states_);
        for (auto& [name, value] : saved.variables)
            setVariableInt(name.cStr(), value);
        gPackageToc.componentChoices = std::move(saved.choices);
    }

    // Shows the totals and enables Next while they fit; returns the bytes chosen.
    std::uint64_t updateSizes()
    {
        const ComponentTotals totals = componentTotals(items_, states_);
        gPackageToc.mp3Bytes = totals.mp3Bytes;
        gPackageToc.jpegBytes = totals.jpegBytes;
        gPackageToc.otherBytes = totals.otherBytes;
        const std::uint64_t free = gPackageToc.freeSpace;
        char setting[8] = "";
        const int got = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHOUSANDSEP, setting, sizeof setting);
        const char separator = thousandsSeparator(got > 0 ? std::optional<ByteString>(ByteString(setting)) : std::nullopt);
        setItemText(kLeftItem, kilobyteText(totals.bytes > free ? 0 : free - totals.bytes, separator));
        setItemText(kFreeItem, kilobyteText(free, separator));
        if (HWND next = item(1))
            EnableWindow(next, totals.bytes <= free);
        return totals.bytes;
    }

    void freeTree()
    {
        if (images_)
            ImageList_Destroy(images_);
        images_ = nullptr;
    }

    std::vector<ComponentItem> items_;
    std::vector<CheckItem> states_;

private:
    void initPage() override
    {
        HWND tree = item(kTree);
        if (!tree)
            fatalError("Invalid dialog template or tree-view creation failed.");
        images_ = makeCheckStateImages();
        SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
        const std::pair<std::int32_t, std::size_t> texts[] = {{30, 98}, {33, 99}, {31, 100}, {32, 101}};
        for (const auto& [id, text] : texts)
            setItemLanguageText(id, text);
        LONG_PTR style = GetWindowLongPtrW(tree, GWL_STYLE);
        style = (gInstallerContext.optionWord & kOptionComponentTreeLines) ? style | TVS_LINESATROOT
                                                                           : style & ~LONG_PTR(TVS_LINESATROOT);
        SetWindowLongPtrW(tree, GWL_STYLE, style);
        gPackageToc.installationType = kCustomInstallation;
        const auto records = readComponents();
        if (!records)
            fatalError("Unknown error");
        gPackageToc.mp3Bytes = gPackageToc.jpegBytes = gPackageToc.otherBytes = 0;
        ComponentTreeInputs inputs(gPackageToc.componentChoices);
        inputs.languageBlocks = findTemplateIndex(gPackageToc.pageSequence, kLanguagePage) >= 0;
        inputs.languageNumber = gPackageToc.languageNumber;
        inputs.variableInt = existingVariableInt;
        inputs.sizeText = [](std::uint64_t bytes) {
            ByteString text;
            formatSize(bytes, text);
            return text;
        };
        buildComponentTree(*records, inputs, items_, states_);
        recomputeStates(states_);
        handles_.clear();
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const std::wstring text = utf8ToWideText(items_[i].shownText);
            TVINSERTSTRUCTW insert{};
            const std::int32_t parent = states_[i].parent;
            insert.hParent = parent >= 0 ? handles_[std::size_t(parent)] : TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
            insert.item.pszText = const_cast<wchar_t*>(text.c_str());
            insert.item.iImage = I_IMAGECALLBACK;
            insert.item.iSelectedImage = I_IMAGECALLBACK;
            insert.item.lParam = LPARAM(i);
            const auto handle = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0,
                                                                         reinterpret_cast<LPARAM>(&insert)));
            if (!handle)
                fatalError("TreeView_InserItem failed");
            handles_.push_back(handle);
        }
        if (!handles_.empty())
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handles_[0]));
        showSelected();
        updateSizes();
    }

    std::int32_t indexOf(HTREEITEM handle) const
    {
        for (std::size_t i = 0; i < handles_.size(); ++i)
            if (handles_[i] == handle)
                return std::int32_t(i);
        return -1;
    }

    void toggle(std::int32_t index)
    {
        if (index < 0 || std::size_t(index) >= states_.size())
            return;
        toggleItem(states_, std::size_t(index));
        InvalidateRect(item(kTree), nullptr, TRUE);
    }

    void showSelected()
    {
        if (selected_ >= 0 && std::size_t(selected_) < items_.size())
            setItemText(kDescription, items_[std::size_t(selected_)].record.description);
    }

    bool onNotify(WPARAM, LPARAM lParam) override
    {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        HWND tree = item(kTree);
        if (!header || !tree || header->hwndFrom != tree)
            return false;
        switch (header->code) {
        case TVN_GETDISPINFOA:
        case TVN_GETDISPINFOW: {
            // The item part lies at the same place in both forms.
            auto* info = reinterpret_cast<NMTVDISPINFOW*>(lParam);
            const std::size_t index = std::size_t(info->item.lParam);
            if (index < states_.size()) {
                info->item.iImage = states_[index].state;
                info->item.iSelectedImage = states_[index].state;
            }
            return false;
        }
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW:
            selected_ = indexOf(reinterpret_cast<const NMTREEVIEWW*>(lParam)->itemNew.hItem);
            break;
        case TVN_KEYDOWN:
            if (reinterpret_cast<const NMTVKEYDOWN*>(lParam)->wVKey == VK_SPACE)
                toggle(indexOf(reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0))));
            // The figures and Next follow a toggle by keyboard as they follow one by mouse.
            break;
        case NM_CLICK:
        case NM_DBLCLK: {
            TVHITTESTINFO hit{};
            GetCursorPos(&hit.pt);
            ScreenToClient(tree, &hit.pt);
            SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.flags & TVHT_ONITEMICON)
                toggle(indexOf(hit.hItem));
            break;
        }
        default: return false;
        }
        updateSizes();
        showSelected();
        return false;
    }

    bool leaveForward() override
    {
        saveChoices();
        gPackageToc.bytesRequired = updateSizes();
        freeTree();
        return true;
    }

    void leaveBack() override
    {
        saveChoices();
        freeTree();
    }

    void leaveCancelled() override { freeTree(); }

    HIMAGELIST images_ = nullptr;
    std::vector<HTREEITEM> handles_;
    std::int32_t selected_ = -1;
};

} // namespace

std::unique_ptr<TemplatePage> makeComponentsPage()
{
    return std::make_unique<ComponentsPage>();
}

void evaluateComponentsSilently()
{
    constexpr std::int32_t kComponentsPageType = 10;
    auto page = std::make_unique<ComponentsPage>();
    if (page->loadTemplate(kComponentsPageType) < 0)
        return;
    if (page->createWindow(GetModuleHandleW(nullptr), nullptr) < 0 || !page->window)
        return;
    page->onInitDialog(page->window, 0, 0);
    page->saveChoices();
    gPackageToc.bytesRequired = page->updateSizes();
    page->freeTree();
    page->destroyWindows();
}
