// A message window is a hidden QObject owned by the application object.
// Posted messages travel as Qt events: they reach the handler from the event
// loop (nested ones included), in the order of posting, and are dropped with
// the window. A handle is the object's address, used only after it has been
// found among the live windows.

#include "platform/linux/messages/messagewindow_qt.h"

#include <QCoreApplication>
#include <QEvent>

namespace platform::message_windows {
namespace {

constexpr QEvent::Type MessageEventType = QEvent::User;

class MessageEvent final : public QEvent {
public:
    MessageEvent(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(MessageEventType)
        , message{msg, wParam, lParam, 0}
    {
    }

    TMessage message;
};

class MessageWindow final : public QObject {
public:
    MessageWindow(MessageHandler handler, QObject* parent)
        : QObject(parent)
        , handler_(std::move(handler))
    {
    }

    WindowHandle Handle() const { return reinterpret_cast<WindowHandle>(this); }

    // A window whose handler is running (it may be destroying itself) goes
    // once the handler has returned; it is unreachable from now on.
    void Destroy()
    {
        QCoreApplication::removePostedEvents(this, MessageEventType);
        handler_ = nullptr;
        setParent(nullptr);
        if (dispatching_ > 0)
            deleteLater();
        else
            delete this;
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != MessageEventType)
            return QObject::event(event);
        if (handler_) {
            // A copy: the handler may destroy this window and its own original.
            const MessageHandler handler = handler_;
            ++dispatching_;
            handler(static_cast<MessageEvent*>(event)->message);
            --dispatching_;
        }
        return true;
    }

private:
    MessageHandler handler_;
    int dispatching_ = 0;
};

MessageWindow* FindMessageWindow(WindowHandle window)
{
    if (window == 0 || !QCoreApplication::instance())
        return nullptr;
    for (QObject* child : QCoreApplication::instance()->children()) {
        if (reinterpret_cast<WindowHandle>(child) == window)
            return dynamic_cast<MessageWindow*>(child);
    }
    return nullptr;
}

} // namespace

QObject* Find(WindowHandle window) { return FindMessageWindow(window); }

} // namespace platform::message_windows

namespace platform {

WindowHandle AllocateHWnd(MessageHandler handler)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return 0;
    return (new message_windows::MessageWindow(std::move(handler), application))->Handle();
}

void DeallocateHWnd(WindowHandle window)
{
    if (message_windows::MessageWindow* found = message_windows::FindMessageWindow(window))
        found->Destroy();
}

bool PostMessageA(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    QObject* target = message_windows::Find(window);
    if (!target)
        return false;
    // The event queue owns the event from here on.
    QCoreApplication::postEvent(target, new message_windows::MessageEvent(msg, wParam, lParam));
    return true;
}

// These windows have no frame, paint or input of their own to fall back on.
std::intptr_t DefWindowProcA(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }

} // namespace platform
