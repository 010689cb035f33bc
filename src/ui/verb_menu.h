// The casual-mode verb menu on the two bottom rows.
#pragma once

// The highlighted verb, 0 to 18; kept from line to line and game to game.
extern int selectedVerb;

constexpr int LastSelectableVerb = 18;

// Draws every verb name into the MenuWindow, the selected one in the system
// colour, and refreshes it.
void drawVerbMenu();
