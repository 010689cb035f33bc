// The action engine's choice of action and its result codes, on small worlds
// built in memory. What it prints is checked by the screen tests.
#include "interp/engine.h"

#include <gtest/gtest.h>

#include <string>

#include "interp/interpreter.h"
#include "support/curses_screen.h"
#include "support/fixtures.h"
#include "support/world_builder.h"

namespace {

TEST(Abbreviation, ThreeLettersOrMoreArePrefixesShorterWordsMustBeWhole) {
    struct Case {
        const char* typed;
        const char* word;
        bool matches;
    } cases[] = {
        {"взять", "взять", true}, {"взя", "взять", true},     {"вз", "взять", false},
        {"в", "взять", false},    {"взятьь", "взять", false}, {"взт", "взять", false},
        {"на", "на", true},       {"н", "на", false},         {"нап", "на", false},
        {"", "", true},           {"", "взять", false},       {"взять", "", false},
        {"ем", "ем", true},       {"ем", "ель", false},
    };
    for (const Case& c : cases) {
        std::string typed = toCp866(c.typed);
        std::string word = toCp866(c.word);
        EXPECT_EQ(isAbbreviationOf(typed.c_str(), word.c_str()), c.matches)
            << '"' << c.typed << "\" for \"" << c.word << '"';
    }
}

class Engine : public ::testing::Test {
protected:
    void SetUp() override { buildWorld(); }

    // Three scenes; scene 1 holds a coin, a guard and bread.
    void buildWorld() {
        beginWorld(3);
        game.lastOutputRow = 23;
        addVerb("осмотреться", 0, 0, 0, {});
        addVerb("взять", 1, 3, 0, {"#"});
        addVerb("дать", 2, 3, 2, {"#", "#"});
        addVerb("ем", 1, 3, 0, {"#"});
        addObject(1, "монета монетой монете монету");
        addObject(1, "стражник стражником стражнику стражника");
        addObject(1, "хлеб хлебом хлебу хлеб");
    }

    ActionResult tryIn(int scene, const std::string& line) {
        InputWords input = typed(line);
        return tryActions(game.scenes[scene], row, input, window);
    }

    CursesScreen screen;
    WINDOW* window = screen.window();
    int row = 0;
};

TEST_F(Engine, TheFirstWordMustNameAVerb) {
    addAction(1, "взять", 1, 1, 1, 1);
    EXPECT_EQ(tryIn(1, "пнуть монету"), NoMatch);  // no fallback without a verb
    EXPECT_EQ(tryIn(1, "вз монету"), NoMatch);
    EXPECT_EQ(tryIn(1, "взять монету"), Performed);
}

TEST_F(Engine, WordsAreMatchedByTheAbbreviationRule) {
    struct Case {
        const char* line;
        ActionResult result;
    } cases[] = {
        {"ем хлеб", Performed}, {"е хлеб", NoMatch},   {"ем хле", Performed},
        {"ем хл", NoMatch},     {"ем хлебб", NoMatch}, {"взят монету", Performed},
    };
    for (const Case& c : cases) {
        buildWorld();
        addAction(1, "ем", 1, 3, 1, 1).state = 5;
        addAction(1, "взять", 1, 1, 1, 2).state = 5;
        EXPECT_EQ(tryIn(1, c.line), c.result) << c.line;
    }
}

TEST_F(Engine, TheCommandVerbIsTheLastOneTheWordAbbreviates) {
    addVerb("открыть", 1, 3, 0, {"#"});
    addVerb("открывать", 1, 3, 0, {"#", "ключом"});
    addObject(1, "дверь дверью двери дверь");
    addAction(1, "открыть", 2, 4, 1, 1);
    // The template comes from "открывать", the last verb "откр" abbreviates.
    EXPECT_EQ(tryIn(1, "откр дверь"), CannotDo);
    EXPECT_EQ(tryIn(1, "откр дверь ключом"), Performed);
}

TEST_F(Engine, PatternLengthCountsTheComparedWords) {
    struct Case {
        int patternLength;
        const char* line;
        ActionResult result;
    } cases[] = {
        {1, "взять", NoMatch},                  // a missing word fits no object
        {1, "взять монету быстро", Performed},  // words past the pattern are ignored
        {0, "взять", Performed},
        {-3, "взять что-нибудь", Performed},
        {2, "взять монету", Performed},  // slot 2 is empty: fits only a missing word
        {2, "взять монету быстро", NoMatch},
        {12, "взять монету", Performed},  // held to the nine words a line has
    };
    for (const Case& c : cases) {
        buildWorld();
        addAction(1, "взять", c.patternLength, 1, 1, 1);
        EXPECT_EQ(tryIn(1, c.line), c.result) << c.patternLength << ": " << c.line;
    }
}

TEST_F(Engine, TwoObjectsFitInEitherOrderEachInItsOwnForm) {
    struct Case {
        const char* line;
        ActionResult result;
    } cases[] = {
        {"дать монету стражнику", Performed},
        {"дать стражнику монету", Performed},
        {"дать стражника монете", NoMatch},  // the forms follow the objects, not the places
        {"дать монету", CannotDo},           // the second word is missing,
    };
    for (const Case& c : cases) {
        buildWorld();
        Action& give = addAction(1, "дать", 2, 1, 1001, 1);
        give.what2 = 2;
        EXPECT_EQ(tryIn(1, c.line), c.result) << c.line;
    }
}

TEST_F(Engine, ActionsWhoseObjectsAreNotWhereTheySayAreSkipped) {
    struct Case {
        const char* verb;
        int what, what2, where;
    } cases[] = {
        {"взять", 1, 0, 0},  // not carried
        {"взять", 9, 0, 1},  // no such id
        {"взять", 1, 0, 3},  // scene 3 is not loaded
        {"взять", 1, 0, -1},      {"взять", 1, 0, 1000000},
        {"дать", 1, 2, 1005},  // second object in no scene
        {"дать", 1, 2, 51001},    {"дать", 1, 7, 1001},
        {"осмотреться", 1, 0, 1},  // a verb that names no object never fits
        {"прыгнуть", 1, 0, 1},     // no verb of that name
    };
    for (const Case& c : cases) {
        buildWorld();
        Action& action = addAction(1, c.verb, 0, c.what, c.where, 1);
        action.what2 = c.what2;
        EXPECT_EQ(tryIn(1, std::string(c.verb) + " монету стражнику"), NoMatch)
            << c.verb << " " << c.what << " " << c.what2 << " " << c.where;
        EXPECT_EQ(action.state, Pending);
    }
}

TEST_F(Engine, TheFirstFittingActionWhoseConditionsHoldRuns) {
    Action& unmet = addAction(1, "взять", 1, 1, 1, 1);
    addCondition(unmet, 9, 1, 5);
    Action& done = addAction(1, "взять", 1, 1, 1, 2);
    done.state = Done;
    Action& runs = addAction(1, "взять", 1, 1, 1, 3);
    Action& later = addAction(1, "взять", 1, 1, 1, 4);
    EXPECT_EQ(tryIn(1, "взять монету"), Performed);
    EXPECT_EQ(runs.state, Done);
    EXPECT_EQ(later.state, Pending);
    EXPECT_EQ(unmet.state, Pending);
}

TEST_F(Engine, WhenNothingRunsTheLastFittingActionGivesTheResult) {
    Action& unmet = addAction(1, "взять", 1, 1, 1, 1);
    addCondition(unmet, 9, 1, 5);
    addAction(1, "взять", 1, 1, 1, 2).state = Done;
    EXPECT_EQ(tryIn(1, "взять монету"), AlreadyDone);

    Action& unmetLast = addAction(1, "взять", 1, 1, 1, 3);
    addCondition(unmetLast, 9, 1, 5);
    EXPECT_EQ(tryIn(1, "взять монету"), ConditionsUnmet);
}

TEST_F(Engine, TheClosingRecordIsNeverExamined) {
    addAction(1, "взять", 1, 1, 1, 1);
    game.scenes[1].actionCount = 1;  // the action is now the closing record
    EXPECT_EQ(tryIn(1, "взять монету"), CannotDo);
    game.scenes[1].actionCount = 0;
    EXPECT_EQ(tryIn(1, "взять монету"), CannotDo);
    game.scenes[1].actionCount = -4;
    EXPECT_EQ(tryIn(1, "взять монету"), CannotDo);
}

TEST_F(Engine, TheFallbackNeedsAnObjectOfThePassedSceneForTheLastWord) {
    EXPECT_EQ(tryIn(1, "взять монету"), CannotDo);
    EXPECT_EQ(tryIn(1, "взять мон"), CannotDo);
    EXPECT_EQ(tryIn(1, "взять монету "), NoMatch);  // the empty last word names nothing
    EXPECT_EQ(tryIn(1, "взять лампу"), NoMatch);
    EXPECT_EQ(tryIn(0, "взять монету"), NoMatch);  // only the scene passed in counts
    addObject(1, "ключ ключом ключу хлеб");
    EXPECT_EQ(tryIn(1, "взять хлеб"), CannotDo);
}

TEST_F(Engine, CarriedObjectsBindThroughSceneZero) {
    addObject(0, "письмо письмом письму письмо");
    Action& read = addAction(0, "взять", 1, 1, 0, 1);
    EXPECT_EQ(tryIn(0, "взять письмо"), Performed);
    EXPECT_EQ(read.state, Done);
    EXPECT_EQ(tryIn(0, "взять письмо"), AlreadyDone);
}

}  // namespace
