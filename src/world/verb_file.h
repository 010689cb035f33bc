// The verb table's file, verbs.dat.
#pragma once

#include "world/world.h"

enum VerbReadResult : int {
    NoVerbRead = 0,  // no file, no verb at that position, or the verb ended the file
    VerbRead = 1,    // the verb was read and the file goes on
};

// Reads the verb at position verb.index of verbs.dat into `verb`.
VerbReadResult readVerb(Verb& verb);

// Fills the verb table from position 0 while readVerb reports another verb;
// verbCount counts every call, the last one included.
void loadVerbs();
