#include "shell/PopupMenu.h"

namespace {

std::uint32_t AlignmentFlag(TPopupAlignment alignment)
{
    switch (alignment) {
    case TPopupAlignment::paRight:
        return platform::TpmRightAlign;
    case TPopupAlignment::paCenter:
        return platform::TpmCenterAlign;
    case TPopupAlignment::paLeft:
        break;
    }
    return platform::TpmLeftAlign;
}

} // namespace

void TPopupMenu::Popup(std::int32_t X, std::int32_t Y) const
{
    platform::TrackPopupMenu(Handle, AlignmentFlag(Alignment) | platform::TpmRightButton, X, Y);
}
