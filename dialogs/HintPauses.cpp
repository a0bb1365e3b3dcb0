#include "dialogs/HintPauses.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

namespace {

constexpr char HintTimingName[] = "HintTiming";

// Qt waits for its style's wake-up delay before it asks a control for its
// hint; the style of the platform is kept for everything else.
class THintStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return HintPause;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Shows each control's own hint with the application's hide pause; Qt's
// default keeps a hint up for ten seconds or more.
class THintTiming final : public QObject {
public:
    explicit THintTiming(QObject* parent) : QObject(parent) { setObjectName(HintTimingName); }

    int HidePause = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* control = static_cast<QWidget*>(watched);
        // A control without a hint of its own leaves the event to its parent.
        if (control->toolTip().isEmpty())
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), control->toolTip(), control, QRect(), HidePause);
        return true;
    }
};

} // namespace

void SetHintHidePause(int milliseconds)
{
    auto* application = qApp;
    auto* timing =
        static_cast<THintTiming*>(application->findChild<QObject*>(HintTimingName, Qt::FindDirectChildrenOnly));
    if (!timing) {
        // Both are owned by the application from here on.
        timing = new THintTiming(application);
        application->installEventFilter(timing);
        QApplication::setStyle(new THintStyle(QApplication::style()->name()));
    }
    timing->HidePause = milliseconds;
}
