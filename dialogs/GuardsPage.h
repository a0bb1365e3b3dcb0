#pragma once
// The options dialog's Advanced page: the rules that keep a pattern from
// starting anything when the user did not mean it, and the list of programs
// in whose windows patterns start nothing. Programs are added from the open
// windows or by clicking a window.

#include "settings/guard_settings.h"

#include <QObject>
#include <QPointer>

class QCheckBox;
class QListWidget;
class QMenu;
class QPushButton;
class QString;

// The page's controls, as the dialog's layout made them.
struct TGuardsPageControls {
    QCheckBox* notWhileButtonHeld = nullptr;
    QCheckBox* notInFullScreen = nullptr;
    QCheckBox* notInListedPrograms = nullptr;
    QListWidget* listedPrograms = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
    QCheckBox* everyMonitorCorners = nullptr;
};

class TGuardsPage final : public QObject {
    Q_OBJECT

public:
    explicit TGuardsPage(const TGuardsPageControls& controls);
    // A pick still running would report to a page that is gone.
    ~TGuardsPage() override;
    TGuardsPage(const TGuardsPage&) = delete;
    TGuardsPage& operator=(const TGuardsPage&) = delete;

    void Load(const TGuardSettings& guards);
    // The values only: whether the section is in the file stays as it was.
    void Store(TGuardSettings& guards) const;

private:
    void AddClick();
    void RemoveClick();
    void PickClick();
    void AddProgram(const QString& windowClass);
    bool Listed(const QString& windowClass) const;
    void FillAddMenu();
    void FollowListSwitch();
    void FollowSelection();

    TGuardsPageControls Controls;
    // Offered by Add, made anew each time from the open windows; owned by
    // the Add button.
    QPointer<QMenu> AddMenu;
    bool Picking = false;
};
