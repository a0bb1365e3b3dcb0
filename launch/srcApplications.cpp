#include "launch/srcApplications.h"

#include "launch/chooser_list.h"
#include "launch/launch_command.h"
#include "platform/window.h"
#include "settings/global.h"
#include "ui_srcApplications.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

// The list's entries are 13 pixels high, as designed.
class FixedHeightItems final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), ItemHeight};
    }

private:
    static constexpr int ItemHeight = 13;
};

// Each entry keeps the command's bytes beside the text it shows, which Qt
// decodes as UTF-8 with replacement characters where the bytes are none.
constexpr int CommandRole = Qt::UserRole;

} // namespace

TApplications::TApplications(TExecFile& launcher, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TApplications>()),
      ExecFile1(launcher)
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->ListBox1->setItemDelegate(new FixedHeightItems(ui->ListBox1));
    ui->ListBox1->setUniformItemSizes(true);
    // Double-clicks anywhere in the list, its blank area included.
    ui->ListBox1->viewport()->installEventFilter(this);
    connect(ui->Button1, &QPushButton::clicked, this, &TApplications::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TApplications::Button2Click);
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

bool TApplications::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->ListBox1->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            ListBox1DblClick();
            return true;
        }
        // A press on the blank area leaves the selection as it is.
        if (event->type() == QEvent::MouseButtonPress &&
            !ui->ListBox1->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TApplications::FormShow()
{
    ui->ListBox1->clear();
    for (const std::string& entry : ChooserEntries(Settings)) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry), ui->ListBox1);
        item->setData(CommandRole, QByteArray::fromStdString(entry));
    }
    if (ui->ListBox1->count() > 0)
        ui->ListBox1->setCurrentRow(0);
    // The program runs in the background; the chooser must take the input.
    activateWindow();
}

void TApplications::Button1Click()
{
    const QList<QListWidgetItem*> selected = ui->ListBox1->selectedItems();
    // With nothing selected there is nothing to start; the chooser stays open.
    if (selected.isEmpty())
        return;
    const std::string command = selected.constFirst()->data(CommandRole).toByteArray().toStdString();
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
