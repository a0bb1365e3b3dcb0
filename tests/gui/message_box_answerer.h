#pragma once
// Answers every message box that comes up while it lives, as a user would,
// and keeps what each one said. A box that holds up the whole application
// fails the test: the tray icon must stay alive while any box is open.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

class TMessageBoxAnswerer {
public:
    // Presses `answer`, or the only button of a box that lacks it.
    explicit TMessageBoxAnswerer(QMessageBox::StandardButton answer) : Answer(answer)
    {
        Poll.setInterval(5);
        QObject::connect(&Poll, &QTimer::timeout, [this] { AnswerOpenBox(); });
        Poll.start();
    }

    struct TBox {
        QString caption;
        QString text;
        QMessageBox::Icon icon;
    };
    std::vector<TBox> Boxes;

private:
    void AnswerOpenBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        Boxes.push_back({box->windowTitle(), box->text(), box->icon()});
        EXPECT_NE(box->windowModality(), Qt::ApplicationModal) << box->text().toStdString();
        QAbstractButton* button = box->button(Answer);
        if (!button)
            button = box->buttons().value(0);
        button->click();
    }

    QMessageBox::StandardButton Answer;
    QTimer Poll;
};
