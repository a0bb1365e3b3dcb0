#include "platform/double/window_picker_double.h"

#include <utility>

namespace platform {
namespace {
struct FakePicker {
    std::vector<std::string> classes;
    bool available = true;
    WindowPicked picked;
};
FakePicker picker;
} // namespace

std::vector<std::string> OpenWindowClasses() { return picker.classes; }

bool PickWindowClass(WindowPicked picked)
{
    if (!picker.available)
        return false;
    fake::FinishWindowPick(std::nullopt);
    picker.picked = std::move(picked);
    return true;
}

void CancelWindowPick() { picker.picked = nullptr; }

namespace fake {

void SetOpenWindowClasses(std::vector<std::string> classes) { picker.classes = std::move(classes); }
void SetWindowPickAvailable(bool available) { picker.available = available; }
bool WindowPickPending() { return static_cast<bool>(picker.picked); }

void FinishWindowPick(std::optional<std::string> picked)
{
    if (!picker.picked)
        return;
    const WindowPicked report = std::exchange(picker.picked, nullptr);
    report(std::move(picked));
}

void ResetWindowPicker() { picker = FakePicker{}; }

} // namespace fake
} // namespace platform
