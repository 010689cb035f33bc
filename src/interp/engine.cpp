#include "interp/engine.h"

#include <cstring>

#include "interp/effects.h"
#include "interp/interpreter.h"
#include "interp/tables.h"
#include "ui/cp866.h"
#include "ui/output.h"

namespace {

constexpr int EchoSize = 256;
constexpr int FallbackSize = 255;
constexpr int MaxPatternLength = MaxWords - 1;  // typed words after the verb word
constexpr int PlaceholderCount = 2;

// What a "#" of the template is filled from: an object (null when unbound) and
// the name form to take.
struct Filler {
    const SceneObject* object;
    int form;
};

// The two objects an action names; the first is null when the action is unbound.
struct Binding {
    const SceneObject* first;
    const SceneObject* second;
};

// The last verb of the table whose name `typed` abbreviates; null when none.
const Verb* commandVerbOf(const char* typed) {
    const Verb* found = nullptr;
    for (int v = 0; v < inUse(game.verbCount, MaxVerbs); ++v)
        if (isAbbreviationOf(typed, game.verbs[v].name)) found = &game.verbs[v];
    return found;
}

// The last verb of the table whose name abbreviates the action's verb name.
const Verb* actionVerbOf(const Action& action) {
    const Verb* found = nullptr;
    for (int v = 0; v < inUse(game.verbCount, MaxVerbs); ++v)
        if (isAbbreviationOf(game.verbs[v].name, action.verbName)) found = &game.verbs[v];
    return found;
}

// Finds the action's objects where `where` says they are, by the number of
// objects its verb names.
Binding bindObjects(const Action& action, const Verb& actionVerb) {
    if (actionVerb.objectCount == 2)
        return {objectWithId(action.where / 1000, action.what),
                objectWithId(action.where % 1000, action.what2)};
    if (actionVerb.objectCount == 1) return {objectWithId(action.where, action.what), nullptr};
    return {nullptr, nullptr};
}

// The word that fills a slot: the slot word itself, or for "#" the next
// placeholder's name form ("???" past the second placeholder or for a form
// outside 0 to 3). Null when the placeholder's object is unbound.
const char* fillSlot(const char* slotWord, const Filler (&fillers)[PlaceholderCount],
                     int& placeholder) {
    if (std::strcmp(slotWord, "#") != 0) return slotWord;
    int n = placeholder++;
    if (n >= PlaceholderCount) return "???";
    if (fillers[n].object == nullptr) return nullptr;
    if (fillers[n].form < 0 || fillers[n].form >= NameFormCount) return "???";
    return fillers[n].object->nameForms[fillers[n].form];
}

// True when typed words 1 on fit the first `length` template words filled from
// `fillers`; the filled words are appended to `echo` when it is given.
bool templateFits(const Verb& verb, int length, const InputWords& input,
                  const Filler (&fillers)[PlaceholderCount], char* echo) {
    int placeholder = 0;
    bool fits = true;
    for (int k = 0; k < length; ++k) {
        const char* word = fillSlot(verb.slotWords[k], fillers, placeholder);
        if (word == nullptr) return false;
        if (echo != nullptr) {
            appendCut(echo, EchoSize, " ");
            appendCut(echo, EchoSize, word);
        }
        if (!isAbbreviationOf(input.words[k + 1], word)) fits = false;
    }
    return fits;
}

// True when the command fits the action, in either order of its objects;
// `echo` receives the command as the first order fills it.
bool actionFits(const Action& action, const Verb& command, const InputWords& input, char* echo) {
    const Verb* actionVerb = actionVerbOf(action);
    if (actionVerb == nullptr) return false;
    Binding objects = bindObjects(action, *actionVerb);
    if (objects.first == nullptr) return false;
    if (command.objectCount == 2 && objects.second == nullptr) return false;
    if (!isAbbreviationOf(input.words[0], action.verbName)) return false;
    int length = action.patternLength < MaxPatternLength ? action.patternLength : MaxPatternLength;
    const Filler given[] = {{objects.first, command.firstForm},
                            {objects.second, command.secondForm}};
    const Filler swapped[] = {{objects.second, command.secondForm},
                              {objects.first, command.firstForm}};
    echo[0] = '\0';
    appendCut(echo, EchoSize, command.name);
    bool fits = templateFits(command, length, input, given, echo);
    return templateFits(command, length, input, swapped, nullptr) || fits;
}

// Writes a line in the highlight colour at the current row and moves on.
void printHighlighted(const char* text, int& outputRow, WINDOW* window) {
    setPair(window, HighlightPair);
    printAt(text, window, outputRow, 0);
    advanceRow(outputRow, window);
    setPair(window, NormalPair);
}

// When no action fitted: one "Не получается " line for each object of the
// scene whose accusative the last typed word abbreviates.
ActionResult tryFallback(const Scene& scene, int& outputRow, const InputWords& input,
                         WINDOW* window) {
    int last = inUse(input.closedWords, MaxWords - 1);
    ActionResult result = NoMatch;
    for (int o = 0; o < inUse(scene.objnum, MaxObjects); ++o) {
        const char* accusative = scene.objects[o].nameForms[3];
        if (!isAbbreviationOf(input.words[last], accusative)) continue;
        char line[FallbackSize] = {};
        appendCut(line, FallbackSize, "Не получается "_cp);
        for (int w = 0; w <= last; ++w) {
            appendCut(line, FallbackSize, w == last ? accusative : input.words[w]);
            appendCut(line, FallbackSize, " ");
        }
        printHighlighted(line, outputRow, window);
        result = CannotDo;
    }
    return result;
}

}  // namespace

ActionResult tryActions(Scene& scene, int& outputRow, const InputWords& input, WINDOW* window) {
    const Verb* command = commandVerbOf(input.words[0]);
    if (command == nullptr) return NoMatch;
    bool echoed = false;
    ActionResult noted = NoMatch;
    for (int a = 0; a < inUse(scene.actionCount, MaxActions) - 1; ++a) {
        Action& action = scene.actions[a];
        char echo[EchoSize];
        if (!actionFits(action, *command, input, echo)) continue;
        if (!echoed) printHighlighted(echo, outputRow, window);
        echoed = true;
        if (action.state == Done) {
            noted = AlreadyDone;
        } else if (!conditionsHold(action)) {
            noted = ConditionsUnmet;
        } else {
            return performAction(action, outputRow, window);
        }
    }
    if (echoed) return noted;
    return tryFallback(scene, outputRow, input, window);
}
