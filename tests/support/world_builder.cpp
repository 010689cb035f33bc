#include "support/world_builder.h"

#include <cstring>

#include "support/fixtures.h"

void setText(char* buffer, int capacity, const std::string& utf8) {
    std::string bytes = toCp866(utf8);
    std::size_t length = bytes.size() < static_cast<std::size_t>(capacity - 1)
                             ? bytes.size()
                             : static_cast<std::size_t>(capacity - 1);
    std::memcpy(buffer, bytes.data(), length);
    buffer[length] = '\0';
}

void beginWorld(int sceneCount) {
    resetGameState();
    game.sceneCount = sceneCount;
    for (int i = 0; i < sceneCount; ++i) {
        Scene& scene = game.scenes[i];
        scene.index = i;
        scene.exitEast = scene.exitWest = scene.exitNorth = scene.exitSouth = -1;
        scene.actionCount = 1;
    }
    game.verbCount = 1;
}

Verb& addVerb(const std::string& name, int objectCount, int firstForm, int secondForm,
              const std::vector<std::string>& slots) {
    Verb& verb = game.verbs[game.verbCount - 1];
    verb.index = game.verbCount - 1;
    setText(verb.name, VerbNameSize, name);
    verb.slotCount = static_cast<int>(slots.size());
    verb.objectCount = objectCount;
    verb.firstForm = firstForm;
    verb.secondForm = secondForm;
    for (std::size_t s = 0; s < slots.size() && s < MaxSlots; ++s)
        setText(verb.slotWords[s], SlotWordSize, slots[s]);
    game.verbs[game.verbCount].index = game.verbCount;
    ++game.verbCount;
    return verb;
}

SceneObject& addObject(int scene, const std::string& forms, const std::string& description) {
    Scene& owner = game.scenes[scene];
    SceneObject& object = owner.objects[owner.objnum];
    object.id = ++owner.objnum;
    std::string rest = forms;
    for (int f = 0; f < NameFormCount; ++f) {
        std::size_t space = rest.find(' ');
        setText(object.nameForms[f], NameFormSize, rest.substr(0, space));
        rest = space == std::string::npos ? "" : rest.substr(space + 1);
    }
    setText(object.description, ObjectDescriptionSize, description);
    if (scene == 0) game.inventory.items[game.inventory.count++] = object.id;
    return object;
}

Action& addAction(int scene, const std::string& verb, int patternLength, int what, int where,
                  int num, const std::string& text) {
    Scene& owner = game.scenes[scene];
    Action& action = owner.actions[owner.actionCount - 1];
    setText(action.verbName, ActionVerbNameSize, verb);
    action.patternLength = patternLength;
    action.what = what;
    action.where = where;
    action.num = num;
    setText(action.text, ActionTextSize, text);
    ++owner.actionCount;
    return action;
}

void addCondition(Action& action, int num, int scene, int state) {
    int i = 0;
    while (action.conditions[i].kind != 0) ++i;
    action.conditions[i] = {num, scene, state};
}

void addEffect(Action& action, int kind, int a, int b) {
    int i = 0;
    while (action.effects[i].kind != 0) ++i;
    action.effects[i] = {kind, a, b};
}

void addItemChange(Action& action, int key, int value) {
    int i = 0;
    while (action.itemIds[i] != 0) ++i;
    action.itemIds[i] = key;
    action.itemScenes[i] = value;
}

InputWords typed(const std::string& utf8) {
    InputWords input{};
    std::string rest = utf8;
    for (int w = 0; w < MaxWords; ++w) {
        std::size_t space = rest.find(' ');
        setText(input.words[w], WordSize, rest.substr(0, space));
        if (space == std::string::npos) break;
        rest = rest.substr(space + 1);
        if (w + 1 < MaxWords) input.closedWords = w + 1;
    }
    return input;
}
