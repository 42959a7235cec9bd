#pragma once

#include <cstddef>
#include <cstdint>

#include "link/SerialComponent.h"

/// Hands out the fuzzer's bytes one by one; zeros once they run out.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t *data, std::size_t size)
        : data(data)
        , size(size)
    {
    }

    std::uint8_t Byte() { return position < size ? data[position++] : 0; }
    bool Empty() const { return position >= size; }

private:
    const std::uint8_t *data;
    std::size_t size;
    std::size_t position = 0;
};

/// A serial component whose replies come from the fuzzer: for each exchange one byte chooses the
/// result (mostly success) and ten bytes are the reply, unframed or not.
class FuzzSerial : public SerialComponent
{
public:
    explicit FuzzSerial(FuzzInput &input)
        : input(input)
    {
    }

    int Initialize(int, int) override { return 0; }
    int Open(const QString &, int) override;
    int Exchange(FrameBuffer &buffer, int, bool, bool, int) override;
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }

private:
    FuzzInput &input;
    bool open = true;
};

/// Resets every module of the program and puts `serial` in place as the unit.
void ResetProgramWithSerial(SerialComponent *serial);
