#include "cli/Terminal.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace Terminal {

namespace {

constexpr int BarWidth = 40;

/// Echo off on the terminal while it lives.
class EchoOff
{
public:
    EchoOff()
    {
        active = tcgetattr(STDIN_FILENO, &saved) == 0;
        if (!active)
            return;
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    ~EchoOff()
    {
        if (active)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    termios saved{};
    bool active = false;
};

std::optional<QString> ReadLine()
{
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size()));
}

} // namespace

void PrintOut(const QString &line)
{
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

void PrintError(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

ProgressBar::ProgressBar(QString label) : label(std::move(label)), shown(isatty(STDERR_FILENO)) { }

Presets::Progress ProgressBar::AsProgress()
{
    return {[this](int from, int to) { Start(from, to); }, [this] { Step(); },
            [this] { Finish(); }};
}

void ProgressBar::Start(int from, int to)
{
    value = from;
    maximum = std::max(to, 1);
    Draw();
}

void ProgressBar::Step()
{
    ++value;
    Draw();
}

void ProgressBar::Finish()
{
    if (shown)
        std::fprintf(stderr, "\n");
}

void ProgressBar::Draw() const
{
    if (!shown)
        return;
    const int filled = std::min(value, maximum) * BarWidth / maximum;
    std::fprintf(stderr, "\r%s [%s%s] %d/%d", qPrintable(label),
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(BarWidth - filled), '.').c_str(), value,
                 maximum);
    std::fflush(stderr);
}

std::optional<QString> ReadSecret(const QString &prompt)
{
    if (!isatty(STDIN_FILENO))
        return ReadLine();
    std::fprintf(stderr, "%s", qPrintable(prompt));
    std::fflush(stderr);
    std::optional<QString> line;
    {
        EchoOff quiet;
        line = ReadLine();
    }
    std::fprintf(stderr, "\n");
    return line;
}

} // namespace Terminal
