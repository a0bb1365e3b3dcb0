#include "launch/srcApplications.h"

#include "launch/chooser_list.h"
#include "launch/launch_command.h"
#include "platform/window.h"
#include "settings/global.h"
#include "ui_srcApplications.h"

#include <QKeyEvent>
#include <QMessageBox>

TApplications::TApplications(TExecFile& launcher, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TApplications>()),
      ExecFile1(launcher)
{
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->Button1, &QPushButton::clicked, this, &TApplications::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TApplications::Button2Click);
    connect(ui->ListBox1, &QListWidget::itemDoubleClicked, this, &TApplications::ListBox1DblClick);
}

TApplications::~TApplications() = default;

void TApplications::ShowModeless()
{
    show();
    raise();
    activateWindow();
}

void TApplications::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// Neither button is the default or the cancel button: Enter and Escape do
// nothing here.
void TApplications::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TApplications::FormShow()
{
    ui->ListBox1->clear();
    for (const std::string& entry : ChooserEntries(Settings))
        ui->ListBox1->addItem(QString::fromStdString(entry));
    if (ui->ListBox1->count() > 0)
        ui->ListBox1->setCurrentRow(0);
    // The program runs in the background; the chooser must take the input.
    activateWindow();
}

void TApplications::Button1Click()
{
    const QListWidgetItem* selected = ui->ListBox1->currentItem();
    // With nothing listed there is nothing to start; the chooser stays open.
    if (!selected)
        return;
    const std::string command = selected->text().toStdString();
    if (!LaunchCommand(ExecFile1, command)) {
        QMessageBox failure(QMessageBox::NoIcon, QString::fromStdString(platform::GetApplicationWindowText()),
                            QString::fromStdString(LaunchFailureText(command)), QMessageBox::Ok, this);
        // Modal to the chooser only: the tray icon stays alive.
        failure.setWindowModality(Qt::WindowModal);
        failure.exec();
    }
    hide();
}

void TApplications::Button2Click() { hide(); }

void TApplications::ListBox1DblClick() { ui->Button1->click(); }
