// Small worlds built in memory for the interpreter's tests: verbs, scenes,
// objects and actions written as UTF-8 and stored as CP866, the way the
// readers would leave them.
#pragma once

#include <string>
#include <vector>

#include "ui/input_line.h"
#include "world/world.h"

// Clears the game and makes `sceneCount` scenes with no exits, objects or
// actions other than the closing action, and an empty verb table holding only
// the record that ends it. The player is in scene 1.
void beginWorld(int sceneCount);

// Appends a verb before the empty closing record. `slots` are the words after
// the verb, "#" for an object.
Verb& addVerb(const std::string& name, int objectCount, int firstForm, int secondForm,
              const std::vector<std::string>& slots);

// Appends an object with the next id to a scene; `forms` holds the four name
// forms separated by spaces. Objects of scene 0 are carried: their ids go into
// the inventory as well.
SceneObject& addObject(int scene, const std::string& forms, const std::string& description = "");

// Appends an action before the scene's closing action.
Action& addAction(int scene, const std::string& verb, int patternLength, int what, int where,
                  int num, const std::string& text = "");

// Appends a condition, an effect or an item pair to an action's list.
void addCondition(Action& action, int num, int scene, int state);
void addEffect(Action& action, int kind, int a, int b);
void addItemChange(Action& action, int key, int value);

// Copies a UTF-8 text into a CP866 buffer, cut to fit.
void setText(char* buffer, int capacity, const std::string& utf8);

// The command line as the input line would split it: every space closes a
// word, so a trailing space leaves an empty last word.
InputWords typed(const std::string& utf8);
