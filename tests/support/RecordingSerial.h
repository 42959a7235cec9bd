#pragma once

#include <deque>
#include <functional>
#include <set>
#include <vector>

#include "link/SerialComponent.h"

/// A serial component double: records every frame the program sends and answers from a script.
/// Without a scripted reply it answers an echo of the request with byte 8 = 0x10 (so the
/// identity query succeeds).
class RecordingSerial : public SerialComponent
{
public:
    struct Call
    {
        FrameBuffer frame;
        int timeoutMs;
        int replyMode;
    };

    int Initialize(int, int) override { return initializeResult; }
    int Open(const QString &portName, int) override;
    int Exchange(FrameBuffer &buffer, int timeoutMs, bool, bool, int replyMode) override;
    void Close() override
    {
        open = false;
        ++closes;
    }
    bool IsOpen() const override { return open; }

    /// Queues the reply to the next exchange; `result` non-zero makes that exchange fail.
    void QueueReply(const FrameBuffer &reply, int result = ExchangeOk);
    void QueueFailure(int result = ExchangeTimeout);
    /// Answers every exchange with this function when no reply is queued.
    std::function<FrameBuffer(const FrameBuffer &request)> responder;

    /// Frames sent, in order (the identity queries included).
    std::vector<Call> calls;
    /// The command bytes of `calls`, in order.
    std::vector<int> Commands() const;
    std::vector<QString> opened;
    int closes = 0;
    /// Ports whose Open answers non-zero.
    std::set<QString> refusedPorts;
    /// When set, only this port's Open succeeds.
    QString onlyPort;
    int initializeResult = 0;
    bool open = false;

private:
    struct Scripted
    {
        FrameBuffer reply;
        int result;
    };
    std::deque<Scripted> script;
};

/// A reply frame F0 10 cmd d0..d5 F7.
FrameBuffer ReplyFrame(std::uint8_t cmd, std::uint8_t d0 = 0, std::uint8_t d1 = 0,
                       std::uint8_t d2 = 0, std::uint8_t d3 = 0, std::uint8_t d4 = 0,
                       std::uint8_t d5 = 0);
