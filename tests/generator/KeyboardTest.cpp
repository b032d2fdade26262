#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/Keyboard.h"
#include "support/ScriptedPump.h"

namespace tilvera {
namespace {

using testing::ProgramEnded;
using testing::ScriptedPump;
using Batch = ScriptedPump::Batch;

// Each call that lets the window system run takes the next batch of the script;
// an empty batch stands for events that bring no key (a repaint, a move).
struct PollScenario {
  std::string name;
  std::vector<Batch> script;
  int polls;                 // polls attempted, one after the other
  int pollsReturned;         // of which returned to drawing
  bool ends;                 // the program was ended
  std::size_t processCalls;  // non-blocking event rounds
  std::size_t waitCalls;     // blocking waits, only ever inside a pause
};

class PollKeyboard : public ::testing::TestWithParam<PollScenario> {};

TEST_P(PollKeyboard, FollowsTheQuitAndPauseProtocol) {
  const PollScenario& scenario = GetParam();
  ScriptedPump pump(scenario.script);

  int returned = 0;
  for (int poll = 0; poll < scenario.polls; ++poll) {
    try {
      pollKeyboard(pump);
      ++returned;
      EXPECT_FALSE(pump.lastKey.has_value()) << "a key survived poll " << poll + 1;
    } catch (const ProgramEnded&) {
      break;
    }
  }

  EXPECT_EQ(returned, scenario.pollsReturned);
  EXPECT_EQ(pump.ended, scenario.ends);
  EXPECT_EQ(pump.processCalls, scenario.processCalls);
  EXPECT_EQ(pump.waitCalls, scenario.waitCalls);
}

constexpr char32_t controlQ = 17;

INSTANTIATE_TEST_SUITE_P(
    Scenarios, PollKeyboard,
    ::testing::Values(
        PollScenario{"NoKeyReturnsAfterOneRoundWithoutWaiting", {{}}, 1, 1, false, 1, 0},
        PollScenario{"NoEventAtAllReturns", {}, 1, 1, false, 1, 0},
        PollScenario{"KeyWhileDrawingPausesUntilAFurtherKey",
                     {{{U'x'}}, {}, {}, {{U'y'}}},
                     1,
                     1,
                     false,
                     1,
                     3},
        PollScenario{"LowerQWhileDrawingEnds", {{{U'q'}}}, 1, 0, true, 1, 0},
        PollScenario{"UpperQWhileDrawingEnds", {{{U'Q'}}}, 1, 0, true, 1, 0},
        PollScenario{"QDuringPauseOnlyResumesAndTheNextQEnds",
                     {{{U'x'}}, {{U'q'}}, {{U'q'}}},
                     2,
                     1,
                     true,
                     2,
                     1},
        PollScenario{"UpperQDuringPauseOnlyResumes", {{{U'x'}}, {{U'Q'}}, {}}, 2, 2, false, 2, 1},
        PollScenario{"XThenQBetweenPollsEnds", {{{U'x', U'q'}}}, 1, 0, true, 1, 0},
        PollScenario{"QThenXBetweenPollsPauses", {{{U'q', U'x'}}, {{U'y'}}}, 1, 1, false, 1, 1},
        PollScenario{"ControlQPauses", {{{controlQ}}, {{U'y'}}}, 1, 1, false, 1, 1},
        PollScenario{"HeldKeyPausesOnceAndItsResumingRepeatIsConsumed",
                     {{{U'a', U'a', U'a'}}, {{U'a'}}, {}},
                     2,
                     2,
                     false,
                     2,
                     1},
        PollScenario{"HeldKeyPausesAgainAtTheNextPoll",
                     {{{U'a', U'a'}}, {{U'a'}}, {{U'a'}}, {{U'a'}}},
                     2,
                     2,
                     false,
                     2,
                     2},
        PollScenario{"CloseRequestEndsAtThePoll", {{{}, true}}, 1, 0, true, 1, 0},
        PollScenario{"CloseRequestWinsOverAPausingKey", {{{U'x'}, true}}, 1, 0, true, 1, 0},
        PollScenario{"CloseRequestEndsAPauseAtOnce", {{{U'x'}}, {}, {{}, true}}, 1, 0, true, 1, 2},
        PollScenario{
            "CloseRequestWinsOverTheResumingKey", {{{U'x'}}, {{U'y'}, true}}, 1, 0, true, 1, 1}),
    [](const ::testing::TestParamInfo<PollScenario>& info) { return info.param.name; });

}  // namespace
}  // namespace tilvera
