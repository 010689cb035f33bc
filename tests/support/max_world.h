// A world at every capacity of the world model, for load tests and benchmarks:
// 29 verbs of 10 slot words, 50 scenes of 99 objects and 99 actions (each list
// with its closing entry), every text at its longest and every list at its
// fullest.
#pragma once

#include <string>

struct WorldFiles {
    std::string verbs;   // verbs.dat, CP866 bytes
    std::string scenes;  // scenes.dat, CP866 bytes
};

// The same bytes on every call.
WorldFiles maximalWorld();
