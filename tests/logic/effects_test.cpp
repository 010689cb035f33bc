// Conditions, effects and item transfers of an action, on small worlds built
// in memory. The action's text goes into an off-screen window that these
// tests do not read.
#include "interp/effects.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/curses_screen.h"
#include "support/fixtures.h"
#include "support/world_builder.h"

namespace {

class ActionRun : public ::testing::Test {
protected:
    void SetUp() override {
        beginWorld(4);
        game.lastOutputRow = 23;
    }

    ActionResult run(Action& action) { return performAction(action, row, window); }

    // Scene 0 mirrors the inventory: copy p has id p + 1 and the name of the
    // object its item code names.
    void expectScene0InStep() {
        const Scene& carried = game.scenes[0];
        ASSERT_EQ(carried.objnum, game.inventory.count);
        for (int p = 0; p < game.inventory.count; ++p) {
            ItemCode code = game.inventory.items[p];
            const Scene& home = game.scenes[code / 100];
            EXPECT_EQ(carried.objects[p].id, p + 1);
            EXPECT_STREQ(carried.objects[p].nameForms[0],
                         home.objects[findObjectById(code / 100, code % 100)].nameForms[0]);
        }
        for (int p = game.inventory.count; p < MaxItems; ++p) EXPECT_EQ(game.inventory.items[p], 0);
    }

    std::string carriedName(int position) {
        return toUtf8(game.scenes[0].objects[position].nameForms[0]);
    }

    CursesScreen screen;
    WINDOW* window = screen.window();
    int row = 0;
};

// --- conditions ------------------------------------------------------------

TEST_F(ActionRun, EmptyConditionListHolds) {
    Action& action = addAction(1, "взять", 0, 0, 1, 1);
    EXPECT_TRUE(conditionsHold(action));
}

TEST_F(ActionRun, ConditionsTestTheStateOfTheNamedAction) {
    addAction(2, "взять", 0, 0, 2, 5).state = 0;  // position 0: stands in for absent numbers
    addAction(2, "взять", 0, 0, 2, 4).state = 1;
    addAction(2, "взять", 0, 0, 2, 4).state = 3;  // the last of equal numbers counts
    struct Case {
        int num, scene, state;
        bool holds;
    } cases[] =
        {
            {4, 2, 3, true},   {4, 2, 1, false}, {5, 2, 0, true},   {99, 2, 0, true},
            {99, 2, 3, false}, {4, 4, 3, false}, {4, 50, 3, false}, {4, -1, 3, false},
            {4, 1, 0, true},  // scene 1's only action is its closing record at position 0
        };
    for (const Case& c : cases) {
        Action& tested = addAction(3, "взять", 0, 0, 3, 1);
        addCondition(tested, c.num, c.scene, c.state);
        EXPECT_EQ(conditionsHold(tested), c.holds)
            << "action " << c.num << " of scene " << c.scene << " in state " << c.state;
    }
}

TEST_F(ActionRun, EveryConditionMustHoldUpToTheClosingOne) {
    addAction(2, "взять", 0, 0, 2, 4).state = 3;
    Action& both = addAction(1, "взять", 0, 0, 1, 1);
    addCondition(both, 4, 2, 3);
    addCondition(both, 4, 2, 0);
    EXPECT_FALSE(conditionsHold(both));

    Action& closed = addAction(1, "взять", 0, 0, 1, 2);
    addCondition(closed, 4, 2, 3);
    closed.conditions[2] = {4, 2, 0};  // after the closing triple: means nothing
    EXPECT_TRUE(conditionsHold(closed));
}

TEST_F(ActionRun, LookupsTakeTheLastMatchAndPositionZeroForNone) {
    addAction(1, "взять", 0, 0, 1, 7);
    addAction(1, "взять", 0, 0, 1, 8);
    addAction(1, "взять", 0, 0, 1, 7);
    EXPECT_EQ(findActionByNum(1, 7), 2);
    EXPECT_EQ(findActionByNum(1, 8), 1);
    EXPECT_EQ(findActionByNum(1, 9), 0);
    EXPECT_EQ(findActionByNum(60, 7), 0);
    addObject(1, "а а а а").id = 3;
    addObject(1, "б б б б").id = 3;
    EXPECT_EQ(findObjectById(1, 3), 1);
    EXPECT_EQ(findObjectById(1, 4), 0);
}

// --- state step and score --------------------------------------------------

TEST_F(ActionRun, StateStepDecidesTheScore) {
    struct Case {
        int state, runs, stateAfter, scoreAfter;
    } cases[] = {
        {Pending, 1, Done, 10},
        {RepeatablePending, 2, RepeatableDone, 0},
        {RepeatableDone, 1, RepeatableDone, 0},
        {5, 3, 5, 30},
    };
    for (const Case& c : cases) {
        game.score = 0;
        Action& action = addAction(1, "взять", 0, 0, 1, 1, "Готово.");
        action.state = c.state;
        action.score = 10;
        for (int r = 0; r < c.runs; ++r) EXPECT_EQ(run(action), Performed);
        EXPECT_EQ(action.state, c.stateAfter) << "from state " << c.state;
        EXPECT_EQ(game.score, c.scoreAfter) << "from state " << c.state;
    }
}

TEST_F(ActionRun, AnEffectThatResetsItsOwnActionLetsItRunAndScoreAgain) {
    Action& action = addAction(1, "взять", 0, 0, 1, 7, "Снова.");
    action.score = 4;
    addEffect(action, 7, 1, Pending);
    run(action);
    EXPECT_EQ(action.state, Pending);
    run(action);
    EXPECT_EQ(game.score, 8);
}

// --- effects ---------------------------------------------------------------

TEST_F(ActionRun, SetExitOpensAndClosesExitsOfLoadedScenesOnly) {
    game.scenes[2].exitNorth = 1;
    Action& action = addAction(1, "взять", 0, 0, 1, 1);
    addEffect(action, 1002, 3, 1);   // west of scene 2 leads to 3
    addEffect(action, 1002, -1, 2);  // north of scene 2 closed
    addEffect(action, 1002, 0, 4);   // no exit number 4
    addEffect(action, 1002, 0, -1);  // nor -1
    addEffect(action, 1004, 0, 0);   // scene 4 is not loaded
    addEffect(action, 1050, 0, 0);   // beyond the scene table
    addEffect(action, INT_MAX, 0, 0);
    run(action);
    EXPECT_EQ(game.scenes[2].exitWest, 3);
    EXPECT_EQ(game.scenes[2].exitNorth, -1);
    EXPECT_EQ(game.scenes[2].exitEast, -1);
    EXPECT_EQ(game.scenes[2].exitSouth, -1);
    EXPECT_EQ(game.scenes[4].exitEast, 0);  // untouched record beyond sceneCount
}

TEST_F(ActionRun, SetActionStateFindsTheActionByNumber) {
    Action& first = addAction(2, "взять", 0, 0, 2, 11);
    Action& target = addAction(2, "взять", 0, 0, 2, 12);
    Action& action = addAction(1, "взять", 0, 0, 1, 1);
    addEffect(action, 12, 2, 5);
    addEffect(action, 13, 2, 2);  // absent number: the scene's first action
    addEffect(action, 12, 9, 7);  // scene not loaded: nothing
    addEffect(action, 12, -3, 7);
    run(action);
    EXPECT_EQ(target.state, 5);
    EXPECT_EQ(first.state, 2);
}

TEST_F(ActionRun, SceneAndObjectStatesAreSetByPosition) {
    addObject(2, "а а а а").id = 40;
    addObject(2, "б б б б").id = 3;
    addObject(2, "в в в в").id = 2;
    Action& action = addAction(1, "взять", 0, 0, 1, 1);
    addEffect(action, -1000, 2, 4);    // scene state
    addEffect(action, -2, 2, 6);       // second object, whatever its id
    addEffect(action, -1, 2, 9);       // -1 without b -1: the first object
    addEffect(action, -4, 2, 1);       // no fourth object
    addEffect(action, INT_MIN, 2, 1);  // nor any such position
    addEffect(action, -3, 7, 1);       // scene not loaded
    addEffect(action, -1000, -5, 1);
    run(action);
    EXPECT_EQ(game.scenes[2].state, 4);
    EXPECT_EQ(game.scenes[2].objects[0].state, 9);
    EXPECT_EQ(game.scenes[2].objects[1].state, 6);
    EXPECT_EQ(game.scenes[2].objects[2].state, 0);
    EXPECT_EQ(game.scenes[2].objects[3].state, 0);
}

TEST_F(ActionRun, EndGameStopsTheLaterEffectsAndTheItemPairs) {
    addObject(2, "ключ ключом ключу ключ");
    Action& action = addAction(1, "взять", 0, 0, 1, 1, "Конец игры.");
    action.score = 5;
    addEffect(action, 1001, 2, 0);
    addEffect(action, -1, 0, -1);
    addEffect(action, -1000, 1, 3);
    addItemChange(action, 1, 2);
    EXPECT_EQ(run(action), GameOver);
    EXPECT_EQ(game.scenes[1].exitEast, 2);
    EXPECT_EQ(game.scenes[1].state, 0);
    EXPECT_EQ(game.inventory.count, 0);
    EXPECT_EQ(action.state, Done);
    EXPECT_EQ(game.score, 5);
    EXPECT_EQ(row, 2);  // the text on row 0, the score line on row 1
}

// --- item transfers ---------------------------------------------------------

TEST_F(ActionRun, TakingTheSameObjectTwiceCarriesTwoCopies) {
    SceneObject& stone = addObject(2, "камень камнем камню камень", "Серый.");
    stone.state = 1;
    Action& action = addAction(2, "взять", 0, 0, 2, 1);
    action.state = 5;
    addItemChange(action, 1, 2);
    run(action);
    run(action);
    EXPECT_EQ(game.inventory.count, 2);
    EXPECT_EQ(game.inventory.items[0], 201);
    EXPECT_EQ(game.inventory.items[1], 201);
    expectScene0InStep();
    EXPECT_EQ(game.scenes[0].objects[1].state, 1);
    EXPECT_EQ(toUtf8(game.scenes[0].objects[1].description), "Серый.");
    EXPECT_EQ(game.scenes[2].objnum, 1);  // the object itself stays where it was
}

TEST_F(ActionRun, TakingAnAbsentIdCopiesTheScenesFirstObject) {
    addObject(3, "лампа лампой лампе лампу");
    Action& action = addAction(3, "взять", 0, 0, 3, 1);
    addItemChange(action, 7, 3);
    run(action);
    EXPECT_EQ(game.inventory.items[0], 307);
    EXPECT_EQ(carriedName(0), "лампа");
    EXPECT_EQ(game.scenes[0].objects[0].id, 1);
}

TEST_F(ActionRun, LosingTheFirstOfThreeMovesTheOthersDown) {
    addObject(0, "письмо письмом письму письмо");
    addObject(1, "нож ножом ножу нож");
    addObject(2, "лук луком луку лук");
    Action& take = addAction(1, "взять", 0, 0, 1, 1);
    addItemChange(take, 1, 1);
    addItemChange(take, 1, 2);
    run(take);
    Action& lose = addAction(1, "бросить", 0, 0, 1, 2);
    addItemChange(lose, 1, 0);  // value 0: item code 1, the letter carried from the start
    run(lose);
    EXPECT_EQ(game.inventory.count, 2);
    EXPECT_EQ(game.inventory.items[0], 101);
    EXPECT_EQ(game.inventory.items[1], 201);
    EXPECT_EQ(carriedName(0), "нож");
    EXPECT_EQ(carriedName(1), "лук");
    expectScene0InStep();
}

TEST_F(ActionRun, LosingRemovesTheLastEntryWithThatCode) {
    addObject(1, "нож ножом ножу нож");
    addObject(2, "лук луком луку лук");
    Action& take = addAction(1, "взять", 0, 0, 1, 1);
    addItemChange(take, 1, 1);
    addItemChange(take, 1, 2);
    addItemChange(take, 1, 1);
    run(take);
    game.scenes[0].objects[0].state = 4;  // tells the two knives apart
    Action& lose = addAction(1, "бросить", 0, 0, 1, 2);
    addItemChange(lose, 1, -1);
    run(lose);
    EXPECT_EQ(game.inventory.count, 2);
    EXPECT_EQ(game.inventory.items[0], 101);
    EXPECT_EQ(game.inventory.items[1], 201);
    EXPECT_EQ(game.scenes[0].objects[0].state, 4);
    expectScene0InStep();
}

TEST_F(ActionRun, LosingAnItemThatIsNotCarriedChangesNothing) {
    addObject(1, "нож ножом ножу нож");
    Action& lose = addAction(1, "бросить", 0, 0, 1, 1);
    addItemChange(lose, 1, -1);
    run(lose);  // empty inventory
    EXPECT_EQ(game.inventory.count, 0);
    EXPECT_EQ(game.scenes[0].objnum, 0);

    addObject(0, "письмо письмом письму письмо");
    Action& other = addAction(1, "бросить", 0, 0, 1, 2);
    addItemChange(other, 1, -1);
    run(other);
    EXPECT_EQ(game.inventory.count, 1);
    EXPECT_EQ(game.inventory.items[0], 1);
    expectScene0InStep();
}

TEST_F(ActionRun, TakingWithAFullInventoryOrFromNoSceneDoesNothing) {
    addObject(2, "нож ножом ножу нож");
    Action& take = addAction(2, "взять", 0, 0, 2, 1);
    take.state = 5;
    addItemChange(take, 1, 2);
    for (int i = 0; i < MaxItems; ++i) run(take);
    EXPECT_EQ(game.inventory.count, MaxItems);
    run(take);
    EXPECT_EQ(game.inventory.count, MaxItems);
    expectScene0InStep();

    Action& elsewhere = addAction(2, "взять", 0, 0, 2, 2);
    addItemChange(elsewhere, 1, 4);  // scene 4 is not loaded
    addItemChange(elsewhere, 1, INT_MAX);
    game.inventory.items[MaxItems - 1] = 0;
    game.inventory.count = MaxItems - 1;
    game.scenes[0].objnum = MaxItems - 1;
    run(elsewhere);
    EXPECT_EQ(game.inventory.count, MaxItems - 1);
}

TEST_F(ActionRun, ItemPairsEndAtTheFirstZeroKey) {
    addObject(2, "нож ножом ножу нож");
    addObject(2, "лук луком луку лук");
    Action& take = addAction(2, "взять", 0, 0, 2, 1);
    addItemChange(take, 1, 2);
    take.itemIds[2] = 2;  // after the closing pair
    take.itemScenes[2] = 2;
    run(take);
    EXPECT_EQ(game.inventory.count, 1);
    expectScene0InStep();
}

}  // namespace
