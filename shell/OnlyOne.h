#pragma once
// The single-instance guard: the first copy of the program leaves a name
// behind it; a later copy that finds the name brings the running copy's
// application window forward and ends itself.

#include "platform/nametable.h"
#include "platform/window.h"

#include <string>

// What the guard needs of the form that owns it and of the application.
class TOnlyOneOwner {
public:
    virtual std::string ApplicationTitle() const = 0;
    // Renames the application window along with the title.
    virtual void SetApplicationTitle(const std::string& title) = 0;
    // Moves the owner form so that its top edge lies at `top` (screen pixels).
    virtual void SetFormTop(int top) = 0;

protected:
    ~TOnlyOneOwner() = default;
};

class TOnlyOne {
public:
    explicit TOnlyOne(TOnlyOneOwner& owner);
    // Removes the name when this copy added it.
    ~TOnlyOne();
    TOnlyOne(const TOnlyOne&) = delete;
    TOnlyOne& operator=(const TOnlyOne&) = delete;

    // The owner calls this once it has loaded its components, before its own
    // create handler reads the application title.
    void Loaded();

    bool IsFirstCopy() const { return FirstCopy; }

    // The guard acts only while this is true.
    bool EnforceOnlyOne = true;

private:
    void CheckRunningCopy();
    void GiveWayToRunningCopy();

    TOnlyOneOwner& Owner;
    bool FirstCopy = false;
    platform::WindowHandle RunningWindow = platform::NoWindow;
    platform::Atom InstanceAtom = platform::NoAtom;
    std::string AtomName;
};

// "OnlyOne" followed by the first 20 characters of `title`.
std::string OnlyOneAtomName(const std::string& title);
