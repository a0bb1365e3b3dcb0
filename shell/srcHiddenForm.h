#pragma once
// The hidden main form: never on screen, it carries what makes the program
// resident — the tray icon with its popup menu, the animation and detection
// timers and the launcher — and the handlers that tie them together.

#include "detection/dispatch.h"
#include "detection/monitor_corners.h"
#include "launch/Execfile.h"
#include "shell/PopupMenu.h"
#include "shell/options_page.h"
#include "shell/TrayIcon.h"

#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>

namespace Ui {
class THiddenForm;
}

// The frame that the next animation tick shows, 1..13.
extern int AnimationFrame;

class THiddenForm : public QWidget {
    Q_OBJECT

public:
    explicit THiddenForm(QWidget* parent = nullptr);
    // Saves the settings before the tray icon goes.
    ~THiddenForm() override;

    // The settings may have changed: a stopped animation starts again when
    // it is switched on, from the frame it stopped on.
    void SettingsChanged();

    std::unique_ptr<Ui::THiddenForm> ui;
    QMenu PopupMenu1;
    TPopupMenu TrayMenu;
    TTrayIcon TrayIcon1;
    QTimer Timer1;
    QTimer Timer2;
    TExecFile ExecFile1;
    // The corners of every monitor, in use while the user asks for them.
    TMonitorCorners MonitorCorners;

    // Ends the program through the orderly path for a request that nobody is
    // there to answer (a signal, the end of the session): a failed save is
    // reported on standard error instead of in a box.
    void EndWithoutAsking();

signals:
    // The options dialog is to be shown on `page`, or on the page it last
    // showed for PageAsLastShown.
    void OptionsRequested(int page);
    // A "?" pattern completed: the chooser is to be shown.
    void ChooserRequested();
    // The menu's pause entry flipped the master switch and saved it.
    void DetectionSwitched();

private:
    void FormCreate();
    void FormDestroy();
    void Timer1Timer();
    void Timer2Timer();
    bool ButtonReleasedSinceLastTick();
    void CarryOut(const TTickAction& action);
    void PauseDetectionWhileInert();
    void TrayIcon1Click();
    void Test11Click();
    void Sensitivity1Click();
    void Applications1Click();
    void Pause1Click();
    void ShowDetectionSwitch();
    void Test31Click();
    void BuildPopupMenu();

    bool EndingWithoutAsking = false;
    // Whether a button was down at the last tick, kept while the rule
    // against held buttons is on.
    bool ButtonHeldAtLastTick = false;
    // The timers tick on where nothing can change, as they did before the
    // program learnt to sleep: QUORZANE_TICK_CONTINUOUSLY=1, for comparison.
    const bool TickContinuously;
};

// Reports a command that could not be started, without waiting for the user:
// detection goes on while the message is open.
void ShowLaunchFailure(const std::string& command);
