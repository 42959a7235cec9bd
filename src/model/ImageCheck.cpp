#include "model/ImageCheck.h"

#include "model/ValueTables.h"

namespace ImageCheck {

namespace {

using namespace ValueTables;

struct Field
{
    int index;
    int last;
    QString what;
    /// The delay: two bytes, most significant first.
    bool wide = false;
};

void AddBlockFields(std::vector<Field> &fields, int channel)
{
    const QString name = channel == 0 ? QStringLiteral("channel A ") : QStringLiteral("channel B ");
    for (int k = 0; k < BandsPerChannel; ++k) {
        const int at = EqBandOffsets[channel * BandsPerChannel + k];
        const QString band = name + QStringLiteral("band %1 ").arg(k + 1);
        fields.push_back({at, LastGainCode, band + QStringLiteral("gain")});
        fields.push_back({at + 1, LastFreqCode, band + QStringLiteral("frequency")});
        fields.push_back({at + 2, LastQCode, band + QStringLiteral("Q")});
    }
    const int limiter = LimiterOffsets[channel];
    fields.push_back({limiter, LastAttackCode, name + QStringLiteral("limiter attack")});
    fields.push_back({limiter + 1, LastReleaseCode, name + QStringLiteral("limiter release")});
    fields.push_back({limiter + 2, LastThresholdCode, name + QStringLiteral("limiter threshold")});
    for (int kind = 0; kind < 2; ++kind) {
        const int at = CrossoverOffsets[2 * channel + kind];
        const QString filter =
            name + (kind == 0 ? QStringLiteral("high-pass ") : QStringLiteral("low-pass "));
        fields.push_back({at, LastFreqCode, filter + QStringLiteral("frequency")});
        fields.push_back({at + 1, LastSlopeCode, filter + QStringLiteral("slope")});
    }
    const int delay = DelayOffsets[channel];
    fields.push_back({delay, LastDelayMs, name + QStringLiteral("delay"), true});
    fields.push_back({delay + 2, LastDelayFineCode, name + QStringLiteral("delay fine part")});
    const int gate = GateOffsets[channel];
    fields.push_back({gate + 1, LastGateThresholdCode, name + QStringLiteral("gate threshold")});
    fields.push_back({gate + 2, LastGateTimeCode, name + QStringLiteral("gate time")});
    fields.push_back({gate + 3, LastGateAttackCode, name + QStringLiteral("gate attack")});
}

/// Every checked code of an image in byte order, built once.
const std::vector<Field> &Fields()
{
    static const std::vector<Field> fields = [] {
        std::vector<Field> all;
        AddBlockFields(all, 0);
        AddBlockFields(all, 1);
        return all;
    }();
    return fields;
}

bool Fits(const Field &field, std::size_t size)
{
    return static_cast<std::size_t>(field.index + (field.wide ? 1 : 0)) < size;
}

int ValueOf(const Field &field, std::span<const std::uint8_t> image)
{
    const int at = field.index;
    return field.wide ? image[at] * 256 + image[at + 1] : image[at];
}

} // namespace

std::vector<BadCode> FindBadCodes(std::span<const std::uint8_t> image)
{
    std::vector<BadCode> bad;
    for (const Field &field : Fields()) {
        if (!Fits(field, image.size()))
            continue;
        const int value = ValueOf(field, image);
        if (value > field.last)
            bad.push_back({field.index, value, field.what, field.last});
    }
    return bad;
}

QString Describe(const BadCode &bad)
{
    return QStringLiteral("byte %1 holds %2 (%3, 0..%4)")
        .arg(bad.byteIndex)
        .arg(bad.value)
        .arg(bad.what)
        .arg(bad.last);
}

int ClampCodes(std::span<std::uint8_t> image)
{
    int changed = 0;
    for (const Field &field : Fields()) {
        if (!Fits(field, image.size()) || ValueOf(field, image) <= field.last)
            continue;
        if (field.wide) {
            image[field.index] = static_cast<std::uint8_t>(field.last / 256);
            image[field.index + 1] = static_cast<std::uint8_t>(field.last % 256);
        } else {
            image[field.index] = static_cast<std::uint8_t>(field.last);
        }
        ++changed;
    }
    return changed;
}

} // namespace ImageCheck
