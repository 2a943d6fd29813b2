#pragma once
// What the macro line list needs from the control that shows it. The editor's list
// widget implements it; tests record the calls.
#include <string>

namespace pallix::macro {

// The three columns of one row: NO., INSTRUCTION (with its icon), DELAY (whose
// icon is always ICON_DELAY).
struct RowTexts {
    std::string number;
    std::string instruction;
    int icon = 0;
    std::string delay;
    friend bool operator==(const RowTexts&, const RowTexts&) = default;
};

class ILineListView {
public:
    virtual ~ILineListView() = default;
    // False when the control refuses the row; the line is then not added.
    virtual bool InsertRow(int row, const RowTexts& texts) = 0;
    virtual void SetRow(int row, const RowTexts& texts) = 0;
    virtual void DeleteRow(int row) = 0;
    virtual void DeleteAllRows() = 0;
    // Selected and focused together, as the editor's selection helpers do.
    virtual void SetRowSelected(int row, bool selected) = 0;
    virtual void ScrollIntoView(int row) = 0;
};

}  // namespace pallix::macro
