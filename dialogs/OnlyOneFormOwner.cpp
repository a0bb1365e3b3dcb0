#include "dialogs/OnlyOneFormOwner.h"

#include "platform/window.h"

#include <QWidget>

TOnlyOneFormOwner::TOnlyOneFormOwner(QWidget& form) : Form(form) {}

std::string TOnlyOneFormOwner::ApplicationTitle() const { return platform::GetApplicationWindowText(); }

void TOnlyOneFormOwner::SetApplicationTitle(const std::string& title) { platform::SetApplicationWindowText(title); }

void TOnlyOneFormOwner::SetFormTop(int top) { Form.move(Form.x(), top); }
