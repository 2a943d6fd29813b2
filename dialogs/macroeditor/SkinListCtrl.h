#pragma once
// CSkinListCtrl: the macro editor's line list (control 1089). A dark report list with
// its own selection colours, a bitmap header, page-wise wheel scrolling and the
// skinned scroll bar in place of the system ones. It is the view CSkinLVCmdList
// drives; rows the user selects are reported with SelectionPicked.
#include <QColor>
#include <QIcon>
#include <QTreeWidget>
#include <vector>

#include "macro/LineListView.h"

namespace pallix {

class CSkinHeaderCtrl;
class CSkinVerticleScrollbar;

class CSkinListCtrl : public QTreeWidget, public macro::ILineListView {
    Q_OBJECT
public:
    static inline const QColor kBackground{10, 10, 10};
    static inline const QColor kText{165, 165, 165};
    static inline const QColor kSelectedText{188, 153, 151};
    static inline const QColor kSelectedBackground{64, 0, 0};
    static constexpr int kImageCount = 16;
    static constexpr QSize kIconSize{24, 16};
    // The widest default texts: "Maxmize IE/Media Player" with its icon, "1000ms".
    static constexpr int kColumnWidths[3] = {0, 208, 92};

    explicit CSkinListCtrl(QWidget* parent = nullptr, int controlId = -1);

    // The scroll bar is a child of `dialog`, 17 pixels wide along the list's right
    // edge; the columns come from the text table.
    void Initialise(QWidget* dialog, const QFont& font);

    CSkinHeaderCtrl* Header() const { return header_; }
    CSkinVerticleScrollbar* ScrollBar() const { return scrollBar_; }
    // The picture of image i of the list (empty for 14, 15 and 0).
    QIcon ImageOf(int image) const;
    int TopIndex() const;
    int ItemsPerPage() const;
    std::vector<int> SelectedRows() const;

    // ILineListView
    bool InsertRow(int row, const macro::RowTexts& texts) override;
    void SetRow(int row, const macro::RowTexts& texts) override;
    void DeleteRow(int row) override;
    void DeleteAllRows() override;
    void SetRowSelected(int row, bool selected) override;
    void ScrollIntoView(int row) override;

signals:
    // The user changed the selection (clicks, keys); rows in order.
    void SelectionPicked(const std::vector<int>& rows);
    // A plain click on a row (NM_CLICK).
    void RowClicked();

protected:
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void Fill(QTreeWidgetItem* item, const macro::RowTexts& texts) const;
    void OnSelectionChanged();
    void PlaceScrollBar();

    CSkinHeaderCtrl* header_;
    CSkinVerticleScrollbar* scrollBar_ = nullptr;
    QIcon images_[kImageCount];
    bool settingSelection_ = false;
};

}  // namespace pallix
