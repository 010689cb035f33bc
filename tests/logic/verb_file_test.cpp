#include "world/verb_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/fixtures.h"

namespace {

class VerbFile : public ::testing::Test {
protected:
    TempWorkDir dir;

    VerbFile() { resetGameState(); }

    // Writes verbs.dat from UTF-8 text and loads it as start-up does.
    void load(const std::string& utf8) {
        dir.write("verbs.dat", utf8);
        loadVerbs();
    }
    static std::string name(int index) { return toUtf8(game.verbs[index].name); }
    static std::string slot(int index, int slot) {
        return toUtf8(game.verbs[index].slotWords[slot]);
    }

    // True when the record holds nothing but its index.
    static bool isEmpty(const Verb& verb, int index) {
        Verb empty{};
        empty.index = index;
        return std::memcmp(&verb, &empty, sizeof empty) == 0;
    }
};

TEST_F(VerbFile, ReadsEveryFieldOfAVerb) {
    load("& положить 3 2 3 1 - # в #\n");
    const Verb& verb = game.verbs[0];
    EXPECT_EQ(verb.index, 0);
    EXPECT_EQ(name(0), "положить");
    EXPECT_EQ(verb.slotCount, 3);
    EXPECT_EQ(verb.objectCount, 2);
    EXPECT_EQ(verb.firstForm, 3);
    EXPECT_EQ(verb.secondForm, 1);
    EXPECT_EQ(slot(0, 0), "#");
    EXPECT_EQ(slot(0, 1), "в");
    EXPECT_EQ(slot(0, 2), "#");
    EXPECT_EQ(slot(0, 3), "");
}

TEST_F(VerbFile, NVerbsEndingInALineBreakGiveNPlusOneRecordsTheLastEmpty) {
    load("& осмотреться 0 0 0 0 -\n& взять 1 1 3 3 - #\n& идти 2 1 3 3 - на #\n");
    EXPECT_EQ(game.verbCount, 4);
    EXPECT_EQ(name(0), "осмотреться");
    EXPECT_EQ(name(1), "взять");
    EXPECT_EQ(name(2), "идти");
    EXPECT_EQ(slot(2, 1), "#");
    EXPECT_TRUE(isEmpty(game.verbs[3], 3));
}

TEST_F(VerbFile, ALastSlotWordThatIsTheLastByteOfTheFileEndsTheTableWithThatVerb) {
    load("& осмотреться 0 0 0 0 -\n& взять 1 1 3 3 - #\n& идти 2 1 3 3 - на #");
    EXPECT_EQ(game.verbCount, 3);
    EXPECT_EQ(name(2), "идти");
    EXPECT_EQ(slot(2, 0), "на");
    EXPECT_EQ(slot(2, 1), "#");
    EXPECT_TRUE(isEmpty(game.verbs[3], 0));  // never asked for
}

TEST_F(VerbFile, TheVerbThatEndsTheFileIsReadButReportsNoMore) {
    dir.write("verbs.dat", "& взять 1 1 3 3 - #");
    Verb verb{};
    EXPECT_EQ(readVerb(verb), NoVerbRead);
    EXPECT_EQ(toUtf8(verb.name), "взять");
    EXPECT_STREQ(verb.slotWords[0], "#");

    dir.write("verbs.dat", "& взять 1 1 3 3 - #\n");
    verb = Verb{};
    EXPECT_EQ(readVerb(verb), VerbRead);
}

TEST_F(VerbFile, AVerbWithoutSlotsReadsNoSlotWords) {
    load("& смотреть 0 0 0 0 -\n& взять 1 1 3 3 - #\n");
    EXPECT_EQ(game.verbCount, 3);
    EXPECT_EQ(game.verbs[0].slotCount, 0);
    EXPECT_STREQ(game.verbs[0].slotWords[0], "");
    EXPECT_EQ(name(1), "взять");
}

TEST_F(VerbFile, ASeparatorThatIsTheLastByteEndsTheTable) {
    load("& смотреть 0 0 0 0 -\n& ждать 0 0 0 0 -");
    EXPECT_EQ(game.verbCount, 2);
    EXPECT_EQ(name(1), "ждать");
}

TEST_F(VerbFile, TokensBeforeTheFirstAmpersandAndLineBreaksMeanNothing) {
    load("Глаголы 12 - # в\n&\nвзять\n1\n1 3\n3 -\n#\n");
    EXPECT_EQ(game.verbCount, 2);
    EXPECT_EQ(name(0), "взять");
    EXPECT_EQ(game.verbs[0].slotCount, 1);
    EXPECT_EQ(slot(0, 0), "#");
}

TEST_F(VerbFile, WithoutAFileTheTableHoldsOneEmptyRecord) {
    loadVerbs();
    EXPECT_EQ(game.verbCount, 1);
    EXPECT_TRUE(isEmpty(game.verbs[0], 0));
}

TEST_F(VerbFile, NoFileOrNoVerbAtThatPositionLeavesTheRecordUntouched) {
    Verb verb;
    std::memset(&verb, 'z', sizeof verb);
    verb.index = 0;
    Verb before = verb;
    EXPECT_EQ(readVerb(verb), NoVerbRead);
    EXPECT_EQ(std::memcmp(&verb, &before, sizeof verb), 0);

    dir.write("verbs.dat", "& взять 1 1 3 3 - #\n& идти 0 0 0 0 -\n");
    verb.index = before.index = 2;
    EXPECT_EQ(readVerb(verb), NoVerbRead);
    EXPECT_EQ(std::memcmp(&verb, &before, sizeof verb), 0);
}

TEST_F(VerbFile, VerbsReadInAnyOrderAreTheSame) {
    dir.write("verbs.dat", "& a 0 0 0 0 - & b 1 1 1 1 - x & c 0 0 0 0 -\n");
    const char* names[] = {"a", "b", "c"};
    for (int index : {2, 0, 1, 1, 0, 2, 2}) {
        Verb verb{};
        verb.index = index;
        EXPECT_EQ(readVerb(verb), VerbRead);
        EXPECT_STREQ(verb.name, names[index]) << index;
    }
}

TEST_F(VerbFile, AnEmptyFileOrALoneAmpersandGiveOneRecord) {
    load("");
    EXPECT_EQ(game.verbCount, 1);
    resetGameState();
    load("&");
    EXPECT_EQ(game.verbCount, 1);
    EXPECT_STREQ(game.verbs[0].name, "");
}

// Bad input: cut at the capacities, never past them.

TEST_F(VerbFile, MoreThanTenSlotWordsAreCutToTen) {
    std::string words;
    for (int k = 0; k < 12; ++k) words += " w" + std::to_string(k);
    load("& много 12 0 0 0 -" + words + "\n& взять 1 1 3 3 - #\n");
    EXPECT_EQ(game.verbs[0].slotCount, MaxSlots);
    EXPECT_EQ(slot(0, 9), "w9");
    EXPECT_EQ(game.verbCount, 3);
    EXPECT_EQ(name(1), "взять");
}

TEST_F(VerbFile, AHugeOrNegativeSlotCountReadsAtMostTenOrNone) {
    load("& a 2147483647 0 0 0 - x & b -5 0 0 0 - & c 0 0 0 0 -\n");
    EXPECT_EQ(game.verbs[0].slotCount, MaxSlots);
    EXPECT_EQ(slot(0, 0), "x");
    EXPECT_EQ(slot(0, 1), "&");
    EXPECT_EQ(slot(0, 2), "b");
    EXPECT_EQ(game.verbs[1].slotCount, 0);
    EXPECT_EQ(name(1), "b");
    EXPECT_EQ(name(2), "c");
    EXPECT_EQ(game.verbCount, 4);
}

TEST_F(VerbFile, NamesAndSlotWordsAreCutToTheirBuffers) {
    std::string name255(255, 'n');
    std::string name300(300, 'm');
    std::string word40(40, 'w');
    load("& " + name255 + " 1 1 0 0 - " + word40 + "\n& " + name300 + " 0 0 0 0 -\n");
    EXPECT_EQ(std::string(game.verbs[0].name), name255);
    EXPECT_EQ(std::string(game.verbs[0].slotWords[0]), std::string(SlotWordSize - 1, 'w'));
    EXPECT_EQ(std::string(game.verbs[1].name), std::string(255, 'm'));
    EXPECT_EQ(game.verbCount, 3);
}

TEST_F(VerbFile, NameFormsOutsideTheFourFormsAreHeldAtTheNearest) {
    load("& a 0 0 7 -2 -\n");
    EXPECT_EQ(game.verbs[0].firstForm, 3);
    EXPECT_EQ(game.verbs[0].secondForm, 0);
}

TEST_F(VerbFile, AFullTableEndsTheLoading) {
    std::string file;
    for (int k = 0; k < 40; ++k) file += "& v" + std::to_string(k) + " 0 0 0 0 -\n";
    game.sceneCount = 77;  // lies right before the verb table
    load(file);
    EXPECT_EQ(game.verbCount, MaxVerbs);
    EXPECT_STREQ(game.verbs[MaxVerbs - 1].name, "v29");
    EXPECT_EQ(game.lastOutputRow, 20);  // lies right after it
    EXPECT_EQ(game.sceneCount, 77);
}

TEST_F(VerbFile, AMalformedNumberStopsTheLoadingWithTheVerbReadSoFar) {
    load("& a 1 x 0 0 - w\n& b 0 0 0 0 -\n");
    EXPECT_EQ(game.verbCount, 1);
    EXPECT_STREQ(game.verbs[0].name, "a");
    EXPECT_EQ(game.verbs[0].slotCount, 0);  // no slot word was read
    EXPECT_EQ(game.verbs[0].objectCount, 0);
    EXPECT_STREQ(game.verbs[0].slotWords[0], "");
}

TEST_F(VerbFile, AFileEndingInsideAVerbStopsTheLoading) {
    load("& a 0 0 0 0 -\n& b 3 1 0 0 - w1 w2");
    EXPECT_EQ(game.verbCount, 2);
    EXPECT_STREQ(game.verbs[1].name, "b");
    EXPECT_EQ(game.verbs[1].slotCount, 2);  // the words that were there
    EXPECT_STREQ(game.verbs[1].slotWords[1], "w2");

    resetGameState();
    load("& a 0 0 0 0 -\n& b 3 1");
    EXPECT_EQ(game.verbCount, 2);
    EXPECT_EQ(game.verbs[1].slotCount, 0);
}

TEST_F(VerbFile, AnAmpersandInsideAVerbIsCountedLikeAnyOther) {
    // The second "&" is a slot word of verb 0 and starts verb 1 as well.
    load("& a 1 0 0 0 - & b 0 0 0 0 -\n");
    EXPECT_EQ(game.verbCount, 3);
    EXPECT_STREQ(game.verbs[0].slotWords[0], "&");
    EXPECT_STREQ(game.verbs[1].name, "b");
}

}  // namespace
