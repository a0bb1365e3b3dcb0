#include "platform/linux/help/help_viewer.h"

#include <QFile>
#include <QMessageBox>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace platform::help {
namespace {

constexpr int ViewerWidth = 480;
constexpr int ViewerHeight = 420;
constexpr char DefaultTitle[] = "Help";
constexpr int TextMargin = 8;

} // namespace

THelpViewer::THelpViewer() : browser(new QTextBrowser(this))
{
    setWindowTitle(DefaultTitle);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    browser->setOpenExternalLinks(true);
    browser->document()->setDocumentMargin(TextMargin);
    resize(ViewerWidth, ViewerHeight);
}

bool THelpViewer::ShowTopic(const QString& helpFile, std::uint32_t context)
{
    // The file is read afresh each time: it may have been replaced meanwhile.
    QFile file(helpFile);
    QByteArray html;
    if (file.open(QIODevice::ReadOnly))
        html = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ReportUnreadable(helpFile, file.errorString());
        return false;
    }
    QStringDecoder decoder = QStringDecoder::decoderForHtml(html);
    browser->setHtml(decoder.isValid() ? decoder.decode(html) : QString::fromUtf8(html));
    browser->clearHistory();
    TakeTitleFromDocument();
    show();
    raise();
    activateWindow();
    // Links between topics are anchors within the document, so the browser
    // finds them without knowing the file.
    browser->scrollToAnchor(QString::number(context));
    return true;
}

void THelpViewer::ReportUnreadable(const QString& helpFile, const QString& reason)
{
    // Nobody waits for the help: the message goes its own way.
    auto* message = new QMessageBox(QMessageBox::Warning, DefaultTitle,
                                    tr("Cannot open the help file %1:\n%2.").arg(helpFile, reason),
                                    QMessageBox::Ok, this);
    message->setAttribute(Qt::WA_DeleteOnClose);
    // Modal to the viewer only: the tray icon stays alive.
    message->setWindowModality(Qt::WindowModal);
    message->show();
}

void THelpViewer::TakeTitleFromDocument()
{
    const QString title = browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QString(DefaultTitle) : title);
}

} // namespace platform::help
