#pragma once

#include <QString>
#include <cstdio>

#include "Frame.h"

namespace Emulator {

/// One line per received frame (--log), written before the reply leaves so that a client that has
/// its reply also finds its line:
///   "<request> -> <bytes sent>"           bytes as written, garbage and corruption included
///   "<request> -> <bytes sent> (partial)" a reply cut short
///   "<request> -> none"                   no reply (dropped, or the hang-up)
///   "garbage <bytes>"                     received bytes that belong to no frame
/// Bytes are upper-case two-digit hex separated by single blanks. Without a file nothing is
/// written.
class ExchangeLog
{
public:
    ExchangeLog() = default;
    ExchangeLog(const ExchangeLog &) = delete;
    ExchangeLog &operator=(const ExchangeLog &) = delete;
    ~ExchangeLog();

    /// Starts a new log in `path` (truncated).
    bool Open(const QString &path, QString &error);

    void Replied(const Frame &request, std::span<const Byte> sent, bool partial);
    void NotReplied(const Frame &request);
    void Garbage(std::span<const Byte> bytes);

private:
    void WriteLine(const std::string &line);

    std::FILE *file = nullptr;
};

} // namespace Emulator
