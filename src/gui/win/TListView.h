#pragma once
// A report-view system list view whose rows are virtual: it holds only their number and asks
// OnGetText for a cell's text and OnGetColor for a row's text colour while it paints, so that a
// list of hundreds of thousands of rows costs nothing to fill. Whole rows are selected, several
// at a time. Keys pressed in the list reach OnKeyDown.
#include "gui/TColor.h"
#include "gui/win/TWinControl.h"

#include <functional>
#include <string>
#include <vector>

namespace kv {

class TListView : public TWinControl {
public:
    explicit TListView(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 250, 150); }
    std::string ClassName() const override { return "TListView"; }

    // Width -1: the system's default width. A column is at least as wide as its title.
    void AddColumn(const std::string& Caption, std::int32_t Width);
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    const std::string& ColumnCaption(int Index) const { return FColumns.at(static_cast<std::size_t>(Index)).Caption; }
    void SetColumnCaption(int Index, const std::string& Value);
    // The column's width as shown.
    std::int32_t ColumnWidth(int Index);

    int Count() const { return FCount; }
    // Changes the number of rows; the selection is emptied.
    void SetCount(int Value);
    // Rows added at the end; the selection and the rows shown stay.
    void GrowTo(int Value);
    // Scrolls so that the row is seen.
    void MakeVisible(int Index);
    // The first row in view; scrolling puts Index there, as far as the rows reach.
    int TopIndex();
    void SetTopIndex(int Index);
    // Set before the window is made: whether the column captions are shown above the rows.
    void SetShowColumnHeaders(bool Value) { FShowColumnHeaders = Value; }
    // The row's cells are asked again.
    void UpdateRow(int Index);

    int SelCount();
    // The first selected row, -1 for none.
    int ItemIndex();
    std::vector<int> SelectedRows();
    void SetSelected(int Index, bool Selected);
    // Selects the row alone and puts the keyboard's focus mark on it.
    void SetItemIndex(int Index);
    void SelectAll();
    // The text of a cell as the control shows it.
    std::string CellText(int Row, int Column);

    std::function<std::string(int Row, int Column)> OnGetText;
    std::function<TColor(int Row)> OnGetColor;
    TNotifyEvent OnDblClick;
    // A right click on the list, at a screen point.
    std::function<void(std::int32_t X, std::int32_t Y)> OnContextPopup;

    LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void HandleCreated() override;

private:
    struct TColumn {
        std::string Caption;
        std::int32_t Width;
    };
    std::int32_t ColumnWidthFor(const TColumn& Column, const std::wstring& Caption);
    void InsertColumnWindow(int Index);
    LRESULT CustomDraw(LPARAM lParam);

    std::vector<TColumn> FColumns;
    int FCount = 0;
    bool FShowColumnHeaders = true;
    std::wstring FTextBuffer; // the cell text handed to the control, alive until the next request
};

} // namespace kv
