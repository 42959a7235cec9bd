#include "eqimport/EqText.h"

#include <algorithm>
#include <cmath>

#include <QRegularExpression>
#include <QStringConverter>

#include "shell/FileAccess.h"

namespace EqText {

namespace {

/// The ranges of values taken as meant; beyond them a line is refused as misread.
struct Range
{
    double low;
    double high;
};
constexpr Range FrequencyRange{1, 1e6};
constexpr Range GainRange{-100, 100};
constexpr Range QRange{0.01, 1000};
constexpr Range OctaveRange{0.01, 20};

const QRegularExpression &FilterLine()
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*Filter\\s*\\d*\\s*:(.*)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

const QRegularExpression &PreampLine()
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*Preamp\\s*:(.*)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

bool Is(const QString &token, const char *word)
{
    return token.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

/// The tokens of a line body, consumed from the front.
class Tokens
{
public:
    /// A unit written onto its number ("100Hz", "-3dB") is a token of its own.
    explicit Tokens(QString body)
    {
        static const QRegularExpression gluedUnit(QStringLiteral("(\\d)(kHz|Hz|dB)\\b"),
                                                  QRegularExpression::CaseInsensitiveOption);
        body.replace(gluedUnit, QStringLiteral("\\1 \\2"));
        list = body.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }

    bool AtEnd() const { return next >= list.size(); }
    QString Peek() const { return AtEnd() ? QString() : list[next]; }
    QString Take() { return AtEnd() ? QString() : list[next++]; }
    /// Takes the next token when it is `word`.
    bool TakeIf(const char *word)
    {
        if (AtEnd() || !Is(list[next], word))
            return false;
        ++next;
        return true;
    }

private:
    QStringList list;
    qsizetype next = 0;
};

/// A number with a point or a comma as its decimal separator, times `scale`, within `range` (so
/// finite); else nothing, with the error.
std::optional<double> Number(const QString &token, Range range, QString &error, double scale = 1)
{
    QString text = token;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok) * scale;
    if (ok && value >= range.low && value <= range.high)
        return value;
    error = token.isEmpty() ? QStringLiteral("a number is missing")
                            : QStringLiteral("'%1' is no number from %2 to %3")
                                  .arg(token)
                                  .arg(range.low, 0, 'g', 10)
                                  .arg(range.high, 0, 'g', 10);
    return std::nullopt;
}

/// The values after the type of an enabled peaking filter: Fc, Gain, and Q or BW Oct, in any
/// order, each once.
QString ReadPeakingValues(Tokens &tokens, Filter &filter)
{
    QString error;
    std::optional<double> frequency, gain, q;
    while (!tokens.AtEnd() && error.isEmpty()) {
        const QString key = tokens.Take();
        if (Is(key, "Fc") && !frequency) {
            const QString number = tokens.Take();
            const double scale = tokens.TakeIf("kHz") ? 1000 : 1;
            if (scale == 1)
                tokens.TakeIf("Hz");
            frequency = Number(number, FrequencyRange, error, scale);
        } else if (Is(key, "Gain") && !gain) {
            gain = Number(tokens.Take(), GainRange, error);
            tokens.TakeIf("dB");
        } else if (Is(key, "Q") && !q) {
            q = Number(tokens.Take(), QRange, error);
        } else if (Is(key, "BW") && !q) {
            tokens.TakeIf("Oct");
            if (const auto octaves = Number(tokens.Take(), OctaveRange, error))
                q = QOfOctaves(*octaves);
        } else {
            error = QStringLiteral("'%1' is not expected here").arg(key);
        }
    }
    if (!error.isEmpty())
        return error;
    if (!frequency || !gain || !q)
        return QStringLiteral("a peaking filter needs Fc, Gain and Q (or BW Oct)");
    filter.frequencyHz = *frequency;
    filter.gainDb = *gain;
    filter.q = *q;
    return {};
}

/// The part after "Filter n:": [ON|OFF] TYPE values. Answers why it cannot be read.
QString ReadFilterBody(const QString &body, Filter &filter)
{
    Tokens tokens(body);
    const bool off = tokens.TakeIf("OFF");
    if (!off)
        tokens.TakeIf("ON");
    if (tokens.AtEnd())
        return QStringLiteral("the filter type is missing");
    const QString type = tokens.Take();
    if (Is(type, "None"))
        filter.skipped = QStringLiteral("no filter (None)");
    else if (off)
        filter.skipped = QStringLiteral("switched off");
    else if (!Is(type, "PK") && !Is(type, "PEQ"))
        filter.skipped = QStringLiteral("type %1: the unit has peaking bands only").arg(type);
    return filter.skipped.isEmpty() ? ReadPeakingValues(tokens, filter) : QString();
}

QString ReadPreamp(const QString &body, Read &read)
{
    Tokens tokens(body);
    QString error;
    read.preampDb = Number(tokens.Take(), GainRange, error);
    tokens.TakeIf("dB");
    if (error.isEmpty() && !tokens.AtEnd())
        error = QStringLiteral("'%1' is not expected here").arg(tokens.Peek());
    return error;
}

/// Reads one line into `read`; answers why it cannot be read.
QString ReadLine(int number, const QString &line, Read &read)
{
    if (const auto match = PreampLine().match(line); match.hasMatch())
        return ReadPreamp(match.captured(1), read);
    const auto match = FilterLine().match(line);
    if (!match.hasMatch())
        return {};
    Filter filter;
    filter.line = number;
    filter.text = line.simplified();
    const QString error = ReadFilterBody(match.captured(1), filter);
    read.filters.push_back(filter);
    return error;
}

QString Decode(const QByteArray &bytes)
{
    const auto encoding = QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8);
    QStringDecoder decoder(encoding);
    return decoder(bytes);
}

Read Refused(const QString &why)
{
    Read read;
    read.refusal = why;
    return read;
}

} // namespace

bool Read::HasUsable() const
{
    return std::any_of(filters.begin(), filters.end(),
                       [](const Filter &filter) { return filter.skipped.isEmpty(); });
}

double QOfOctaves(double octaves)
{
    const double power = std::exp2(octaves);
    return std::sqrt(power) / (power - 1);
}

Read ReadText(const QByteArray &bytes)
{
    if (bytes.size() > MaxBytes)
        return Refused(QStringLiteral("the file is larger than %1 KiB").arg(MaxBytes / 1024));
    const QStringList lines =
        Decode(bytes).split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")));
    Read read;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString error = ReadLine(static_cast<int>(i + 1), lines[i], read);
        if (!error.isEmpty())
            return Refused(QStringLiteral("line %1 cannot be read: '%2' (%3)")
                               .arg(i + 1)
                               .arg(lines[i].simplified().left(120), error));
    }
    if (!read.HasUsable())
        return Refused(read.filters.empty()
                           ? QStringLiteral("no filter line found")
                           : QStringLiteral("no usable filter: each of the %1 filters is "
                                            "switched off or of a type the unit lacks")
                                 .arg(read.filters.size()));
    return read;
}

Read ReadFile(const QString &path)
{
    const FileAccess::FileStart start = FileAccess::ReadStart(path, MaxBytes + 1);
    if (start.kind == FileAccess::Kind::Missing)
        return Refused(QStringLiteral("%1 does not exist").arg(path));
    if (start.kind != FileAccess::Kind::Regular)
        return Refused(QStringLiteral("%1 is %2").arg(path, FileAccess::Describe(start.kind)));
    if (!start.error.isEmpty())
        return Refused(start.error);
    return ReadText(start.bytes);
}

} // namespace EqText
