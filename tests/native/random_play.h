// Random play of the whole game below the window: the rules, the mouse cases
// and the drawing they do, with everything that must always hold checked
// after every mouse message and every game call. One engine for the seeded
// property tests and for the fuzzer: only where its choices come from
// differs (a seeded generator there, libFuzzer's bytes here).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "input/mouse.h"
#include "tests/native/draw_recorder.h"

// Where the engine's choices come from, one byte at a time.
class ChoiceSource {
public:
    virtual ~ChoiceSource() = default;
    virtual bool AtEnd() const = 0;
    virtual unsigned Byte() = 0;
    unsigned Word()
    {
        const unsigned high = Byte();
        return high << 8 | Byte();
    }
};

// The fuzzer's input, read from the front; bytes past its end read as 0.
class ByteChoices : public ChoiceSource {
public:
    ByteChoices(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool AtEnd() const override { return position_ >= size_; }
    unsigned Byte() override { return position_ < size_ ? data_[position_++] : 0u; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

// Bytes from a seeded generator: the same seed plays the same games.
class SeededChoices : public ChoiceSource {
public:
    explicit SeededChoices(unsigned seed) : generator_(seed) {}
    bool AtEnd() const override { return false; }
    unsigned Byte() override { return generator_() & 0xFFu; }

private:
    std::mt19937 generator_;
};

// What one step of play does.
enum class Operation {
    Move,                    // a mouse move (buttons, position)
    LeftPress,               // a press or release: buttons, and a position too
    LeftRelease,             //   unless the stream is window-like
    RightPress,
    RightRelease,
    CallOpen,                // OpenCell on or around the board, or far off
    CallChord,               // OpenAround on an opened square
    CallMark,                // CycleMark on or around the board, or far off
    MenuNewGame,             // NewGame, as from the menu
    NewSettings,             // a new size and bomb count, then NewGame
    ClickSafe,               // a left click on a safe covered square
    RightClickTowardsWin,    // on a bomb without a flag, or on a wrong flag
    RightClickBesideOpened,  // a guess beside an opened square
    ChordOnOpened,           // both buttons on an opened square, either let go first
    ClickAnyCovered,         // a left click on any covered square, bombs included
    GuessFlagsThenChord,     // flags around a number, right or wrong, then a chord
    CallOpenSafe,            // OpenCell on a safe covered square
    CallMarkTowardsWin,      // CycleMark on a bomb without a flag, or on a wrong flag
};

// A style of play: each operation with its weight; the weights add up to at
// most 256, and one byte picks the operation.
struct WeightedOperation {
    Operation operation;
    unsigned weight;
};
using PlayMix = std::vector<WeightedOperation>;

// One step as it was made, for the report of a failure.
struct PlayStep {
    Operation operation;  // the mouse message, or the game call
    unsigned buttons;
    long a, b, c;         // x, y; column, row; or columns, rows, bombs
};
std::string Describe(const PlayStep& step);

// Called with the whole report when something that must hold does not. It
// must not return: the fuzzer's aborts, the tests' throws.
using FailureHandler = void (*)(const std::string& report);

class RandomPlay {
public:
    RandomPlay(ChoiceSource& in, FailureHandler onFailure);
    ~RandomPlay();
    RandomPlay(const RandomPlay&) = delete;
    RandomPlay& operator=(const RandomPlay&) = delete;

    // A fresh program started from a header read from the choices:
    //   columns   10 + b % 27
    //   rows      5 + b % 20
    //   bombs     a style byte and a 16-bit value (ReadBombCount)
    //   options   bit 0: a window-like stream: presses and releases come where
    //             the last move left the pointer, as a window delivers them;
    //             otherwise each of them names its own position
    //             bit 1: a 16-bit count of generator steps follows, taken
    //             before the first game so that the bomb layouts vary
    //             bit 2: a byte follows that fills the cells beyond the board
    //             with what an earlier, larger board might have left there
    // then NewGame, as the program's start.
    void Start();
    void SetWindowLike(bool windowLike);

    // One operation of the mix, chosen by one byte.
    void RunOperation(const PlayMix& mix);
    void Run(Operation operation);

    bool Over() const;
    bool Lost() const;
    bool Won() const { return Over() && !Lost(); }
    // Releases over an opened square with the other button held: chords.
    int Chords() const;

private:
    struct Session;
    std::unique_ptr<Session> session_;
};
