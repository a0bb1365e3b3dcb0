#include "shell/OnlyOne.h"

#include "platform/application.h"
#include "platform/cursor.h"

namespace {

constexpr std::size_t TitleCharactersInName = 20;
// The title a copy gives itself while it searches, so as not to find itself.
constexpr char SearchingTitle[] = "destroy me";

// The first `count` characters of UTF-8 `text`, never splitting one.
std::string FirstCharacters(const std::string& text, std::size_t count)
{
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size(); ++end) {
        const bool startsCharacter = (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == count)
            break;
    }
    return text.substr(0, end);
}

} // namespace

std::string OnlyOneAtomName(const std::string& title)
{
    return "OnlyOne" + FirstCharacters(title, TitleCharactersInName);
}

TOnlyOne::TOnlyOne(TOnlyOneOwner& owner) : Owner(owner) {}

TOnlyOne::~TOnlyOne()
{
    // Only the copy that added the name removes it: a copy that found it
    // leaves it to the running copy, whatever became of EnforceOnlyOne.
    if (FirstCopy)
        platform::GlobalDeleteAtom(InstanceAtom);
}

void TOnlyOne::Loaded()
{
    if (!EnforceOnlyOne)
        return;
    CheckRunningCopy();
    if (!FirstCopy)
        GiveWayToRunningCopy();
}

void TOnlyOne::CheckRunningCopy()
{
    FirstCopy = true;
    AtomName = OnlyOneAtomName(Owner.ApplicationTitle());
    // Looking up and adding are one step, so that two copies started at the
    // same moment cannot both become the first.
    const platform::AtomLookUp lookUp = platform::GlobalFindOrAddAtom(AtomName);
    InstanceAtom = lookUp.atom;
    if (lookUp.added || InstanceAtom == platform::NoAtom)
        return;

    // Another copy holds the name: this copy ends, also when it cannot find
    // that copy's window at this instant (the other may not have published
    // it yet). Taking over a name that a live copy holds is how two copies
    // would come to run side by side.
    FirstCopy = false;
    const std::string title = Owner.ApplicationTitle();
    Owner.SetApplicationTitle(SearchingTitle);
    RunningWindow = platform::FindWindow(platform::ApplicationWindowClass, title);
    platform::PostQuitMessage(0);
}

void TOnlyOne::GiveWayToRunningCopy()
{
    Owner.SetFormTop(platform::GetSystemMetrics(platform::SystemMetric::ScreenHeight) + 1);
    if (RunningWindow == platform::NoWindow)
        return;
    if (platform::IsIconic(RunningWindow))
        platform::ShowWindow(RunningWindow, platform::ShowCommand::Restore);
    else
        platform::BringWindowToTop(RunningWindow);
}
