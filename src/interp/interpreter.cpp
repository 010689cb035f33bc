#include "interp/interpreter.h"

#include <cstdio>
#include <cstring>

#include "interp/engine.h"
#include "interp/tables.h"
#include "shell/config.h"
#include "ui/cp866.h"
#include "ui/output.h"
#include "world/saved_game.h"

namespace {

constexpr int HelpLineSize = 1024;
constexpr int ScoreLineSize = 20;
constexpr int ScreenColumns = 80;

// Writes a message at column 0 of the current row in the system colour and
// moves to the next row.
void printMessage(const char* text, int& outputRow, WINDOW* window) {
    setPair(window, SystemPair);
    printAt(text, window, outputRow, 0);
    advanceRow(outputRow, window);
}

// Asks `question` and waits for the answer; true for y.
bool confirm(const char* question, int& outputRow, WINDOW* window) {
    printMessage(question, outputRow, window);
    return waitYesNo(window);
}

// Describes the current scene, when it is one of the loaded scenes.
void describeCurrentScene(int& outputRow, WINDOW* window) {
    const Scene* here = loadedScene(game.currentScene);
    if (here != nullptr) printSceneDescription(*here, window, outputRow);
}

int leaveGame(int& outputRow, WINDOW* window) {
    return confirm("Вы уверены? y/n"_cp, outputRow, window) ? 0 : 1;
}

int lookAround(int& outputRow, WINDOW* window) {
    describeCurrentScene(outputRow, window);
    return 1;
}

int startAgain(int& outputRow, WINDOW* window) {
    if (!confirm("Вы уверены? y/n"_cp, outputRow, window)) return 1;
    restartGame();
    describeCurrentScene(outputRow, window);
    return 1;
}

int saveTheGame(int& outputRow, WINDOW* window) {
    bool saved = saveGame() == 1;
    printMessage(saved ? "Игра сохранена"_cp : "Ошибка при сохранении игры"_cp, outputRow, window);
    return 1;
}

int loadTheGame(int& outputRow, WINDOW* window) {
    setPair(window, SystemPair);
    bool loaded = loadGame() != 0;
    printMessage(loaded ? "Загрузка прошла успешно"_cp : "Ошибка при загрузке игры"_cp, outputRow,
                 window);
    describeCurrentScene(outputRow, window);
    return 1;
}

// How the help line names the object of a "#" slot in name form `form`.
const char* formLabel(int form) {
    switch (form) {
        case 0:
            return "объект"_cp;
        case 1:
            return "объектом"_cp;
        case 2:
            return "объекту"_cp;
        case 3:
            return "объект"_cp;
        default:
            return "???";
    }
}

// Appends the verb and its command pattern to the help line.
void appendVerbPattern(char* line, const Verb& verb) {
    appendCut(line, HelpLineSize, verb.name);
    int placeholder = 0;
    for (int s = 0; s < inUse(verb.slotCount, MaxSlots); ++s) {
        appendCut(line, HelpLineSize, " ");
        const char* slot = verb.slotWords[s];
        if (std::strcmp(slot, "#") != 0) {
            appendCut(line, HelpLineSize, slot);
        } else if (std::strcmp(verb.name, "идти"_cp) == 0) {
            appendCut(line, HelpLineSize, "<север/юг/запад/восток>"_cp);
        } else {
            appendCut(line, HelpLineSize,
                      formLabel(placeholder == 0 ? verb.firstForm : verb.secondForm));
        }
        if (std::strcmp(slot, "#") == 0) ++placeholder;
    }
}

// The verb list, then the score on the row below it.
int showHelp(int& outputRow, WINDOW* window) {
    setPair(window, SystemPair);
    char line[HelpLineSize] = {};
    appendCut(line, HelpLineSize, "Доступные команды интерпретатора: "_cp);
    int listed = inUse(game.verbCount, MaxVerbs) - 1;
    for (int v = 0; v < listed; ++v) {
        appendVerbPattern(line, game.verbs[v]);
        if (v != listed - 1) appendCut(line, HelpLineSize, ", ");
    }
    appendCut(line, HelpLineSize, ".");
    writeWrapped(line, 0, false, false, 0, outputRow, window);
    ++outputRow;
    char scoreLine[ScoreLineSize];
    std::snprintf(scoreLine, sizeof scoreLine, "%s%d", "Ваш счет: "_cp, game.score);
    printAt(scoreLine, window, outputRow, 0);
    advanceRow(outputRow, window);
    return 1;
}

// The listed name of the item at `position` of the inventory. Scene 0 holds a
// copy of each carried thing in inventory order, so its record names the item
// even for a thing carried from the start, whose id in scene 0 shifts when an
// earlier one is taken away. Without a copy, the object in its home scene
// names it, and "???" stands for one that is missing there too.
const char* carriedName(int position) {
    const Scene& carried = game.scenes[0];
    if (position < inUse(carried.objnum, MaxObjects)) return carried.objects[position].nameForms[0];
    ItemCode code = game.inventory.items[position];
    const SceneObject* object = objectWithId(code / 100, code % 100);
    return object == nullptr ? "???" : object->nameForms[0];
}

// Lists the carried items on as many rows as they need.
int showInventory(int& outputRow, WINDOW* window) {
    printAt("Ваш инвентарь: "_cp, window, outputRow, 0);
    int column = 15;
    const Inventory& inventory = game.inventory;
    if (inventory.items[0] == 0) {
        printAt("пусто"_cp, window, outputRow, column);
        column += 5;
    }
    for (int i = 0; i < MaxItems && inventory.items[i] != 0; ++i) {
        if (i > 0) {
            printAt(", ", window, outputRow, column);
            column += 2;
        }
        const char* name = carriedName(i);
        setPair(window, HighlightPair);
        printAt(name, window, outputRow, column);
        setPair(window, NormalPair);
        column += static_cast<int>(std::strlen(name));
    }
    printAt(".", window, outputRow, column);
    outputRow += (column + 1) / ScreenColumns + 1;
    return 1;
}

// The built-in commands typed as a single word, in the order they are tried.
struct SingleWordCommand {
    const char* keyword;
    int (*run)(int& outputRow, WINDOW* window);
};

const SingleWordCommand singleWordCommands[] = {
    {"выход"_cp, leaveGame},         {"осмотреться"_cp, lookAround},  {"сначала"_cp, startAgain},
    {"сохраниться"_cp, saveTheGame}, {"загрузиться"_cp, loadTheGame}, {"помощь"_cp, showHelp},
    {"инвентарь"_cp, showInventory},
};

// Describes the first object, of the current scene and then of scene 0, whose
// accusative word 1 abbreviates; false when there is none.
bool examineObject(const InputWords& input, int& outputRow, WINDOW* window) {
    const Scene* places[] = {loadedScene(game.currentScene), &game.scenes[0]};
    for (const Scene* scene : places) {
        if (scene == nullptr) continue;
        for (int o = 0; o < inUse(scene->objnum, MaxObjects); ++o) {
            if (!isAbbreviationOf(input.words[1], scene->objects[o].nameForms[3])) continue;
            printObjectDescription(scene->objects[o], window, outputRow);
            return true;
        }
    }
    return false;
}

// The scene the exit leads to when it names a loaded scene; -1 otherwise.
int exitTarget(int exit) {
    return loadedScene(exit) == nullptr ? -1 : exit;
}

// Moves through the first exit of the current scene that word 2 names.
int goDirection(const InputWords& input, int& outputRow, WINDOW* window) {
    const Scene* here = loadedScene(game.currentScene);
    const struct {
        const char* name;
        int exit;
    } directions[] = {{"восток"_cp, here ? here->exitEast : -1},
                      {"запад"_cp, here ? here->exitWest : -1},
                      {"север"_cp, here ? here->exitNorth : -1},
                      {"юг"_cp, here ? here->exitSouth : -1}};
    for (const auto& direction : directions) {
        if (!isAbbreviationOf(input.words[2], direction.name)) continue;
        if (exitTarget(direction.exit) < 0) continue;
        game.currentScene = direction.exit;
        setPair(window, SystemPair);
        printAt("Вы успешно перешли на локацию "_cp, window, outputRow, 0);
        printAt(game.scenes[direction.exit].name, window, outputRow, 30);
        advanceRow(outputRow, window);
        return 1;
    }
    printMessage("Туда пройти нельзя."_cp, outputRow, window);
    return 1;
}

// The reply to the results of the two lookups, when they ask for one; null
// when the lookups have said all there is.
const char* replyTo(ActionResult first, ActionResult second) {
    if (first == ConditionsUnmet || second == ConditionsUnmet)
        return "Похоже, что перед этим надо что-то сделать."_cp;
    if ((first == AlreadyDone && second == NoMatch) || (first == NoMatch && second == AlreadyDone))
        return "В данный момент это сделать невозможно."_cp;
    if (first == NoMatch && second == NoMatch && settings.defaultReplyOn)
        return settings.defaultReply;
    return nullptr;
}

// The game has ended: y starts it again, n ends the program (0).
int askNewGame(int& outputRow, WINDOW* window) {
    if (!confirm("Начать сначала? y/n"_cp, outputRow, window)) return 0;
    restartGame();
    describeCurrentScene(outputRow, window);
    return 1;
}

// Offers the command to the actions of scene 0 and then, unless that settled
// it, to those of the current scene, and answers what they left open.
int runActionEngine(const InputWords& input, int& outputRow, WINDOW* window) {
    ActionResult first = tryActions(game.scenes[0], outputRow, input, window);
    ActionResult second = NoMatch;
    if (first == NoMatch || first == AlreadyDone || first == CannotDo) {
        if (first == AlreadyDone) --outputRow;  // the next line replaces the echo
        Scene* here = loadedScene(game.currentScene);
        if (here != nullptr) second = tryActions(*here, outputRow, input, window);
    }
    setPair(window, SystemPair);
    if (first == GameOver || second == GameOver) return askNewGame(outputRow, window);
    const char* reply = replyTo(first, second);
    if (reply == nullptr) return 1;
    printAt(reply, window, outputRow, 0);
    ++outputRow;
    return 1;
}

}  // namespace

bool isAbbreviationOf(const char* typed, const char* word) {
    std::size_t length = std::strlen(typed);
    return std::strncmp(word, typed, length > 3 ? length : 3) == 0;
}

bool waitYesNo(WINDOW* window) {
    for (;;) {
        int key = readKey(window);
        if (key == 'y') return true;
        if (key == 'n') return false;
    }
}

int interpretCommand(InputWords& input, int& outputRow, WINDOW* window) {
    const char* verb = input.words[0];
    if (input.closedWords == 0)
        for (const SingleWordCommand& command : singleWordCommands)
            if (isAbbreviationOf(verb, command.keyword)) return command.run(outputRow, window);
    if (input.closedWords == 1 && isAbbreviationOf(verb, "осмотреть"_cp) &&
        examineObject(input, outputRow, window))
        return 1;
    if (input.closedWords == 2 && isAbbreviationOf(verb, "идти"_cp) &&
        std::strcmp(input.words[1], "на"_cp) == 0)
        return goDirection(input, outputRow, window);
    return runActionEngine(input, outputRow, window);
}
