// Soak: the real program (main window, overview panel, editors) against the paced virtual unit
// for ten minutes, or `--minutes N`: the meters poll, a random edit goes out every second and a
// random line fault comes every minute. The program runs in a child process of this one, so that
// a crash or a hang is counted instead of ending the soak; the parent keeps the unit, starts the
// program again for the time left and prints frames exchanged, faults, recoveries, crashes and
// the program's resident memory. Not part of the test suite: it takes its ten minutes.
//
//   bench_soak [--minutes N] [--seed S] [--faults drop,slow,late] [--trace]
//
// Faults: "drop" the unit drops one reply (SIGUSR1); "slow" the unit stops for 0.3 to 1.5 s, so
// a reply comes late but within its time-out; "late" the unit stops over one meter exchange
// until just after its time-out, so the late reply meets the reopen's identity query. The
// default is drop,slow: the faults the program recovers from.
// --trace prints every line of the program side (edits, faults, failed exchanges, recoveries)
// with the time it came.

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <vector>

#include <sys/types.h>

#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>

#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "editors/ui/FrmMain.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "model/ImageCheck.h"
#include "model/ModFun.h"
#include "presets/DeviceImage.h"
#include "session/Startup.h"
#include "session/ui/MDIFrmMain.h"
#include "shell/ui/WindowOpeners.h"

namespace {

constexpr int SecondsPerMinute = 60;
constexpr int EditIntervalMs = 1000;
/// The program side prints a line at least every second; this long without one is a hang.
constexpr int HangMs = 30'000;
/// A program run shorter than this is not started after a crash.
constexpr int ShortestRunSeconds = 20;

/// VmRSS of this process in kB.
long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

/// Stops the unit for `ms` (it reads and answers nothing meanwhile) and lets it go on after.
void StopUnitFor(pid_t unit, int ms)
{
    kill(unit, SIGSTOP);
    QTimer::singleShot(ms, Qt::PreciseTimer, [unit] { kill(unit, SIGCONT); });
}

// ---- The program side, in the child process ----

/// One line to the parent, flushed at once so that a crash right after loses nothing.
void Tell(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

const char *ResultName(int result)
{
    switch (result) {
    case ExchangeTimeout:
        return "timeout";
    case ExchangeFraming:
        return "framing";
    case ExchangePortError:
        return "port-error";
    case ExchangeBusy:
        return "busy";
    default:
        return "other";
    }
}

/// The program's serial component with a witness: it tells every failed exchange and whether the
/// reopen after a failure found the unit again, and it can stop the unit over one meter exchange
/// so that the reply comes after the time-out.
class SoakSerial : public SerialComponent
{
public:
    explicit SoakSerial(pid_t unit) : unit(unit) { }

    int Initialize(int frameSize, int portCount) override
    {
        return inner.Initialize(frameSize, portCount);
    }
    int Open(const QString &portName, int baud) override;
    int Exchange(FrameBuffer &buffer, int timeoutMs, bool first, bool second,
                 int replyMode) override;
    void Close() override { inner.Close(); }
    bool IsOpen() const override { return inner.IsOpen(); }

    /// The next meter exchange finds the unit stopped until `lateMs` after its time-out.
    void HoldNextMeterReply(int lateMs) { holdLateMs = lateMs; }
    /// The connect after the panel was closed is not a reopen.
    void ForgetFailure() { failed = reopening = false; }
    /// An exchange waits for its reply (the reopen's identity query included).
    bool Waiting() const { return waiting > 0; }

private:
    QtSerialComponent inner;
    pid_t unit;
    int holdLateMs = -1;
    bool failed = false;
    bool reopening = false;
    int waiting = 0;
};

int SoakSerial::Open(const QString &portName, int baud)
{
    reopening = failed;
    failed = false;
    const int result = inner.Open(portName, baud);
    if (reopening && result != OpenOk) {
        reopening = false;
        Tell(QStringLiteral("reopen-failed"));
    }
    return result;
}

int SoakSerial::Exchange(FrameBuffer &buffer, int timeoutMs, bool first, bool second, int replyMode)
{
    const std::uint8_t command = buffer[2];
    if (holdLateMs >= 0 && command == UnitProtocol::MeterPollCommand) {
        StopUnitFor(unit, timeoutMs + holdLateMs);
        holdLateMs = -1;
    }
    ++waiting;
    const int result = inner.Exchange(buffer, timeoutMs, first, second, replyMode);
    --waiting;
    if (result != ExchangeOk)
        Tell(
            QStringLiteral("failed %1 %2").arg(ResultName(result)).arg(command, 2, 16, QChar('0')));
    if (reopening && command == UnitProtocol::IdentityCommand) {
        reopening = false;
        const bool found = result == ExchangeOk &&
            buffer[UnitProtocol::IdentityDeviceAt] == UnitProtocol::DeviceNumber;
        Tell(QLatin1String(found ? "recovered" : "reopen-failed"));
    }
    failed = result != ExchangeOk && result != ExchangeBusy;
    return result;
}

/// A left click on a widget, as the operator's mouse gives it.
void Click(QWidget &widget)
{
    const QPointF at = QRectF(widget.rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, widget.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget.mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &release);
}

/// The highest code the byte at `index` of the image may hold.
int LastCode(int index)
{
    auto probe = ModFun::state.ParamImage;
    probe[index] = 255;
    for (const ImageCheck::BadCode &bad : ImageCheck::FindBadCodes(probe)) {
        if (bad.byteIndex == index)
            return bad.last;
    }
    return 255;
}

/// With the channels linked the unit writes every channel block into both channels; the PC's
/// image follows without a frame, as the editors do.
void FollowLink(int offset, int size)
{
    if (ModFun::state.ChannelLink == 0)
        return;
    auto &image = ModFun::state.ParamImage;
    const int other =
        (offset + ValueTables::ChannelBlockSize) % (2 * ValueTables::ChannelBlockSize);
    std::copy_n(image.begin() + offset, size, image.begin() + other);
}

enum class Fault { Drop, Slow, Late };
constexpr std::array FaultNames{"drop", "slow", "late"};

struct ChildOptions
{
    pid_t unit = 0;
    int seconds = 0;
    unsigned seed = 0;
    std::vector<Fault> faults;
};

/// "drop,late" as faults; nullopt for an unknown name.
std::optional<std::vector<Fault>> ParseFaults(const QString &text)
{
    std::vector<Fault> faults;
    for (const QString &name : text.split(',', Qt::SkipEmptyParts)) {
        const auto known = std::find(FaultNames.begin(), FaultNames.end(), name);
        if (known == FaultNames.end())
            return std::nullopt;
        faults.push_back(static_cast<Fault>(known - FaultNames.begin()));
    }
    if (faults.empty())
        return std::nullopt;
    return faults;
}

enum class Edit { Gate, Limiter, Delay, EqBand, Crossover, Mute };
constexpr std::array EditNames{"gate", "limiter", "delay", "eq-band", "crossover", "mute"};

class SoakProgram
{
public:
    explicit SoakProgram(const ChildOptions &options);
    /// Connects and runs until the time is up; answers the exit code.
    int Run();

private:
    int Uniform(int low, int high);
    bool Connect();
    /// `retry`: the call of `retryTimer`, which the edit timer's ticks leave alone.
    void EditWhenIdle(bool retry);
    void RandomEdit();
    void EditInEditor(int label);
    void ChangeOneControl(QWidget &editor);
    void WriteNewCodes(int offset, int size);
    void ScheduleFaults();
    void InjectFault();
    void TellNewMessages();
    void CheckImage();
    void FinishWhenIdle();

    ChildOptions options;
    std::mt19937 random;
    ScriptedMessages messages;
    SoakSerial serial;
    MDIFrmMain window;
    std::size_t messagesTold = 0;
    bool editing = false;
    QTimer editTimer;
    QTimer retryTimer;
    QTimer memoryTimer;
};

SoakProgram::SoakProgram(const ChildOptions &options)
    : options(options), random(options.seed), serial(options.unit), window(serial)
{
    editTimer.setInterval(EditIntervalMs);
    QObject::connect(&editTimer, &QTimer::timeout, [this] { EditWhenIdle(false); });
    retryTimer.setSingleShot(true);
    retryTimer.setInterval(10);
    QObject::connect(&retryTimer, &QTimer::timeout, [this] { EditWhenIdle(true); });
    memoryTimer.setInterval(SecondsPerMinute * 1000);
    QObject::connect(&memoryTimer, &QTimer::timeout,
                     [] { Tell(QStringLiteral("rss %1").arg(ResidentKb())); });
}

int SoakProgram::Uniform(int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

int SoakProgram::Run()
{
    WindowOpeners::RegisterAllWindows();
    ModGraph::FollowModel();
    if (!window.Load()) {
        Tell(QStringLiteral("error the main window did not load"));
        return 2;
    }
    window.show();
    if (!Connect()) {
        Tell(QStringLiteral("error the first connect failed"));
        return 2;
    }
    Tell(QStringLiteral("rss %1").arg(ResidentKb()));
    editTimer.start();
    memoryTimer.start();
    ScheduleFaults();
    QTimer::singleShot(options.seconds * 1000, [this] { FinishWhenIdle(); });
    return QApplication::exec();
}

/// Presses Connect, answering its question; true when the panel opened.
bool SoakProgram::Connect()
{
    auto *button = window.findChild<QToolBar *>(QStringLiteral("Toolbar1"))
                       ->findChild<QPushButton *>(QStringLiteral("Command1"));
    if (!button->isEnabled())
        return false;
    messages.Answer(Messages::Answer::Yes);
    button->click();
    return window.Panel() != nullptr;
}

/// The operator cannot act while an exchange waits (the wait holds back user input); the edit
/// timer could, so the edit waits as the operator's click would.
void SoakProgram::EditWhenIdle(bool retry)
{
    TellNewMessages();
    if (editing || (retryTimer.isActive() && !retry))
        return;
    if (serial.Waiting() || !ModTxRx::state.LinkIdle) {
        retryTimer.start();
        return;
    }
    if (!window.Panel()) {
        serial.ForgetFailure();
        Tell(QLatin1String(Connect() ? "reconnected" : "reconnect-failed"));
        return;
    }
    editing = true;
    RandomEdit();
    editing = false;
}

void SoakProgram::RandomEdit()
{
    const auto edit = static_cast<Edit>(Uniform(0, EditNames.size() - 1));
    const int channel = Uniform(0, 1);
    Tell(QStringLiteral("edit %1").arg(EditNames[static_cast<int>(edit)]));
    switch (edit) {
    case Edit::Gate:
        EditInEditor(10 * channel + ModFun::GateBlock);
        break;
    case Edit::Limiter:
        EditInEditor(10 * channel + ModFun::LimiterBlock);
        break;
    case Edit::Delay:
        EditInEditor(10 * channel + ModFun::DelayBlock);
        break;
    case Edit::EqBand: {
        const int band = Uniform(0, ValueTables::BandCount - 1);
        WriteNewCodes(ValueTables::EqBandOffsets[band], ValueTables::EqBandSize);
        ModFun::SendEqBand(band);
        ModTxRx::RecoverFromFailure();
        break;
    }
    case Edit::Crossover: {
        const int filter = Uniform(0, ValueTables::FilterCount - 1);
        WriteNewCodes(ValueTables::CrossoverOffsets[filter], ValueTables::CrossoverSize);
        ModFun::SendCrossover(filter);
        ModTxRx::RecoverFromFailure();
        break;
    }
    case Edit::Mute:
        Click(*window.Panel()->findChild<QWidget *>(QStringLiteral("Image1_%1").arg(channel)));
        break;
    }
}

/// Opens the block's editor from the panel's caption, changes one control and closes it.
void SoakProgram::EditInEditor(int label)
{
    QTimer::singleShot(0, [this] {
        const QPointer<QWidget> editor = QApplication::activeModalWidget();
        if (!editor)
            return;
        ChangeOneControl(*editor);
        if (editor)
            editor->close();
    });
    Click(*window.Panel()->findChild<QWidget *>(QStringLiteral("Label100_%1").arg(label)));
}

/// A slider, a spinner or a tick box the operator can reach, set to another value.
void SoakProgram::ChangeOneControl(QWidget &editor)
{
    std::vector<QWidget *> controls;
    for (QWidget *control : editor.findChildren<QWidget *>()) {
        const bool editable = qobject_cast<QAbstractSlider *>(control) ||
            qobject_cast<QSpinBox *>(control) || qobject_cast<QCheckBox *>(control);
        if (editable && control->isVisible() && control->isEnabled())
            controls.push_back(control);
    }
    if (controls.empty())
        return;
    QWidget *control = controls[Uniform(0, static_cast<int>(controls.size()) - 1)];
    if (auto *box = qobject_cast<QCheckBox *>(control)) {
        box->click();
        return;
    }
    const auto setOther = [this](auto *widget) {
        if (widget->minimum() == widget->maximum())
            return;
        int value = widget->value();
        while (value == widget->value())
            value = Uniform(widget->minimum(), widget->maximum());
        widget->setValue(value);
    };
    if (auto *slider = qobject_cast<QAbstractSlider *>(control))
        setOther(slider);
    else
        setOther(qobject_cast<QSpinBox *>(control));
}

/// The filter window's edits go through the model's senders (the soak plays the window): new
/// codes for a block of the image, each within its table; the caller sends the block.
void SoakProgram::WriteNewCodes(int offset, int size)
{
    for (int k = 0; k < size; ++k)
        ModFun::state.ParamImage[offset + k] = Uniform(0, LastCode(offset + k));
    FollowLink(offset, size);
}

/// One fault at a random moment of every minute (none in the last seconds of the run).
void SoakProgram::ScheduleFaults()
{
    for (int start = 0; start < options.seconds; start += SecondsPerMinute) {
        const int span = std::min(SecondsPerMinute, options.seconds - start);
        if (span < 10)
            break;
        const int atMs = start * 1000 + Uniform(span * 200, span * 800);
        QTimer::singleShot(atMs, [this] { InjectFault(); });
    }
}

/// A dropped reply, a reply late within the time-out (the unit stopped for a while), or one
/// that comes after it.
void SoakProgram::InjectFault()
{
    const Fault fault = options.faults[Uniform(0, static_cast<int>(options.faults.size()) - 1)];
    int ms = 0;
    switch (fault) {
    case Fault::Drop:
        kill(options.unit, SIGUSR1);
        break;
    case Fault::Slow:
        ms = Uniform(300, 1500);
        StopUnitFor(options.unit, ms);
        break;
    case Fault::Late:
        ms = Uniform(5, 60);
        serial.HoldNextMeterReply(ms);
        break;
    }
    Tell(QStringLiteral("fault %1 %2").arg(FaultNames[static_cast<int>(fault)]).arg(ms));
}

void SoakProgram::TellNewMessages()
{
    const auto &shown = messages.Shown();
    for (; messagesTold < shown.size(); ++messagesTold)
        Tell(QStringLiteral("message %1").arg(shown[messagesTold].box.text.simplified()));
}

/// Reads the unit's setting image and compares it with the PC's.
void SoakProgram::CheckImage()
{
    DeviceImage::Image unitImage{};
    if (!DeviceImage::ReadSettingImage(unitImage, DeviceImage::OnFailure::Stop)) {
        Tell(QStringLiteral("image-check unread"));
        return;
    }
    QStringList differences;
    for (int k = 0; k < DeviceImage::ImageSize; ++k) {
        if (unitImage[k] != ModFun::state.ParamImage[k])
            differences << QStringLiteral("byte %1 PC %2 unit %3")
                               .arg(k)
                               .arg(ModFun::state.ParamImage[k])
                               .arg(unitImage[k]);
    }
    Tell(differences.isEmpty() ? QStringLiteral("image-check equal")
                               : QStringLiteral("image-check differs ") + differences.join(", "));
}

/// Stops editing, checks the image, closes the panel (releasing the unit) and ends.
void SoakProgram::FinishWhenIdle()
{
    editTimer.stop();
    memoryTimer.stop();
    if (editing || serial.Waiting() || !ModTxRx::state.LinkIdle) {
        QTimer::singleShot(50, [this] { FinishWhenIdle(); });
        return;
    }
    TellNewMessages();
    Tell(QStringLiteral("rss %1").arg(ResidentKb()));
    if (window.Panel()) {
        CheckImage();
        messages.Answer(Messages::Answer::Yes);
        qobject_cast<QMdiSubWindow *>(window.Panel()->parentWidget())->close();
    }
    Tell(QStringLiteral("done"));
    QApplication::exit(0);
}

// ---- The parent: the unit, the program runs and the figures ----

struct SoakOptions
{
    double minutes = 10;
    unsigned seed = std::random_device{}();
    QString faults = QStringLiteral("drop,slow");
    bool trace = false;
};

/// What the program runs told, summed over runs.
struct Tally
{
    std::map<QString, int> counts;
    std::vector<long> residentKb;
    QStringList notes;
    int runs = 0;
    int crashes = 0;
    int hangs = 0;
    int abnormalEnds = 0;

    int Count(const QString &key) const
    {
        const auto found = counts.find(key);
        return found == counts.end() ? 0 : found->second;
    }
    void Take(const QString &line);
};

/// "edit gate" counts as "edit" and "edit gate"; "fault slow 800" as "fault" and "fault slow";
/// "message <text>" as "message" and itself.
void Tally::Take(const QString &line)
{
    const QStringList words = line.split(' ');
    const QString &event = words.first();
    if (event == QLatin1String("rss")) {
        residentKb.push_back(words.value(1).toLong());
        return;
    }
    ++counts[event];
    if (event == QLatin1String("edit") || event == QLatin1String("fault") ||
        event == QLatin1String("failed"))
        ++counts[event + ' ' + words.value(1)];
    if (event == QLatin1String("message"))
        ++counts[line];
    if (event == QLatin1String("image-check") || event == QLatin1String("error"))
        notes << line;
}

/// Runs the program side for `seconds`, feeding its lines to the tally; counts a crash, a hang
/// (killed) or an abnormal end.
void RunProgram(const SoakOptions &options, int seconds, pid_t unit, Tally &tally)
{
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QCoreApplication::applicationFilePath(),
                  {"--program", "--unit-pid", QString::number(unit), "--seconds",
                   QString::number(seconds), "--seed", QString::number(options.seed + tally.runs),
                   "--faults", options.faults});
    ++tally.runs;
    if (!program.waitForStarted()) {
        ++tally.abnormalEnds;
        tally.notes << QStringLiteral("error the program did not start");
        return;
    }
    QElapsedTimer quiet;
    quiet.start();
    QElapsedTimer clock;
    clock.start();
    bool hung = false;
    while (program.state() != QProcess::NotRunning) {
        program.waitForReadyRead(1000);
        while (program.canReadLine()) {
            const QString line = QString::fromLocal8Bit(program.readLine()).trimmed();
            if (options.trace)
                std::printf("%8.3f %s\n", clock.elapsed() / 1000.0, qPrintable(line));
            tally.Take(line);
            quiet.restart();
        }
        if (quiet.hasExpired(HangMs) && program.state() != QProcess::NotRunning) {
            hung = true;
            program.kill();
            program.waitForFinished();
        }
    }
    while (program.canReadLine())
        tally.Take(QString::fromLocal8Bit(program.readLine()).trimmed());
    kill(unit, SIGCONT); // in case the program ended while it held the unit
    if (hung)
        ++tally.hangs;
    else if (program.exitStatus() == QProcess::CrashExit)
        ++tally.crashes;
    else if (program.exitCode() != 0)
        ++tally.abnormalEnds;
}

QString Breakdown(const Tally &tally, const QString &event, const QStringList &kinds)
{
    QStringList parts;
    for (const QString &kind : kinds)
        parts << QStringLiteral("%1 %2").arg(kind).arg(tally.Count(event + ' ' + kind));
    return parts.join(", ");
}

void PrintFigures(const SoakOptions &options, double seconds, const VirtualUnit &unit,
                  const Tally &tally)
{
    const std::vector<UnitLogEntry> log = unit.Log(0, 0);
    const auto unanswered =
        std::count_if(log.begin(), log.end(), [](const UnitLogEntry &e) { return !e.reply; });
    const auto partial =
        std::count_if(log.begin(), log.end(), [](const UnitLogEntry &e) { return e.partial; });
    const QStringList failures{"timeout", "framing", "port-error", "busy"};

    std::printf("Soak: %.1f minutes against the paced virtual unit (seed %u)\n", seconds / 60,
                options.seed);
    std::printf("Program runs: %d; crashes %d, hangs %d, abnormal ends %d\n", tally.runs,
                tally.crashes, tally.hangs, tally.abnormalEnds);
    std::printf("Frames exchanged: %zu (%.1f a second), %ld without a reply, %ld cut short\n",
                log.size(), log.size() / seconds, static_cast<long>(unanswered),
                static_cast<long>(partial));
    std::printf("Edits: %d (%s)\n", tally.Count("edit"),
                qPrintable(Breakdown(
                    tally, "edit", {"gate", "limiter", "delay", "eq-band", "crossover", "mute"})));
    std::printf("Faults: %d (%s)\n", tally.Count("fault"),
                qPrintable(Breakdown(tally, "fault", {"drop", "slow", "late"})));
    std::printf("Failed exchanges seen by the program: %d (%s)\n", tally.Count("failed"),
                qPrintable(Breakdown(tally, "failed", failures)));
    std::printf("Recoveries (reopens that found the unit): %d; reopens that failed: %d; "
                "reconnects after the panel closed: %d (failed %d)\n",
                tally.Count("recovered"), tally.Count("reopen-failed"), tally.Count("reconnected"),
                tally.Count("reconnect-failed"));
    std::printf("Messages shown: %d\n", tally.Count("message"));
    for (const auto &[key, count] : tally.counts) {
        if (key.startsWith(QLatin1String("message ")))
            std::printf("  %d x \"%s\"\n", count, qPrintable(key.mid(8)));
    }
    for (const QString &note : tally.notes)
        std::printf("  %s\n", qPrintable(note));
    QStringList samples;
    for (const long kb : tally.residentKb)
        samples << QString::number(kb / 1024.0, 'f', 1);
    if (!tally.residentKb.empty())
        std::printf("Resident memory of the program: %.1f MB at start, %.1f MB at end "
                    "(samples a minute apart: %s)\n",
                    tally.residentKb.front() / 1024.0, tally.residentKb.back() / 1024.0,
                    qPrintable(samples.join(' ')));
}

int RunSoak(const SoakOptions &options)
{
    TemporaryConfig config;
    VirtualUnit unit;
    if (!unit.Start({1, {"--pace"}})) {
        std::fprintf(stderr, "the virtual unit did not start: %s\n",
                     qPrintable(unit.ErrorString()));
        return 1;
    }
    Startup::WriteInitCfg(1);
    const int totalSeconds = static_cast<int>(std::lround(options.minutes * SecondsPerMinute));
    Tally tally;
    QElapsedTimer clock;
    clock.start();
    for (int left = totalSeconds; left >= ShortestRunSeconds || tally.runs == 0;
         left = totalSeconds - static_cast<int>(clock.elapsed() / 1000))
        RunProgram(options, left, static_cast<pid_t>(unit.ProcessId()), tally);
    PrintFigures(options, clock.elapsed() / 1000.0, unit, tally);
    return tally.crashes + tally.hangs + tally.abnormalEnds == 0 ? 0 : 1;
}

/// The value after `name` in the arguments.
std::optional<QString> Argument(const QStringList &arguments, const QString &name)
{
    const auto at = arguments.indexOf(name);
    if (at < 0 || at + 1 >= arguments.size())
        return std::nullopt;
    return arguments[at + 1];
}

QStringList Arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int k = 1; k < argc; ++k)
        arguments << QString::fromLocal8Bit(argv[k]);
    return arguments;
}

/// The offscreen platform warns each time a fixed-size window is shown; the soak opens one a
/// second.
void QuietOffscreenWarnings()
{
    static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (!text.contains(QLatin1String("does not support propagateSizeHints")))
                standard(type, context, text);
        });
}

int RunProgramSide(int argc, char *argv[], const QStringList &arguments)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuietOffscreenWarnings();
    QApplication app(argc, argv);
    ChildOptions options;
    options.unit = static_cast<pid_t>(Argument(arguments, "--unit-pid").value_or("0").toLongLong());
    options.seconds = Argument(arguments, "--seconds").value_or("0").toInt();
    options.seed = Argument(arguments, "--seed").value_or("0").toUInt();
    options.faults =
        ParseFaults(Argument(arguments, "--faults").value_or("")).value_or(options.faults);
    if (options.unit <= 0 || options.seconds <= 0 || options.faults.empty()) {
        Tell(QStringLiteral("error bad program arguments"));
        return 2;
    }
    SoakProgram program(options);
    const int code = program.Run();
    kill(options.unit, SIGCONT);
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList arguments = Arguments(argc, argv);
    if (arguments.contains(QLatin1String("--program")))
        return RunProgramSide(argc, argv, arguments);
    QCoreApplication app(argc, argv);
    SoakOptions options;
    bool ok = true;
    if (const auto minutes = Argument(arguments, "--minutes"))
        options.minutes = minutes->toDouble(&ok);
    if (const auto seed = Argument(arguments, "--seed"); ok && seed)
        options.seed = seed->toUInt(&ok);
    options.trace = arguments.contains(QLatin1String("--trace"));
    if (const auto faults = Argument(arguments, "--faults"); ok && faults) {
        options.faults = *faults;
        ok = ParseFaults(*faults).has_value();
    }
    if (!ok || options.minutes <= 0) {
        std::fprintf(stderr,
                     "usage: bench_soak [--minutes N] [--seed S] [--faults drop,slow,late] "
                     "[--trace]\n");
        return 2;
    }
    return RunSoak(options);
}
