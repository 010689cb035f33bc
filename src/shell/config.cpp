#include "shell/config.h"

Settings settings;

void readConfiguration() {
    settings.casualMode = true;
}
