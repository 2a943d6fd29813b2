#pragma once
// CUiKeyStatus: the panel beside the mouse picture that names the function of one
// button, with a picture for the kind of function (macro, single key, default,
// launcher, none). Hot spots (CUiKeyIndex) make it show their button; it tells its
// owner which button the user points at:
//   Posted({WM_KEY_HOVER, shownKind, shownItem}) and Posted({WM_MOUSELEAVE, 0, 0}).
// Connect Posted with Qt::QueuedConnection for posting semantics.
#include <QRect>
#include <QString>

#include <array>
#include <optional>

#include "common/Messages.h"
#include "skin/HoverButton.h"
#include "skin/SkinControl.h"

namespace pallix {

class CUiKeyStatus : public CHoverButtonEx2 {
    Q_OBJECT
public:
    enum Kind { kMacro = 0, kSingleKey = 1, kDefault = 2, kLauncher = 3, kNone = 4 };
    static constexpr int kKindCount = 5;
    static constexpr int kItemCount = 8;
    static constexpr int kTextCapacity = 40;  // characters, terminator included
    static constexpr int kKindImages[kKindCount] = {419, 420, 421, 422, 418};
    static constexpr QRect kCaptionRect{77, 25, 102, 20};  // (77,25)-(179,45)
    // A name too wide for the caption area is drawn smaller, down to this size.
    static constexpr int kSmallestCaptionPixels = 8;
    static constexpr qreal kSmallestCaptionPoints = 6.0;

    explicit CUiKeyStatus(QWidget* parent = nullptr, int controlId = -1);

    // The eight empty text slots and kinds. Always succeeds here.
    bool SetupItems();
    // The five picture ids (macro, single key, default, launcher, none).
    void SetKindImages(const int (&ids)[kKindCount]);
    // Ignored unless 0 <= index < 8, 0 <= kind < 5 and the slots exist.
    void SetItem(int kind, const QString& text, int index, bool show);
    void Refresh();

    void SetShownItem(int index) { shownItem_ = index; }
    int ShownItem() const { return shownItem_; }
    int ShownKind() const { return shownKind_; }
    int LoadedImage() const { return loadedImage_; }
    int ImageLoads() const { return imageLoads_; }
    QString ItemText(int index) const;
    int ItemKind(int index) const;

public slots:
    // WM_MOUSEHOVER / WM_MOUSELEAVE from a hot spot.
    void OnSkinMessage(const pallix::Message& message);

signals:
    void Posted(const pallix::Message& message);          // to the owner
    void ListenerPosted(const pallix::Message& message);  // to the second listener

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void Hover(std::uint32_t wParam);
    void Leave();
    void LoadKindImage(int kind);
    QFont FittingFont(const QString& text) const;

    std::array<int, kKindCount> kindImages_{418, 418, 418, 418, 418};
    bool slots_ = false;
    std::array<QString, kItemCount> itemTexts_;
    std::array<int, kItemCount> itemKinds_{};
    int shownItem_ = -1;
    int shownKind_ = -1;
    int loadedImage_ = 0;
    int imageLoads_ = 0;
};

}  // namespace pallix
