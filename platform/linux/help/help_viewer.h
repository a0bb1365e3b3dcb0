#pragma once
// The help viewer: a small window that shows the program's help file, an
// HTML document with one anchor per context number, at one topic.

#include <QString>
#include <QWidget>

#include <cstdint>

class QTextBrowser;

namespace platform::help {

class THelpViewer : public QWidget {
    Q_OBJECT

public:
    THelpViewer();

    // Shows `helpFile` scrolled to the anchor of `context` (at the top when
    // it has none) and brings the viewer to the front. A file that cannot be
    // read is reported to the user in a message and gives false; the
    // viewer then stays as it was.
    bool ShowTopic(const QString& helpFile, std::uint32_t context);

    QTextBrowser& Browser() const { return *browser; }

private:
    void ReportUnreadable(const QString& helpFile, const QString& reason);
    void TakeTitleFromDocument();

    QTextBrowser* browser;
};

} // namespace platform::help
