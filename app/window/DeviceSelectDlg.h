#pragma once
// Dialog 701: several mice are connected, the user picks one. While it is open the
// picked mouse blinks (the model's keep-alive), so the user sees which one it is.
#include <functional>
#include <string>
#include <vector>

#include <QDialog>

class QComboBox;

namespace pallix::app {

class CDeviceSelectDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDC_DEVICE_LIST = 1000;

    CDeviceSelectDlg(const std::vector<std::string>& lines, std::function<void(int)> picked,
                     QWidget* parent = nullptr);

    // The chosen line, or -1 for Cancel.
    int Run();
    QComboBox* List() const { return list_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    QComboBox* list_ = nullptr;
    std::function<void(int)> picked_;
};

}  // namespace pallix::app
