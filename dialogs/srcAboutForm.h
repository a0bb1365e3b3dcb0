#pragma once
// The About dialog: the program's name and icon, a version line taken from
// the application title each time it is shown, and the maker's notice.

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class TAboutForm;
}

class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);
    ~TAboutForm() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void Button1Click();

    std::unique_ptr<Ui::TAboutForm> ui;
    bool shownBefore = false;
};

// "Version " + what follows the title's first lower-case "v" (the whole
// title when it has none) + " for Windows 95 and Windows NT".
std::string VersionLine(const std::string& title);
