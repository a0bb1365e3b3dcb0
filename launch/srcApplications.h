#pragma once
// The application chooser: lists every configured command and starts the
// one the user picks.

#include <QDialog>

#include <memory>

class TExecFile;
namespace Ui {
class TApplications;
}

class TApplications : public QDialog {
    Q_OBJECT

public:
    TApplications(TExecFile& launcher, QWidget* parent = nullptr);
    ~TApplications() override;

    // Makes the chooser visible and brings it to the front; the list is
    // rebuilt only when it was hidden.
    void ShowModeless();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void ListBox1DblClick();

    std::unique_ptr<Ui::TApplications> ui;
    TExecFile& ExecFile1;
};
