#include "ui/input_line.h"

#include <cstring>

void clearInputWords(InputWords& input) {
    std::memset(&input, 0, sizeof input);
}

int mapKey(int) {
    return 0;
}

int readInputLine(InputWords&, int, WINDOW*) {
    return 1;
}
