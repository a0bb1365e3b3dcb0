#include "platform/linux/session/session_xsmp.h"

#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace platform {
namespace {

// libICE's own handlers end the process on a broken connection or a
// protocol error; a lost session manager must not end the program.
void ReportUnreadableMessage()
{
    std::fputs("Quorzane: the session manager sent a message that could not be read\n", stderr);
}
void ReportIceError(IceConn, Bool, int, unsigned long, int, int, IcePointer) { ReportUnreadableMessage(); }
void ReportSmcError(SmcConn, Bool, int, unsigned long, int, int, SmPointer) { ReportUnreadableMessage(); }
void IgnoreIoError(IceConn) {}

std::string UserName()
{
    if (const passwd* entry = getpwuid(getuid()))
        return entry->pw_name;
    return std::to_string(getuid());
}

SmPropValue ValueOf(std::string& text) { return {static_cast<int>(text.size()), text.data()}; }

class SessionClient : public QObject {
public:
    SessionClient(TerminationHandlers handlers, QObject& owner) : QObject(&owner), handlers_(std::move(handlers)) {}
    ~SessionClient() override { Close(); }
    SessionClient(const SessionClient&) = delete;
    SessionClient& operator=(const SessionClient&) = delete;

    bool Connect();

private:
    static void OnSaveYourself(SmcConn, SmPointer client, int, Bool shutdown, int interactStyle, Bool)
    {
        static_cast<SessionClient*>(client)->SaveYourself(shutdown, interactStyle);
    }
    static void OnInteract(SmcConn, SmPointer client) { static_cast<SessionClient*>(client)->TurnGiven(); }
    static void OnDie(SmcConn, SmPointer client) { static_cast<SessionClient*>(client)->Die(); }
    static void OnSaveComplete(SmcConn, SmPointer) {}
    static void OnShutdownCancelled(SmcConn, SmPointer client) { static_cast<SessionClient*>(client)->Cancelled(); }

    void SaveYourself(bool shutdown, int interactStyle);
    void TurnGiven();
    void Ask();
    void Cancelled();
    void Die();
    void FinishSave();
    void ReadMessages();
    void SetProperties();
    void Close();

    // Where the manager's latest save stands: until its SaveYourselfDone
    // the manager counts the program busy, and a logout waits on it.
    enum class Save { None, AwaitingTurn, Asking };

    TerminationHandlers handlers_;
    SmcConn connection_ = nullptr;
    std::unique_ptr<QSocketNotifier> notifier_;
    Save save_ = Save::None;
};

bool SessionClient::Connect()
{
    SmcCallbacks callbacks{};
    callbacks.save_yourself = {OnSaveYourself, this};
    callbacks.die = {OnDie, this};
    callbacks.save_complete = {OnSaveComplete, this};
    callbacks.shutdown_cancelled = {OnShutdownCancelled, this};
    const unsigned long mask =
        SmcSaveYourselfProcMask | SmcDieProcMask | SmcSaveCompleteProcMask | SmcShutdownCancelledProcMask;
    char* clientId = nullptr;
    std::array<char, 256> error{};
    connection_ = SmcOpenConnection(nullptr, this, SmProtoMajor, SmProtoMinor, mask, &callbacks, nullptr, &clientId,
                                    static_cast<int>(error.size()), error.data());
    std::free(clientId);
    if (!connection_) {
        std::fprintf(stderr, "Quorzane: the session manager cannot be reached: %s\n", error.data());
        return false;
    }
    SetProperties();
    const int socket = IceConnectionNumber(SmcGetIceConnection(connection_));
    notifier_ = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { ReadMessages(); });
    return true;
}

// What the manager needs to list the program; it is never restarted by the
// manager, since the autostart entry starts it with every session.
void SessionClient::SetProperties()
{
    std::string program = QCoreApplication::applicationFilePath().toStdString();
    std::string user = UserName();
    std::string processId = std::to_string(getpid());
    std::string restartStyle(1, static_cast<char>(SmRestartNever));
    SmPropValue programValue = ValueOf(program);
    SmPropValue userValue = ValueOf(user);
    SmPropValue processIdValue = ValueOf(processId);
    SmPropValue restartStyleValue = ValueOf(restartStyle);
    const auto property = [](const char* name, const char* type, SmPropValue& value) {
        return SmProp{const_cast<char*>(name), const_cast<char*>(type), 1, &value};
    };
    std::array properties = {
        property(SmProgram, SmARRAY8, programValue),
        property(SmRestartCommand, SmLISTofARRAY8, programValue),
        property(SmCloneCommand, SmLISTofARRAY8, programValue),
        property(SmUserID, SmARRAY8, userValue),
        property(SmProcessID, SmARRAY8, processIdValue),
        property(SmRestartStyleHint, SmCARD8, restartStyleValue),
    };
    std::array<SmProp*, properties.size()> list{};
    for (std::size_t i = 0; i < properties.size(); ++i)
        list[i] = &properties[i];
    SmcSetProperties(connection_, static_cast<int>(list.size()), list.data());
}

void SessionClient::SaveYourself(bool shutdown, int interactStyle)
{
    // At the end of the session the user may be asked, once the manager
    // gives the turn; a checkpoint only saves.
    const bool mayAsk = shutdown && interactStyle == SmInteractStyleAny;
    // A manager that asks again while a save is open takes one answer for
    // both: the open save goes on where the user is or may be asked, and
    // ends now where the new request allows no question.
    if (save_ == Save::Asking || (save_ == Save::AwaitingTurn && mayAsk))
        return;
    if (save_ == Save::None && mayAsk && SmcInteractRequest(connection_, SmDialogNormal, OnInteract, this)) {
        save_ = Save::AwaitingTurn;
        return;
    }
    FinishSave();
}

void SessionClient::TurnGiven()
{
    // A turn that no save waits for any more is handed straight back.
    if (save_ != Save::AwaitingTurn) {
        SmcInteractDone(connection_, False);
        return;
    }
    save_ = Save::Asking;
    // The question opens a loop of its own: asked from the message loop,
    // not from inside libICE's reading.
    QMetaObject::invokeMethod(this, [this] { Ask(); }, Qt::QueuedConnection);
}

void SessionClient::Ask()
{
    if (save_ != Save::Asking)
        return;
    const bool mayEnd = handlers_.mayEndSession();
    // While the user was asked, the manager may have cancelled or gone:
    // then the answer is nobody's.
    if (!connection_ || save_ != Save::Asking)
        return;
    SmcInteractDone(connection_, mayEnd ? False : True);
    FinishSave();
}

// The program kept running through the cancelled end; a save still open
// is completed, or the manager would wait for it at the next logout.
void SessionClient::Cancelled()
{
    if (save_ != Save::None)
        FinishSave();
}

// The manager wants nothing more of this session, not even an open save:
// the program ends, saving on its way out.
void SessionClient::Die()
{
    save_ = Save::None;
    handlers_.endWithoutAsking();
}

void SessionClient::FinishSave()
{
    save_ = Save::None;
    handlers_.saveNow();
    SmcSaveYourselfDone(connection_, True);
}

void SessionClient::ReadMessages()
{
    if (IceProcessMessages(SmcGetIceConnection(connection_), nullptr, nullptr) == IceProcessMessagesIOError) {
        std::fputs("Quorzane: the session manager has gone; running on without it\n", stderr);
        Close();
    }
}

void SessionClient::Close()
{
    notifier_.reset();
    if (connection_)
        SmcCloseConnection(connection_, 0, nullptr);
    connection_ = nullptr;
}

} // namespace

void StartSessionClient(const TerminationHandlers& handlers, QObject& owner)
{
    const char* manager = std::getenv("SESSION_MANAGER");
    if (!manager || !*manager)
        return;
    IceSetIOErrorHandler(IgnoreIoError);
    IceSetErrorHandler(ReportIceError);
    SmcSetErrorHandler(ReportSmcError);
    // Owned by `owner` once connected.
    auto client = std::make_unique<SessionClient>(handlers, owner);
    if (client->Connect())
        static_cast<void>(client.release());
}

} // namespace platform
