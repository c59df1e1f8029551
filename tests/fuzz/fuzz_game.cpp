// Coverage-guided fuzzing of the whole game below the window: the shared
// random-play engine (tests/native/random_play.h) plays the rules, the mouse
// cases and the drawing they do from the bytes that libFuzzer chooses.
//
// An input is read from the front; bytes past its end read as 0. It starts
// with the engine's header (RandomPlay::Start), then operations follow until
// the input ends, each picked by one byte modulo 32 (fuzzMix below).
//
// A broken rule prints what broke, the state, the board and the last steps
// on stderr and aborts, so that libFuzzer keeps the input. The binary also
// replays an input given as a file argument.
#include <cstdio>
#include <cstdlib>

#include "tests/native/random_play.h"

namespace {

using Op = Operation;

//   0-5    a move (buttons, position)
//   6-15   a press or release: 6-8 left press, 9-11 left release,
//          12-13 right press, 14-15 right release (buttons; a position
//          too unless the stream is window-like)
//   16-17  OpenCell, 19-20 CycleMark, on or around the board or far off
//   18     OpenAround on an opened square
//   21     NewGame, as from the menu
//   22     a new size and bomb count, then NewGame, as the settings do
//   23-25  a left click on a safe covered square, 30 on any covered one
//   26     a right click towards a win, 27 one beside an opened square
//   28-29  a chord on an opened square
//   31     guessed flags around a number, then a chord on it
const PlayMix fuzzMix = {
    {Op::Move, 6},          {Op::LeftPress, 3},       {Op::LeftRelease, 3},          {Op::RightPress, 2},
    {Op::RightRelease, 2},  {Op::CallOpen, 2},        {Op::CallChord, 1},            {Op::CallMark, 2},
    {Op::MenuNewGame, 1},   {Op::NewSettings, 1},     {Op::ClickSafe, 3},            {Op::RightClickTowardsWin, 1},
    {Op::RightClickBesideOpened, 1}, {Op::ChordOnOpened, 2}, {Op::ClickAnyCovered, 1}, {Op::GuessFlagsThenChord, 1},
};

[[noreturn]] void PrintAndAbort(const std::string& report)
{
    std::fputs(report.c_str(), stderr);
    std::fflush(stderr);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ByteChoices in(data, size);
    RandomPlay play(in, PrintAndAbort);
    play.Start();
    while (!in.AtEnd())
        play.RunOperation(fuzzMix);
    return 0;
}
