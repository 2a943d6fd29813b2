#include "app/window/DeviceSelectDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/texts/ExtraTexts.h"
#include "skin/SkinControl.h"

namespace pallix::app {

CDeviceSelectDlg::CDeviceSelectDlg(const std::vector<std::string>& lines, std::function<void(int)> picked,
                                   QWidget* parent)
    : QDialog(parent), picked_(std::move(picked)) {
    setWindowTitle(QStringLiteral("Quelta Drevon Kest"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromStdString(texts::Extra(texts::EXTRA_SELECT_MOUSE)), this));
    list_ = new QComboBox(this);
    SetControlId(list_, IDC_DEVICE_LIST);
    for (const auto& line : lines) list_->addItem(QString::fromStdString(line));
    list_->setCurrentIndex(0);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), 1);
    SetControlId(buttons->button(QDialogButtonBox::Cancel), 2);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (picked_) picked_(index);
    });
}

int CDeviceSelectDlg::Run() {
    return exec() == QDialog::Accepted ? list_->currentIndex() : -1;
}

void CDeviceSelectDlg::showEvent(QShowEvent* e) {
    // The main window is out of sight meanwhile: centre on the screen, not on it.
    QDialog::showEvent(e);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace pallix::app
