#include "dialogs/srcAboutForm.h"

#include "dialogs/FormFont.h"
#include "dialogs/ScreenCentre.h"
#include "platform/window.h"
#include "ui_srcAboutForm.h"

#include <QShowEvent>

// The icons are compiled into a static library of their own; naming the
// bundle here links it in.
static void LinkIconResources() { Q_INIT_RESOURCE(resources); }

namespace {

constexpr int NameFontPixels = 16;

} // namespace

std::string VersionLine(const std::string& title)
{
    const std::size_t v = title.find('v');
    const std::string version = v == std::string::npos ? title : title.substr(v + 1);
    return "Version " + version + " for Windows 95 and Windows NT";
}

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TAboutForm>())
{
    LinkIconResources();
    ui->setupUi(this);
    ApplyFormFont(*this);
    setFixedSize(size());
    // Shown with exec(), modal to its owner only: the tray icon stays alive.
    setWindowModality(Qt::WindowModal);

    QFont nameFont = font();
    nameFont.setPixelSize(NameFontPixels);
    nameFont.setBold(true);
    ui->Label1->setFont(nameFont);
    QPalette name = ui->Label1->palette();
    name.setColor(QPalette::WindowText, Qt::black);
    ui->Label1->setPalette(name);
    if (const QPixmap icon = ui->Image1->pixmap(); !icon.isNull())
        ui->Image1->resize(icon.size());

    connect(ui->Button1, &QPushButton::clicked, this, &TAboutForm::Button1Click);
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (!shownBefore)
            CentreOnScreen(*this);
        shownBefore = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

// Text is measured here, not when the form is made at start-up: measuring
// loads the fonts, which a program resting in the tray does not need.
void TAboutForm::FormShow()
{
    ui->Label3->setText(QString::fromStdString(VersionLine(platform::GetApplicationWindowText())));
    ApplyFormFont(*this, {ui->Label2, ui->Label3});
}

void TAboutForm::Button1Click() { accept(); }
