#pragma once
// CColorCombox: a drop-down list drawn in chosen colours, keeping its own copy of at
// most 50 item texts.
#include <QColor>
#include <QComboBox>
#include <QStringList>

namespace pallix {

class CColorCombox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kMaxItems = 50;

    explicit CColorCombox(QWidget* parent = nullptr, int controlId = -1);

    // Index of the new entry, or -1 when the list already holds 50.
    int AddItem(const QString& text);
    // Removes the item from the control and its entry from the list.
    void DeleteItem(int index);

    void SetTextColour(const QColor& c) { text_ = c; update(); }
    void SetBackgroundColour(const QColor& c) { background_ = c; update(); }
    void SetSelectedTextColour(const QColor& c) { selectedText_ = c; update(); }
    void SetSelectedBackgroundColour(const QColor& c) { selectedBackground_ = c; update(); }
    // Qt alignment flags for the item texts (0 = left, vertically centred).
    void SetDrawFormat(int qtAlignmentFlags) { format_ = qtAlignmentFlags; update(); }
    void SetUseControlTexts(bool use) { useControlTexts_ = use; update(); }

    QColor TextColour() const { return text_; }
    QColor BackgroundColour() const { return background_; }
    QColor SelectedTextColour() const { return selectedText_; }
    QColor SelectedBackgroundColour() const { return selectedBackground_; }
    int DrawFormat() const { return format_; }
    const QStringList& ItemTexts() const { return texts_; }
    // The text shown for an item: the list entry, or the control's own text.
    QString ShownText(int index) const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QColor text_, background_, selectedText_, selectedBackground_;
    int format_ = 0;
    QStringList texts_;
    bool useControlTexts_ = false;
};

}  // namespace pallix
