#pragma once
// The KWin script through which the program follows the pointer in a Plasma
// Wayland session: loaded into the KWin on the session bus for as long as an
// instance lives.

#include <QString>

#include <memory>

namespace platform {

class KWinScript {
public:
    // The name under which KWin knows the script; one copy at a time.
    static constexpr char PluginName[] = "quorzane-pointer";

    // Loads the script file at scriptPath into KWin and runs it. A copy left
    // loaded by an earlier start that ended without unloading it is unloaded
    // first. Returns nullptr when KWin is not on the session bus (error stays
    // empty: no Plasma session) or when KWin refuses the script (error says
    // why, in one line). Each bus call gives up after two seconds.
    static std::unique_ptr<KWinScript> Load(const QString& scriptPath, QString& error);

    // Unloads the script.
    ~KWinScript();

    KWinScript(const KWinScript&) = delete;
    KWinScript& operator=(const KWinScript&) = delete;

    // KWin's number for the loaded script.
    int Id() const { return id_; }

    // Whether KWin still has the script: the user may unload it, and KWin
    // says nothing then. True when KWin does not answer (it may be busy; a
    // KWin that left the bus is noticed apart).
    bool Loaded() const;

private:
    explicit KWinScript(int id);

    int id_;
};

} // namespace platform
