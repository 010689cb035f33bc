// The verb table's file, verbs.dat.
#pragma once

#include "world/tokens.h"
#include "world/world.h"

enum VerbReadResult : int {
    NoVerbRead = 0,  // no file, no verb at that position, or the verb ended the file
    VerbRead = 1,    // the verb was read and the file goes on
};

// Reads the verb at position verb.index of verbs.dat into `verb`. While the
// caller asks for the next index after a result of 1, the file stays open and
// is read on from where the last verb ended.
VerbReadResult readVerb(Verb& verb);

// Reads the verb that begins at the reader's position (right after its "&")
// into `verb`, its index kept and every other field cleared first. A file that
// ends inside the verb, or a malformed number, gives NoVerbRead with the verb
// filled as far as it was read; `slotCount` counts the slot words read. More
// than 10 slot words are cut to 10, and a negative count reads none; name
// forms outside 0 to 3 are held at 0 or 3.
VerbReadResult readVerbFrom(TokenReader& reader, Verb& verb);

// Fills the verb table from position 0 while readVerb reports another verb;
// verbCount counts every call, the last one included. A full table (30
// records) ends the loading even if the file holds more verbs.
void loadVerbs();
