#include "shell/error_report.h"

#include "platform/window.h"

#include <QMessageBox>

void ShowErrorReport(const std::exception& error, QWidget* parent)
{
    QMessageBox report(QMessageBox::Critical, QString::fromStdString(platform::GetApplicationWindowText()),
                       QString::fromStdString(error.what()) + QLatin1Char('.'), QMessageBox::Ok, parent);
    // Modal to its owner only: the tray icon stays alive.
    report.setWindowModality(Qt::WindowModal);
    report.exec();
}
