#include "RecordingSerial.h"

int RecordingSerial::Open(const QString &portName, int)
{
    opened.push_back(portName);
    const bool refused =
        refusedPorts.contains(portName) || (!onlyPort.isEmpty() && portName != onlyPort);
    open = !refused;
    return refused ? 1 : 0;
}

int RecordingSerial::Exchange(FrameBuffer &buffer, int timeoutMs, bool, bool, int replyMode)
{
    calls.push_back({buffer, timeoutMs, replyMode});
    if (!open)
        return ExchangePortError;
    if (!script.empty()) {
        const Scripted next = script.front();
        script.pop_front();
        if (next.result == ExchangeOk)
            buffer = next.reply;
        return next.result;
    }
    if (responder) {
        buffer = responder(buffer);
        return ExchangeOk;
    }
    buffer[8] = 0x10;
    return ExchangeOk;
}

void RecordingSerial::QueueReply(const FrameBuffer &reply, int result)
{
    script.push_back({reply, result});
}

void RecordingSerial::QueueFailure(int result)
{
    script.push_back({FrameBuffer{}, result});
}

std::vector<int> RecordingSerial::Commands() const
{
    std::vector<int> commands;
    for (const Call &call : calls)
        commands.push_back(call.frame[2]);
    return commands;
}

FrameBuffer ReplyFrame(std::uint8_t cmd, std::uint8_t d0, std::uint8_t d1, std::uint8_t d2,
                       std::uint8_t d3, std::uint8_t d4, std::uint8_t d5)
{
    return {0xF0, 0x10, cmd, d0, d1, d2, d3, d4, d5, 0xF7};
}
