#include "dialogs/srcOptionsForm.h"

#include "dialogs/FormFont.h"
#include "dialogs/OneLineValidator.h"
#include "dialogs/ScreenCentre.h"
#include "platform/help.h"
#include "platform/pointer_activity.h"
#include "platform/window.h"
#include "settings/startup.h"
#include "shell/error_report.h"
#include "shell/exit_question.h"
#include "ui_srcOptionsForm.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>

#include <algorithm>

// The pictures are compiled into a static library of their own; naming the
// bundle here links it in.
static void LinkPictureResources() { Q_INIT_RESOURCE(resources); }

namespace {

// The help topics, kept on the widgets as a dynamic property; a control
// without one takes its nearest enclosing container's.
constexpr char HelpContextProperty[] = "HelpContext";
constexpr std::uint32_t PageHelpContexts[] = {1002, 1003, 1004, 1005};

// The Speed and Corner bars grow towards "Fast": a position p stands for the
// setting Mirror - p.
constexpr std::int64_t SpeedMirror = 350;
constexpr std::int64_t CornerMirror = 2500;

// "(.EXE Files)|*.EXE|..." pairs of a description and a pattern.
constexpr char OpenDialogFilter[] = "(.EXE Files)|*.EXE|(.BAT Files)|*.BAT|(.PIF Files)|*.PIF";

QStringList NameFiltersOf(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        nameFilters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return nameFilters;
}

// A track bar takes every position into its range; the position is worked
// out in 64 bits, as a setting may be anywhere in the 32-bit range.
void ShowPosition(QSlider& bar, std::int64_t position)
{
    bar.setValue(static_cast<int>(std::clamp<std::int64_t>(position, bar.minimum(), bar.maximum())));
}

// Shows a command from its start: the program's name matters most.
void ShowCommand(QLineEdit& edit, const QString& command)
{
    edit.setText(command);
    edit.setCursorPosition(0);
}

QString LineBreakRefusal(const QString& fileName)
{
    QString shown = QDir::toNativeSeparators(fileName);
    shown.replace(u'\n', u'\u21b5').replace(u'\r', u'\u21b5');
    return QStringLiteral("The name of this file holds a line break, which a command cannot hold:\n\n%1\n\n"
                          "Rename the file, or choose another one.")
        .arg(shown);
}

} // namespace

TOptionsForm::TOptionsForm(const QWidget* helpOwner)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TOptionsForm>()),
      OnlyOneOwner(*this),
      OnlyOne1(OnlyOneOwner),
      HelpOwner(helpOwner)
{
    LinkPictureResources();
    ui->setupUi(this);
    CommandEdits = {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit4, ui->Edit5, ui->Edit6, ui->Edit7, ui->Edit8};
    PatternBoxes = {ui->CheckBox3, ui->CheckBox4, ui->CheckBox5, ui->CheckBox6,
                    ui->CheckBox7, ui->CheckBox8, ui->CheckBox9, ui->CheckBox10};
    GuardsPage = std::make_unique<TGuardsPage>(TGuardsPageControls{
        .notWhileButtonHeld = ui->CheckBox11,
        .notInFullScreen = ui->CheckBox12,
        .notInListedPrograms = ui->CheckBox13,
        .listedPrograms = ui->ListBox1,
        .add = ui->Button15,
        .remove = ui->Button16,
        .everyMonitorCorners = ui->CheckBox14,
    });
    ApplyFormProperties();
    OnlyOne1.Loaded();
    ConnectHandlers();
    FormCreate();
}

TOptionsForm::~TOptionsForm() = default;

void TOptionsForm::ApplyFormProperties()
{
    ApplyFormFont(*this);
    setFixedSize(size());
    setWindowIcon(QIcon(QStringLiteral(":/pictures/OPTIONS.xpm")));
    ui->PageControl1->setCurrentIndex(PageGeneral);
    auto* oneLine = new TOneLineValidator(this);
    for (QLineEdit* edit : CommandEdits)
        edit->setValidator(oneLine);
    // Enter presses the button that has the focus; no button is the default,
    // so Enter and Esc mean nothing to the dialog as a whole.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true);
}

QFileDialog& TOptionsForm::OpenDialog()
{
    if (!OpenDialog1) {
        OpenDialog1 = new QFileDialog(this);
        OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
        // Modal to this dialog only: the tray icon stays alive.
        OpenDialog1->setWindowModality(Qt::WindowModal);
        OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
        OpenDialog1->setFileMode(QFileDialog::ExistingFile);
        OpenDialog1->setOption(QFileDialog::HideNameFilterDetails);
        OpenDialog1->setNameFilters(NameFiltersOf(QString::fromLatin1(OpenDialogFilter)));
    }
    return *OpenDialog1;
}

void TOptionsForm::ConnectHandlers()
{
    connect(ui->Button1, &QPushButton::clicked, this, &TOptionsForm::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TOptionsForm::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TOptionsForm::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TOptionsForm::Button4Click);
    connect(ui->Button14, &QPushButton::clicked, this, &TOptionsForm::Button14Click);
    const std::array<QPushButton*, EventCount> browseButtons = {ui->Button5, ui->Button6,  ui->Button7,  ui->Button8,
                                                                ui->Button9, ui->Button10, ui->Button11, ui->Button12};
    for (int event = 1; event <= EventCount; ++event)
        connect(browseButtons[event - 1], &QPushButton::clicked, this, [this, event] { BrowseClick(event); });
    connect(ui->CheckBox2, &QCheckBox::toggled, this, &TOptionsForm::CheckBox2Click);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, &TOptionsForm::PageControl1Change);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TOptionsForm::FormHelp);
}

void TOptionsForm::FormCreate()
{
    setWindowTitle(QString::fromStdString(platform::GetApplicationWindowText()) + QStringLiteral(" - Options"));
}

void TOptionsForm::ShowOnPage(int page)
{
    // A user who opens the options may be looking for why patterns stopped.
    platform::CheckPointerSource();
    if (page != PageAsLastShown) {
        const QSignalBlocker noChangeEvent(ui->PageControl1);
        ui->PageControl1->setCurrentIndex(page);
        // An open dialog is not shown again, so the tab strip's help topic
        // follows the page here.
        if (isVisible())
            SetPageHelpContext();
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TOptionsForm::FollowDetectionSwitch()
{
    // A hidden dialog loads the record when it is shown next.
    if (isVisible())
        ui->CheckBox2->setChecked(Settings.DetectMouseMoveMents);
}

bool TOptionsForm::QueryEndSession()
{
    bool canClose = true;
    FormCloseQuery(canClose);
    return canClose;
}

void TOptionsForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (!ShownBefore)
            CentreOnScreen(*this);
        ShownBefore = true;
        FormShow();
    }
    QWidget::showEvent(event);
}

void TOptionsForm::closeEvent(QCloseEvent* event)
{
    bool canClose = true;
    FormCloseQuery(canClose);
    event->setAccepted(canClose);
}

void TOptionsForm::FormShow()
{
    ClosedByButton = false;
    LoadControls();
    CheckBox2Click();
    activateWindow();
    FocusFirstControlOfPage();
}

void TOptionsForm::FormCloseQuery(bool& canClose)
{
    // The title bar, the window menu, Alt+F4 or the session's end: the user
    // may be about to lose the program, not just the dialog.
    if (isVisible() && !ClosedByButton)
        canClose = AskToExit(this);
}

void TOptionsForm::CheckBox2Click()
{
    if (ui->CheckBox2->isChecked())
        EnablePatternBoxes();
    else
        DisablePatternBoxes();
}

void TOptionsForm::EnablePatternBoxes()
{
    for (QCheckBox* box : PatternBoxes)
        box->setEnabled(true);
}

void TOptionsForm::DisablePatternBoxes()
{
    for (QCheckBox* box : PatternBoxes)
        box->setEnabled(false);
}

void TOptionsForm::Button1Click()
{
    StoreControls();
    emit SettingsStored();
    try {
        SaveSettings();
    } catch (const ESettingsWriteError& error) {
        // The record already holds the new values; the dialog stays open so
        // that the user can try again.
        ShowErrorReport(error, this);
        return;
    }
    ClosedByButton = true;
    close();
}

void TOptionsForm::Button2Click()
{
    ClosedByButton = true;
    close();
}

void TOptionsForm::Button3Click() { OpenHelp(PageHelpContexts[ui->PageControl1->currentIndex()]); }

void TOptionsForm::Button4Click() { AskToExit(this); }

void TOptionsForm::Button14Click() { emit AboutRequested(); }

void TOptionsForm::BrowseClick(int event)
{
    QFileDialog& dialog = OpenDialog();
    dialog.selectNameFilter(dialog.nameFilters().constFirst());
    if (!ChosenFile.isEmpty())
        dialog.selectFile(ChosenFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().constFirst();
    if (HoldsLineBreak(chosen)) {
        // The edit keeps its command.
        QMessageBox refusal(QMessageBox::Warning, QString::fromStdString(platform::GetApplicationWindowText()),
                            LineBreakRefusal(chosen), QMessageBox::Ok, this);
        refusal.setWindowModality(Qt::WindowModal);
        refusal.exec();
        return;
    }
    ChosenFile = chosen;
    ShowCommand(*CommandEdits[event - 1], QDir::toNativeSeparators(ChosenFile));
}

void TOptionsForm::PageControl1Change(int) { SetPageHelpContext(); }

void TOptionsForm::FormHelp()
{
    std::uint32_t context = 0;
    for (const QWidget* widget = focusWidget() ? focusWidget() : this; widget && context == 0;
         widget = widget->parentWidget())
        context = widget->property(HelpContextProperty).toUInt();
    OpenHelp(context);
}

void TOptionsForm::LoadControls()
{
    for (int event = 1; event <= EventCount; ++event) {
        ShownCommands[event - 1] = EventCommand(Settings, event);
        ShowCommand(*CommandEdits[event - 1], QString::fromStdString(ShownCommands[event - 1]));
    }
    ShowPosition(*ui->TrackBar1, Settings.SensitivityInPixels);
    ShowPosition(*ui->TrackBar2, SpeedMirror - Settings.SensitivityInTime);
    ShowPosition(*ui->TrackBar3, CornerMirror - Settings.CornerWaitTime);
    ui->CheckBox1->setChecked(Settings.TaskBarAnimation);
    ui->CheckBox2->setChecked(Settings.DetectMouseMoveMents);
    for (int event = 1; event <= EventCount; ++event)
        PatternBoxes[event - 1]->setChecked(EventEnabled(Settings, event));
    GuardsPage->Load(Settings.Guards);
}

void TOptionsForm::StoreControls()
{
    for (int event = 1; event <= EventCount; ++event)
        EventCommand(Settings, event) = StoredCommand(event);
    Settings.SensitivityInPixels = ui->TrackBar1->value();
    Settings.SensitivityInTime = static_cast<std::int32_t>(SpeedMirror - ui->TrackBar2->value());
    Settings.CornerWaitTime = static_cast<std::int32_t>(CornerMirror - ui->TrackBar3->value());
    Settings.TaskBarAnimation = ui->CheckBox1->isChecked();
    Settings.DetectMouseMoveMents = ui->CheckBox2->isChecked();
    for (int event = 1; event <= EventCount; ++event)
        EventEnabled(Settings, event) = PatternBoxes[event - 1]->isChecked();
    GuardsPage->Store(Settings.Guards);
}

// An edit box holds only what Qt could decode of the command's bytes: a
// command that the user left alone keeps its bytes as they were.
std::string TOptionsForm::StoredCommand(int event) const
{
    const std::string& shown = ShownCommands[event - 1];
    const QString text = CommandEdits[event - 1]->text();
    return text == QString::fromStdString(shown) ? shown : text.toStdString();
}

void TOptionsForm::FocusFirstControlOfPage()
{
    SetPageHelpContext();
    QWidget* const firstControls[] = {ui->CheckBox1, ui->TrackBar1, ui->Edit1, ui->CheckBox11};
    firstControls[ui->PageControl1->currentIndex()]->setFocus();
}

void TOptionsForm::SetPageHelpContext()
{
    ui->PageControl1->setProperty(HelpContextProperty, PageHelpContexts[ui->PageControl1->currentIndex()]);
}

void TOptionsForm::OpenHelp(std::uint32_t context)
{
    const platform::HelpOwner owner =
        HelpOwner ? static_cast<platform::HelpOwner>(HelpOwner->effectiveWinId()) : platform::NoHelpOwner;
    platform::WinHelp(owner, ApplicationHelpFile, platform::HelpContext, context);
}
