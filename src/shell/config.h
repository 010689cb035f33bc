// The player's or author's choices from mwk.cfg, fixed for the whole run.
#pragma once

constexpr int DefaultReplySize = 200;

struct Settings {
    bool wordWrap;
    bool defaultReplyOn;
    char defaultReply[DefaultReplySize];  // CP866 words, each followed by one space
    bool casualMode;
};

extern Settings settings;

// Reads mwk.cfg from the working directory, sets the settings and defines
// colour pairs 1 to 3. Without the file: casual mode and white, red and green
// on blue. Never fails.
void readConfiguration();
