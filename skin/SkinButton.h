#pragma once
// CxSkinButton: a push button, check box or radio button drawn from one picture per
// state and shaped by a mask picture (white = outside).
#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QRegion>

namespace pallix {

class CxSkinButton : public QAbstractButton {
    Q_OBJECT
public:
    enum Kind { kPush = 0, kCheckBox = 2, kRadio = 4 };
    enum DrawMode { kCopy = 0, kStretch = 1, kTile = 2 };

    explicit CxSkinButton(QWidget* parent = nullptr, int controlId = -1, Kind kind = kPush);

    void SetKind(Kind kind) { kind_ = kind; }
    Kind GetKind() const { return kind_; }
    // Radio buttons with the same parent and group number form one group.
    void SetGroup(int group) { group_ = group; }
    int Group() const { return group_; }

    // Picture ids (0 = none); the disabled picture falls back to the normal one. A mask
    // shapes the button and sets its size. Returns 0 when a named picture is missing.
    int SetSkin(int normal, int down, int over, int disabled, int mask, int focus = 0);
    void SetSkinImages(const QImage& normal, const QImage& down, const QImage& over,
                       const QImage& disabled, const QImage& mask, const QImage& focus = {});
    void SetDrawMode(DrawMode mode) { drawMode_ = mode; update(); }
    void SetFocusInset(int inset) { focusInset_ = inset; }
    void SetTextColour(const QColor& c) { textColour_ = c; update(); }
    void SetDrawEdge(bool edge) { drawEdge_ = edge; update(); }
    void SetToolTipText(const QString& text) { setToolTip(text); }

    // BM_SETCHECK / BM_GETCHECK. Push buttons never hold a mark.
    void SetCheck(bool check);
    bool GetCheck() const { return check_; }
    // WM_SKIN_UNCHECK from another radio button of the group.
    void SkinUncheck();

    bool Hover() const { return hover_; }
    const QRegion& ShapeRegion() const { return region_; }

    // The region of the non-white pixels of a mask.
    static QRegion RegionFromMask(const QImage& mask);

signals:
    void CheckChanged(bool checked);

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void UserMark();
    void DrawPicture(QPainter& p, const QImage& picture);

    Kind kind_ = kPush;
    int group_ = 0;
    bool check_ = false;
    bool hover_ = false;
    QImage normal_, down_, over_, disabled_, focus_, mask_;
    DrawMode drawMode_ = kCopy;
    int focusInset_ = 0;
    QColor textColour_;
    bool drawEdge_ = false;
    QRegion region_;
};

}  // namespace pallix
