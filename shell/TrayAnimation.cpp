#include "shell/TrayAnimation.h"

int NextAnimationFrame(int frame, bool animationOn)
{
    if (!animationOn)
        return frame;
    return frame >= LastAnimationFrame ? FirstAnimationFrame : frame + 1;
}

std::string AnimationIconName(int frame) { return "ICON_" + std::to_string(frame); }
