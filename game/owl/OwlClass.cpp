// The owl's per-tick step (the animation itself is still to come; see the header).
#include "game/owl/OwlClass.h"

namespace Vel {

void OwlClass::Update(int tick, bool clicked)
{
    lastUpdateTick = tick;
    // A click on the balloon shows the whole text at once; the rest of the speech steps (queue,
    // paging) arrive with the owl's speech.
    if (clicked)
        revealed = textLength;
}

} // namespace Vel
