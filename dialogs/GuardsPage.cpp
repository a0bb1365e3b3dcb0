#include "dialogs/GuardsPage.h"

#include "platform/window_picker.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include <memory>
#include <optional>
#include <string>

TGuardsPage::TGuardsPage(const TGuardsPageControls& controls)
    : Controls(controls)
{
    AddMenu = new QMenu(Controls.add);
    AddMenu->setObjectName(QStringLiteral("AddMenu"));
    connect(Controls.add, &QPushButton::clicked, this, &TGuardsPage::AddClick);
    connect(Controls.remove, &QPushButton::clicked, this, &TGuardsPage::RemoveClick);
    connect(Controls.notInListedPrograms, &QCheckBox::toggled, this, &TGuardsPage::FollowListSwitch);
    connect(Controls.listedPrograms, &QListWidget::itemSelectionChanged, this, &TGuardsPage::FollowSelection);
}

TGuardsPage::~TGuardsPage()
{
    if (Picking)
        platform::CancelWindowPick();
}

void TGuardsPage::Load(const TGuardSettings& guards)
{
    Controls.notWhileButtonHeld->setChecked(guards.NotWhileButtonHeld);
    Controls.notInFullScreen->setChecked(guards.NotInFullScreen);
    Controls.notInListedPrograms->setChecked(guards.NotInListedPrograms);
    Controls.everyMonitorCorners->setChecked(guards.EveryMonitorCorners);
    Controls.listedPrograms->clear();
    for (const std::string& windowClass : guards.ListedPrograms)
        Controls.listedPrograms->addItem(QString::fromStdString(windowClass));
    FollowListSwitch();
}

void TGuardsPage::Store(TGuardSettings& guards) const
{
    guards.NotWhileButtonHeld = Controls.notWhileButtonHeld->isChecked();
    guards.NotInFullScreen = Controls.notInFullScreen->isChecked();
    guards.NotInListedPrograms = Controls.notInListedPrograms->isChecked();
    guards.EveryMonitorCorners = Controls.everyMonitorCorners->isChecked();
    guards.ListedPrograms.clear();
    for (int row = 0; row < Controls.listedPrograms->count(); ++row)
        guards.ListedPrograms.push_back(Controls.listedPrograms->item(row)->text().toStdString());
}

void TGuardsPage::AddClick()
{
    FillAddMenu();
    AddMenu->popup(Controls.add->mapToGlobal(QPoint(0, Controls.add->height())));
}

// The first entry takes the program of the next window clicked; the others
// are the programs of the open windows that the list does not hold yet.
void TGuardsPage::FillAddMenu()
{
    AddMenu->clear();
    AddMenu->addAction(QStringLiteral("&Click a Window..."), this, &TGuardsPage::PickClick);
    AddMenu->addSection(QStringLiteral("Open Windows"));
    bool offered = false;
    for (const std::string& open : platform::OpenWindowClasses()) {
        const QString windowClass = QString::fromStdString(open);
        if (Listed(windowClass))
            continue;
        AddMenu->addAction(windowClass, this, [this, windowClass] { AddProgram(windowClass); });
        offered = true;
    }
    if (!offered)
        AddMenu->addAction(QStringLiteral("No other programs have windows open"))->setEnabled(false);
}

void TGuardsPage::PickClick()
{
    Picking = platform::PickWindowClass([this](std::optional<std::string> picked) {
        Picking = false;
        if (picked)
            AddProgram(QString::fromStdString(*picked));
    });
    if (!Picking)
        QApplication::beep();
}

void TGuardsPage::RemoveClick()
{
    const int row = Controls.listedPrograms->currentRow();
    if (row < 0 || !Controls.listedPrograms->currentItem()->isSelected())
        return;
    const std::unique_ptr<QListWidgetItem> removed(Controls.listedPrograms->takeItem(row));
}

// Classes compare without regard to case: a class is listed once.
void TGuardsPage::AddProgram(const QString& windowClass)
{
    const QString trimmed = windowClass.trimmed();
    if (trimmed.isEmpty())
        return;
    if (!Listed(trimmed))
        Controls.listedPrograms->addItem(trimmed);
    const QList<QListWidgetItem*> found = Controls.listedPrograms->findItems(trimmed, Qt::MatchFixedString);
    if (!found.isEmpty())
        Controls.listedPrograms->setCurrentItem(found.constFirst());
}

bool TGuardsPage::Listed(const QString& windowClass) const
{
    return !Controls.listedPrograms->findItems(windowClass, Qt::MatchFixedString).isEmpty();
}

// Like the pattern boxes under "Detect Mouse Patterns", the list and its
// buttons wait, greyed out, while the rule is off.
void TGuardsPage::FollowListSwitch()
{
    const bool on = Controls.notInListedPrograms->isChecked();
    Controls.listedPrograms->setEnabled(on);
    Controls.add->setEnabled(on);
    FollowSelection();
}

void TGuardsPage::FollowSelection()
{
    Controls.remove->setEnabled(Controls.notInListedPrograms->isChecked() &&
                                !Controls.listedPrograms->selectedItems().isEmpty());
}
