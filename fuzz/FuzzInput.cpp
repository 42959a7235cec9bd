#include "FuzzInput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "editors/Meters.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SystemFlags.h"
#include "presets/ModPreset.h"
#include "presets/PresetFiles.h"
#include "shell/AppInfo.h"
#include "shell/Messages.h"

void Require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

QByteArray FuzzInput::Take(std::size_t count)
{
    const std::size_t taken = position < size ? std::min(count, size - position) : 0;
    QByteArray bytes(reinterpret_cast<const char *>(data + position),
                     static_cast<qsizetype>(taken));
    position += taken;
    return bytes;
}

QString FuzzInput::Text(int maxLength)
{
    const int length = Byte() % (maxLength + 1);
    QString text;
    for (int i = 0; i < length && !Empty(); ++i) {
        const auto low = Byte();
        text.append(QChar(static_cast<char16_t>(low | Byte() << 8)));
    }
    return text;
}

int FuzzSerial::Open(const QString &, int)
{
    ++opens;
    open = input.Byte() % 8 != 0;
    return open ? 0 : 1;
}

int FuzzSerial::Exchange(FrameBuffer &buffer, int, bool, bool, int)
{
    ++exchanges;
    const std::uint8_t choice = input.Byte();
    if (choice % 16 == 15)
        return ExchangeTimeout;
    const FrameBuffer request = buffer;
    for (std::uint8_t &byte : buffer)
        byte = input.Byte();
    answered.push_back({request, buffer});
    return ExchangeOk;
}

void ResetProgramWithSerial(SerialComponent *serial)
{
    Messages::Reset();
    ModTxRx::Reset();
    ModFun::Reset();
    ModGraph::Reset();
    PanelFlags::Reset();
    SystemFlags::Reset();
    ModPreset::Reset();
    ModLock::Reset();
    PresetFiles::Reset();
    Meters::Reset();
    AppInfo::Reset();
    ModTxRx::state.SerialPort = serial;
}

std::uint8_t ResetProgramFrom(FuzzInput &input, FuzzSerial &serial)
{
    const std::uint8_t flags = input.Byte();
    const bool demo = flags & 1;
    ResetProgramWithSerial(demo ? nullptr : &serial);
    ModTxRx::state.DemoMode = demo;
    return flags;
}

void AnswerMessagesFrom(FuzzInput &input, const QString &path)
{
    Messages::SetBoxPresenter([&input](const Messages::Box &box) {
        if (box.buttons == Messages::Buttons::Ok)
            return Messages::Answer::Ok;
        return input.Byte() & 1 ? Messages::Answer::Yes : Messages::Answer::No;
    });
    Messages::SetFilePresenter([path](const Messages::FileRequest &) { return path; });
}
