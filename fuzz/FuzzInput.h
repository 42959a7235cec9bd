#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QString>

#include "link/SerialComponent.h"

/// Ends the run when an invariant does not hold: libFuzzer keeps the input, the replay test fails.
void Require(bool condition, const char *what = "an invariant");

/// Hands out the fuzzer's bytes one by one; zeros once they run out.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t *data, std::size_t size) : data(data), size(size) { }

    std::uint8_t Byte() { return position < size ? data[position++] : 0; }
    bool Empty() const { return position >= size; }
    /// The next `count` bytes, fewer when the input ends first.
    QByteArray Take(std::size_t count);
    /// A text of 0..`maxLength` UTF-16 units, any of them (lone surrogates included): one byte
    /// for the length, two for each unit.
    QString Text(int maxLength);

private:
    const std::uint8_t *data;
    std::size_t size;
    std::size_t position = 0;
};

/// A serial component whose replies come from the fuzzer: for each exchange one byte chooses the
/// result (mostly success) and ten bytes are the reply, unframed or not. It keeps what it did so
/// that a target can check what reached the program.
class FuzzSerial : public SerialComponent
{
public:
    struct Answered
    {
        FrameBuffer request;
        FrameBuffer reply;
    };

    explicit FuzzSerial(FuzzInput &input) : input(input) { }

    int Initialize(int, int) override { return 0; }
    int Open(const QString &, int) override;
    int Exchange(FrameBuffer &buffer, int, bool, bool, int) override;
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }

    int opens = 0;
    int exchanges = 0;
    /// Every exchange that succeeded, in order.
    std::vector<Answered> answered;

private:
    FuzzInput &input;
    bool open = true;
};

/// Resets every module of the program and puts `serial` in place as the unit.
void ResetProgramWithSerial(SerialComponent *serial);
/// Takes the input's next byte and resets every module: with bit 0 set in demo mode without a
/// unit, else with `serial` as the unit. Answers the byte; its other bits are the target's.
std::uint8_t ResetProgramFrom(FuzzInput &input, FuzzSerial &serial);

/// Answers Yes/No boxes from the fuzzer's bytes and OK boxes with OK; file dialogs get `path`
/// (empty: cancelled).
void AnswerMessagesFrom(FuzzInput &input, const QString &path = {});
