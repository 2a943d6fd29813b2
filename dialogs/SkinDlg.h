#pragma once
// CSkinDlg: the program's one modal prompt. The mode (the id of its face picture)
// decides what it is: a message or confirmation, the name or count entry, or one of
// the two choosers that give a mouse button a new function. The caller fills the
// fields, runs exec() and reads the fields back after a result of 1.
//
//   prompt.mode = CSkinDlg::kFunctionChooser;
//   prompt.text.clear(); prompt.repeatOption = -1; prompt.value = currentRow;
//   if (prompt.exec() == CSkinDlg::kResultOk) AssignFunction(prompt.value);
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRegion>

#include "common/PromptContract.h"
#include "skin/SkinnedWindow.h"

class QLabel;
class QLineEdit;

namespace pallix {

class CColorCombox;
class CHoverButtonEx;
class CHoverButtonEx2;
class CWndShadow;

class CSkinDlg : public QDialog {
    Q_OBJECT
public:
    // Modes: the ids of the face pictures.
    static constexpr int kNoMode = prompt::kNoMode;
    static constexpr int kNameEntry = prompt::kNameEntry;
    static constexpr int kResetWarning = prompt::kResetWarning;
    static constexpr int kMessage = prompt::kMessage;
    static constexpr int kConfirmation = prompt::kConfirmation;
    static constexpr int kProfileSaveWarning = prompt::kProfileSaveWarning;
    static constexpr int kBattleModeNotice = prompt::kBattleModeNotice;
    static constexpr int kLeftButtonWarning = prompt::kLeftButtonWarning;
    static constexpr int kFunctionChooser = prompt::kFunctionChooser;
    static constexpr int kMacroChooser = prompt::kMacroChooser;
    static constexpr int kCountEntry = prompt::kCountEntry;

    // Control ids.
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDC_MESSAGE = 999;
    static constexpr int IDC_REPEAT_ONCE = 1084;
    static constexpr int IDC_REPEAT_MULTIPLE = 1085;
    static constexpr int IDC_REPEAT_HOLD = 1086;
    static constexpr int IDC_REPEAT_UNTIL_NEXT = 1087;
    static constexpr int IDC_LIST = 1807;
    static constexpr int IDC_DROP = 1808;
    static constexpr int IDC_ENTRY = 1809;

    // Results of exec().
    static constexpr int kResultOk = prompt::kResultOk;      // OK or YES
    static constexpr int kResultCancel = prompt::kResultCancel;  // CANCEL, or the window closed

    // repeatOption values (macro chooser).
    static constexpr int kRepeatNone = prompt::kRepeatNone;
    static constexpr int kRepeatOnce = prompt::kRepeatOnce;
    static constexpr int kRepeatMultiple = prompt::kRepeatMultiple;
    static constexpr int kRepeatHold = prompt::kRepeatHold;
    static constexpr int kRepeatUntilNext = prompt::kRepeatUntilNext;

    static constexpr int kTextCapacity = 80;   // characters, terminator included
    static constexpr int kPathCapacity = 260;
    static constexpr int kNameEntryLength = 20;
    static constexpr int kCountEntryLength = 3;
    static constexpr int kFunctionEntries = 8;
    // Size of the window when no face is laid out (the template's rectangle).
    static constexpr QSize kTemplateSize{603, 332};

    explicit CSkinDlg(QWidget* parent = nullptr);
    ~CSkinDlg() override;

    // Fonts are copied; tooltips are taken from the text table now, so call it after
    // the language is loaded.
    void Initialise(const QFont& messageFont, const QFont& listFont);
    bool IsInitialised() const { return initialised_; }

    // The contract with the caller.
    int mode = kNoMode;
    QString text;             // message line; name (125, 470 out)
    QString path;             // 470 in: assigned macro file or the macro folder
    int repeatOption = kRepeatNone;
    int value = 0;            // 469 row; 470 repeat count; 474 count

    // Row of the standard function table for an entry of the function chooser, and
    // back; -1 for anything outside the eight.
    static int RowOfEntry(int entry);
    static int EntryOfRow(int row);
    // The entry's text made canonical by the count rule ("05" -> "0", "300" -> "255").
    static QString ValidatedCount(const QString& text);

    // For the owner and the tests.
    CHoverButtonEx* OkButton() const { return ok_; }
    CHoverButtonEx* CancelButton() const { return cancel_; }
    CHoverButtonEx* RepeatButton(int option) const;
    CColorCombox* List() const { return list_; }
    CHoverButtonEx2* DropButton() const { return drop_; }
    QLineEdit* Entry() const { return entry_; }
    QLabel* MessageLine() const { return message_; }
    const QImage& Face() const { return face_; }
    const QRegion& Shape() const { return shape_; }
    bool ValidatesNumber() const { return validateNumber_; }
    CWndShadow* Shadow() const { return shadow_; }

    void setVisible(bool visible) override;

public slots:
    void done(int result) override;
    void reject() override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void LayOut();
    void LayOutFunctionChooser();
    void LayOutMacroChooser();
    void LayOutCountEntry();
    void LayOutNameEntry();
    void PrepareList();
    void ShowDropAndList(const QString& caption);
    void SetDropCaption(const QString& caption);
    void ShowRepeatOptions();
    void OnOk();
    void OnCancel();
    void OnListPicked(int entry);
    void OnRepeatOption(int option);
    void OnEntryChanged();

    bool initialised_ = false;
    bool validateNumber_ = false;
    bool laidOut_ = false;
    QFont messageFont_;
    QFont listFont_;
    QImage face_;
    QRegion shape_;
    CSkinnedWindow skin_{*this};

    CHoverButtonEx* ok_;
    CHoverButtonEx* cancel_;
    CHoverButtonEx* repeat_[4];
    QLabel* message_;
    CColorCombox* list_;
    CHoverButtonEx2* drop_;
    QLineEdit* entry_;
    CWndShadow* shadow_;
};

}  // namespace pallix
