// A small X session manager for the end-to-end tests, on the manager's side
// of libSM: it prints its SESSION_MANAGER address, takes one client, and
// reads commands from standard input, one per line:
//   checkpoint      save-yourself without shutdown, then save-complete
//   logout          save-yourself with shutdown (no interaction), then die
//   logout-cancel   save-yourself with shutdown, interaction allowed; once
//                   the client has saved, the shutdown is cancelled
//   cancel-at-request, die-at-request, resave-at-request
//                   save-yourself with shutdown, interaction allowed; the
//                   client's interaction request is answered with a
//                   cancel, with die, or with a second save-yourself (a
//                   checkpoint) instead of its turn
//   vanish          the manager ends at once, without a word to the client
// What the client does is printed as one line each: registered,
// properties N, interact-request, interact-done cancel=B, save-done
// success=B, closed, connection-lost.

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

enum class Command { None, Checkpoint, Logout, LogoutCancel, CancelAtRequest, DieAtRequest, ResaveAtRequest };

struct Manager {
    SmsConn client = nullptr;
    IceConn connection = nullptr;
    Command running = Command::None;
};

Manager manager;

void Say(const std::string& line)
{
    std::cout << line << std::endl;
}

Status RegisterClient(SmsConn connection, SmPointer, char* previousId)
{
    std::free(previousId);
    char* id = SmsGenerateClientID(connection);
    SmsRegisterClientReply(connection, id);
    std::free(id);
    Say("registered");
    return 1;
}

void InteractRequest(SmsConn connection, SmPointer, int)
{
    Say("interact-request");
    const Command running = manager.running;
    manager.running = Command::None;
    switch (running) {
    case Command::CancelAtRequest:
        SmsShutdownCancelled(connection);
        Say("cancelled");
        break;
    case Command::DieAtRequest:
        SmsDie(connection);
        break;
    case Command::ResaveAtRequest:
        manager.running = Command::Checkpoint;
        SmsSaveYourself(connection, SmSaveLocal, False, SmInteractStyleNone, False);
        break;
    default:
        manager.running = running;
        SmsInteract(connection);
    }
}

void InteractDone(SmsConn, SmPointer, Bool cancelShutdown)
{
    Say(std::string("interact-done cancel=") + (cancelShutdown ? "1" : "0"));
}

void SaveYourselfDone(SmsConn connection, SmPointer, Bool success)
{
    Say(std::string("save-done success=") + (success ? "1" : "0"));
    switch (manager.running) {
    case Command::Checkpoint:
        SmsSaveComplete(connection);
        break;
    case Command::Logout:
        SmsDie(connection);
        break;
    case Command::LogoutCancel:
        SmsShutdownCancelled(connection);
        Say("cancelled");
        break;
    default:
        break;
    }
    manager.running = Command::None;
}

void SetProperties(SmsConn, SmPointer, int count, SmProp** properties)
{
    for (int i = 0; i < count; ++i)
        SmFreeProperty(properties[i]);
    std::free(properties);
    Say("properties " + std::to_string(count));
}

void CloseClient()
{
    if (manager.connection)
        IceCloseConnection(manager.connection);
    if (manager.client)
        SmsCleanUp(manager.client);
    manager = {};
}

void CloseConnection(SmsConn, SmPointer, int count, char** reasons)
{
    SmFreeReasons(count, reasons);
    Say("closed");
    CloseClient();
}

void SaveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void SaveYourselfPhase2Request(SmsConn, SmPointer) {}
void DeleteProperties(SmsConn, SmPointer, int count, char** names)
{
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}
void GetProperties(SmsConn connection, SmPointer) { SmsReturnProperties(connection, 0, nullptr); }

Status NewClient(SmsConn connection, SmPointer, unsigned long* mask, SmsCallbacks* callbacks, char**)
{
    manager.client = connection;
    std::memset(callbacks, 0, sizeof *callbacks);
    callbacks->register_client.callback = RegisterClient;
    callbacks->interact_request.callback = InteractRequest;
    callbacks->interact_done.callback = InteractDone;
    callbacks->save_yourself_request.callback = SaveYourselfRequest;
    callbacks->save_yourself_phase2_request.callback = SaveYourselfPhase2Request;
    callbacks->save_yourself_done.callback = SaveYourselfDone;
    callbacks->close_connection.callback = CloseConnection;
    callbacks->set_properties.callback = SetProperties;
    callbacks->delete_properties.callback = DeleteProperties;
    callbacks->get_properties.callback = GetProperties;
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    return 1;
}

// The tests' clients run as the same user on this machine: no authentication.
Bool AcceptAnyHost(char*) { return True; }
void IgnoreIoError(IceConn) {}

// The logouts that let the client ask the user.
const std::map<std::string, Command> InteractiveLogouts = {
    {"logout-cancel", Command::LogoutCancel},
    {"cancel-at-request", Command::CancelAtRequest},
    {"die-at-request", Command::DieAtRequest},
    {"resave-at-request", Command::ResaveAtRequest},
};

void RunCommand(const std::string& command)
{
    if (command == "vanish")
        std::_Exit(0);
    if (!manager.client) {
        Say("no-client");
        return;
    }
    if (command == "checkpoint") {
        manager.running = Command::Checkpoint;
        SmsSaveYourself(manager.client, SmSaveLocal, False, SmInteractStyleNone, False);
    } else if (command == "logout") {
        manager.running = Command::Logout;
        SmsSaveYourself(manager.client, SmSaveBoth, True, SmInteractStyleNone, False);
    } else if (const auto interactive = InteractiveLogouts.find(command); interactive != InteractiveLogouts.end()) {
        manager.running = interactive->second;
        SmsSaveYourself(manager.client, SmSaveBoth, True, SmInteractStyleAny, False);
    } else {
        Say("unknown " + command);
    }
}

} // namespace

int main()
{
    char error[256] = {};
    IceSetIOErrorHandler(IgnoreIoError);
    if (!SmsInitialize("quorzane-tests", "1.0", NewClient, nullptr, AcceptAnyHost, sizeof error, error)) {
        std::cerr << "session manager: " << error << '\n';
        return 1;
    }
    int listenCount = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&listenCount, &listeners, sizeof error, error)) {
        std::cerr << "session manager: " << error << '\n';
        return 1;
    }
    for (int i = 0; i < listenCount; ++i)
        IceSetHostBasedAuthProc(listeners[i], AcceptAnyHost);
    char* address = IceComposeNetworkIdList(listenCount, listeners);
    Say(std::string("SESSION_MANAGER=") + address);
    std::free(address);

    std::string pendingInput;
    for (;;) {
        std::vector<pollfd> watched{{STDIN_FILENO, POLLIN, 0}};
        for (int i = 0; i < listenCount; ++i)
            watched.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        if (manager.connection)
            watched.push_back({IceConnectionNumber(manager.connection), POLLIN, 0});
        if (poll(watched.data(), watched.size(), -1) < 0)
            continue;
        if (watched[0].revents) {
            char buffer[256];
            const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0)
                return 0;
            pendingInput.append(buffer, static_cast<std::size_t>(got));
            for (std::size_t end; (end = pendingInput.find('\n')) != std::string::npos;) {
                RunCommand(pendingInput.substr(0, end));
                pendingInput.erase(0, end + 1);
            }
        }
        for (int i = 0; i < listenCount; ++i) {
            if (!watched[1 + i].revents || manager.connection)
                continue;
            IceAcceptStatus status;
            manager.connection = IceAcceptConnection(listeners[i], &status);
        }
        if (manager.connection && watched.size() > 1u + listenCount && watched.back().revents &&
            IceProcessMessages(manager.connection, nullptr, nullptr) == IceProcessMessagesIOError) {
            Say("connection-lost");
            CloseClient();
        }
    }
}
