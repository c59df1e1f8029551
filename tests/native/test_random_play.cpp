// Random games, seed after seed, played through the shared random-play
// engine (tests/native/random_play.h), which checks the whole state after
// every step. The game's own generator is left alone: std::mt19937 with fixed
// seeds picks sizes and moves, so a failing seed fails again.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tests/native/random_play.h"

namespace {

struct BrokenInvariant : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Throw(const std::string& report) { throw BrokenInvariant(report); }

using Op = Operation;

// Direct game calls, the way a player who opens squares at random plays
// them; a careful player opens only safe squares and so reaches the win more
// often. Both flag towards the win now and then.
const PlayMix anyRuleCalls = {{Op::CallOpen, 25}, {Op::CallMark, 20}, {Op::CallChord, 20},
                              {Op::CallMarkTowardsWin, 15}, {Op::CallOpenSafe, 12}};
const PlayMix carefulRuleCalls = {{Op::CallOpenSafe, 37}, {Op::CallMark, 20}, {Op::CallChord, 20},
                                  {Op::CallMarkTowardsWin, 15}};

// Mouse messages one at a time; with a player's whole clicks mixed in, which
// reach the win.
// Now and then a new game comes from the menu in the middle of play.
const PlayMix mouseMessages = {{Op::Move, 60}, {Op::LeftPress, 36}, {Op::LeftRelease, 40},
                               {Op::RightPress, 28}, {Op::RightRelease, 36}, {Op::MenuNewGame, 1}};
const PlayMix mouseMessagesAndClicks = {{Op::Move, 36}, {Op::LeftPress, 22}, {Op::LeftRelease, 24},
                                        {Op::RightPress, 16}, {Op::RightRelease, 22}, {Op::ClickSafe, 20},
                                        {Op::RightClickTowardsWin, 40}, {Op::ChordOnOpened, 20},
                                        {Op::MenuNewGame, 1}};

struct Outcome {
    int wins = 0, losses = 0, stepsAfterEnd = 0, chords = 0;
};

// Plays `seeds` programs of at most `steps` operations each. After a game
// ends a few more steps follow (`stepsAfterEnd` at most), then the program
// ends or a new game starts from the menu.
template <typename MixOf>
Outcome PlaySeeds(unsigned seeds, int steps, int stepsAfterEnd, bool newGameAfterEnd, MixOf mixOf)
{
    Outcome outcome;
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        SeededChoices choices(seed);
        RandomPlay play(choices, Throw);
        try {
            play.Start();
            const PlayMix& mix = mixOf(seed, play);
            int afterEnd = 0;
            for (int step = 0; step < steps; ++step) {
                play.RunOperation(mix);
                if (!play.Over())
                    continue;
                outcome.stepsAfterEnd += afterEnd > 0;
                if (++afterEnd <= stepsAfterEnd)
                    continue;
                outcome.wins += play.Won();
                outcome.losses += play.Lost();
                if (!newGameAfterEnd)
                    break;
                // A third of the new games come with new settings.
                play.Run(choices.Byte() % 3 == 0 ? Op::NewSettings : Op::MenuNewGame);
                afterEnd = 0;
            }
            if (play.Over() && afterEnd <= stepsAfterEnd) {
                outcome.wins += play.Won();
                outcome.losses += play.Lost();
            }
        } catch (const BrokenInvariant& broken) {
            ADD_FAILURE() << "seed " << seed << ":" << broken.what();
            return outcome;
        }
        outcome.chords += play.Chords();
    }
    return outcome;
}

}  // namespace

TEST(RulesProperty, RandomGamesKeepEveryInvariant)
{
    const Outcome outcome = PlaySeeds(300, 400, 10, false, [](unsigned seed, RandomPlay&) -> const PlayMix& {
        return seed % 3 == 0 ? carefulRuleCalls : anyRuleCalls;
    });
    // The games must reach both endings, and requests after them.
    EXPECT_GT(outcome.wins, 40);
    EXPECT_GT(outcome.losses, 100);
    EXPECT_GT(outcome.stepsAfterEnd, 1000);
}

TEST(MouseProperty, RandomMessageStreamsKeepThePictureAndTheGameSound)
{
    // Three streams in four are window-like; a third of them mixes in a
    // player's clicks.
    const Outcome outcome = PlaySeeds(100, 500, 8, true, [](unsigned seed, RandomPlay& play) -> const PlayMix& {
        play.SetWindowLike(seed % 4 != 0);
        return seed % 3 == 0 ? mouseMessagesAndClicks : mouseMessages;
    });
    // The streams must have reached both endings and many chords.
    EXPECT_GT(outcome.wins, 10);
    EXPECT_GT(outcome.losses, 150);
    EXPECT_GT(outcome.chords, 1500);
}
