#include "shell/exit_question.h"

#include "platform/application.h"

#include <QMessageBox>

bool AskToExit(QWidget* owner)
{
    QMessageBox question(QMessageBox::Question, QStringLiteral("Exit"),
                         QStringLiteral("Are you sure you want to exit Quorzane?"), QMessageBox::Yes | QMessageBox::No,
                         owner);
    // Only the owner waits for the answer: the tray icon and its menu stay
    // alive, so the question may be asked again while it is open.
    question.setWindowModality(Qt::WindowModal);
    if (question.exec() != QMessageBox::Yes)
        return false;
    platform::PostQuitMessage(0);
    return true;
}
