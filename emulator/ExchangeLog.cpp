#include "ExchangeLog.h"

#include <QFile>
#include <cerrno>
#include <cstring>

namespace Emulator {

ExchangeLog::~ExchangeLog()
{
    if (file)
        std::fclose(file);
}

bool ExchangeLog::Open(const QString &path, QString &error)
{
    file = std::fopen(QFile::encodeName(path).constData(), "w");
    if (!file)
        error = QStringLiteral("cannot write %1: %2").arg(path, std::strerror(errno));
    return file != nullptr;
}

void ExchangeLog::Replied(const Frame &request, std::span<const Byte> sent, bool partial)
{
    WriteLine(ToHex(request) + " -> " + ToHex(sent) + (partial ? " (partial)" : ""));
}

void ExchangeLog::NotReplied(const Frame &request)
{
    WriteLine(ToHex(request) + " -> none");
}

void ExchangeLog::Garbage(std::span<const Byte> bytes)
{
    WriteLine("garbage " + ToHex(bytes));
}

void ExchangeLog::WriteLine(const std::string &line)
{
    if (!file)
        return;
    std::fputs(line.c_str(), file);
    std::fputc('\n', file);
    std::fflush(file);
}

} // namespace Emulator
