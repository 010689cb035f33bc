#include "ui/verb_menu.h"

int selectedVerb = 0;

void drawVerbMenu() {}
