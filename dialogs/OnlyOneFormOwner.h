#pragma once
// Connects the single-instance guard to the form that owns it: the title is
// the application window's, the form is the owner's widget.

#include "shell/OnlyOne.h"

class QWidget;

class TOnlyOneFormOwner final : public TOnlyOneOwner {
public:
    explicit TOnlyOneFormOwner(QWidget& form);

    std::string ApplicationTitle() const override;
    void SetApplicationTitle(const std::string& title) override;
    void SetFormTop(int top) override;

private:
    QWidget& Form;
};
