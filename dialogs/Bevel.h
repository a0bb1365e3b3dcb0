#pragma once
// A bevel drawn as a sunken line along the bottom edge of its rectangle, to
// separate a dialog's text from its buttons.

#include <QWidget>

class TBevel : public QWidget {
    Q_OBJECT

public:
    explicit TBevel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
