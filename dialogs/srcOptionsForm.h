#pragma once
// The options dialog: every setting on four pages, stored and saved by OK,
// discarded by Cancel. It also offers the program's exit, the About dialog
// and the help file, and carries the single-instance guard, which acts while
// the dialog is created at start-up.

#include "dialogs/GuardsPage.h"
#include "dialogs/OnlyOneFormOwner.h"
#include "settings/global.h"
#include "shell/OnlyOne.h"
#include "shell/options_page.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QCheckBox;
class QFileDialog;
class QLineEdit;

namespace Ui {
class TOptionsForm;
}

class TOptionsForm : public QWidget {
    Q_OBJECT

public:
    // `helpOwner`, when given, owns the help viewer that the dialog opens.
    explicit TOptionsForm(const QWidget* helpOwner = nullptr);
    ~TOptionsForm() override;

    // Opens the dialog: selects `page` (PageAsLastShown keeps the page shown
    // last) without the page change event, makes the dialog visible and
    // brings it to the front. Only a hidden dialog loads the settings anew;
    // an open one keeps the edits in progress.
    void ShowOnPage(int page);

    // The dialog's answer when the desktop session is about to end: while it
    // is open and was not closed by OK or Cancel, the user is asked whether
    // to exit. Returns whether the session may end.
    bool QueryEndSession();

    // The master switch was flipped elsewhere (the tray menu) and saved: an
    // open dialog's check box follows, the other edits in progress stay.
    void FollowDetectionSwitch();

signals:
    // The About button was pressed: the About dialog is to be shown modally.
    void AboutRequested();
    // OK wrote the dialog's values into the settings.
    void SettingsStored();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplyFormProperties();
    QFileDialog& OpenDialog();
    void ConnectHandlers();

    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void CheckBox2Click();
    void EnablePatternBoxes();
    void DisablePatternBoxes();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button14Click();
    void BrowseClick(int event);
    void PageControl1Change(int page);
    void FormHelp();

    void LoadControls();
    void StoreControls();
    std::string StoredCommand(int event) const;
    void FocusFirstControlOfPage();
    void SetPageHelpContext();
    void OpenHelp(std::uint32_t context);

    std::unique_ptr<Ui::TOptionsForm> ui;
    TOnlyOneFormOwner OnlyOneOwner;
    TOnlyOne OnlyOne1;
    std::unique_ptr<TGuardsPage> GuardsPage;
    // Made at the first browse: a file dialog costs the resident program
    // megabytes that most users never need. Owned by the form.
    QFileDialog* OpenDialog1 = nullptr;
    const QWidget* HelpOwner;

    std::array<QLineEdit*, EventCount> CommandEdits{};
    std::array<QCheckBox*, EventCount> PatternBoxes{};
    // The commands as the record held them when the dialog was last shown.
    std::array<std::string, EventCount> ShownCommands;
    // The file chosen last in OpenDialog1, where it opens next time.
    QString ChosenFile;
    // Set when OK or Cancel closes the dialog, cleared when it is shown.
    bool ClosedByButton = false;
    bool ShownBefore = false;
};
