// The settings dialogue: ranges, the stream of numbers, unreadable entries, end of input.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "render/frame_buffer.h"
#include "shell/settings.h"
#include "shell_fixture.h"

namespace {

// Runs passes while the dialogue is open (at most a few, so a regression cannot hang the test).
void runDialogue(const std::string& typed) {
  scripted::setInput(typed);
  game.appState = AppState::Settings;
  for (int pass = 0; pass < 10 && game.appState == AppState::Settings; ++pass) {
    runSettingsScreen();
  }
}

TEST(Settings, TakesOnlySizesFromOneTo512AndDiscardsWhatIsNoNumber) {
  const struct {
    const char* typed;
    int width, height;
  } cases[] = {{"80 25\n", 80, 25},
               {"512 512\n", 512, 512},
               {"1 1\n", 1, 1},
               {"0 513 -4 7 0 -1 513 9\n", 7, 9},
               {"abc 99999999999 80 x25 -2147483648 25\n", 80, 25}};
  for (const auto& c : cases) {
    freshProgram();
    runDialogue(c.typed);
    EXPECT_EQ(game.appState, AppState::Menu) << c.typed;
    EXPECT_EQ(game.screenWidth, c.width) << c.typed;
    EXPECT_EQ(game.screenHeight, c.height) << c.typed;
    EXPECT_TRUE(frameBufferMatchesScreen() && !game.widthAccepted) << c.typed;
  }
}

TEST(Settings, AnInvalidWidthStartsOverAnInvalidHeightAsksOnlyTheHeight) {
  freshProgram();
  scripted::setInput("0\n");
  runSettingsScreen();
  EXPECT_EQ(consoleRow(0).substr(0, 28), "Set custom screen resolution");
  EXPECT_EQ(consoleRow(2).substr(0, 21), "Width? Invalid width ");

  freshProgram();
  scripted::onSleep([](int ms) {
    if (ms != 5000) return;
    // The scripted console does not echo what is typed, so each answer follows its question.
    EXPECT_EQ(consoleRow(2).substr(0, 21), "Width? Set width: 70 ");
    EXPECT_EQ(consoleRow(3).substr(0, 23), "Height? Invalid height ");
    EXPECT_EQ(consoleRow(4).substr(0, 30), "Height? Set resolution: 70x30 ");
  });
  runDialogue("70\n600\n30\n");
  EXPECT_EQ(game.screenHeight, 30);
  EXPECT_EQ(countPauses(5000), 1);
  EXPECT_EQ(consoleRow(4), std::string(120, ' ')) << "cleared after the message";
}

TEST(Settings, EndOfInputClosesTheProgramInsteadOfLoopingAndKeepsTheSizeAtStart) {
  for (const char* typed : {"", "   \n", "80\n", "abc"}) {
    freshProgram();
    EXPECT_THROW(runDialogue(typed), scripted::ConsoleClosed) << "input: '" << typed << "'";
    // The width is taken as soon as it is given.
    EXPECT_EQ(game.screenWidth, typed[0] == '8' ? 80 : 120) << typed;
    EXPECT_EQ(game.screenHeight, 40) << typed;
  }
}

TEST(Settings, WaitsForEnterToBeReleasedBeforeTheMenu) {
  freshProgram();
  scripted::setKeyHeld(platform::kVkReturn, true);
  scripted::pressKey(platform::kVkReturn);
  // Let go at the third poll, however long the polls are, so that the wait always ends.
  std::vector<int> polls;
  scripted::onSleep([&polls](int ms) {
    if (ms != 5000) polls.push_back(ms);
    if (polls.size() == 3) scripted::setKeyHeld(platform::kVkReturn, false);
  });
  runDialogue("80 25\n");
  EXPECT_EQ(polls, (std::vector<int>{10, 10, 10}));
  EXPECT_FALSE(platform::keyPressedSinceLastQuery(platform::kVkReturn))
      << "the Enter that answered the dialogue does not also choose a menu entry";
}

}  // namespace
