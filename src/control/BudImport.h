#pragma once

#include <string>

// Gives the flower head the controller targets a bud modelled by hand: a copy of the
// stored flower head `budId`, which must have the same slots filled alike. From then
// on the head opens from that bud (see ModelledBud). One undo step through the commit
// point; false with `message` said for the user when it cannot, and nothing changes.
bool importModelledBud(int budId, std::string& message);

// Takes the modelled bud from the targeted flower head, which then opens from the bud
// worked out from its own organs again; one undo step. False when it had none.
bool forgetModelledBud();
