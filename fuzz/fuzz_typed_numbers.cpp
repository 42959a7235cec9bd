// Any text typed into a numeric box: parsing, every snapping use and the key filter must give
// results inside their ranges.
#include <cmath>

#include <QString>

#include "FuzzInput.h"
#include "editors/newMod.h"
#include "shell/ModCountry.h"

namespace {

void SnapEverywhere(double x)
{
    const double gate = newMod::SnapGateThreshold(x);
    Require(gate >= -90 && gate <= -60);
    Require(newMod::GateReleaseIndex(x) >= 0 && newMod::GateReleaseIndex(x) <= 8);
    Require(newMod::GateAttackIndex(x) >= 0 && newMod::GateAttackIndex(x) <= 5);
    const double gain = newMod::SnapFilterGain(x);
    Require(gain >= -15 && gain <= 15);
    Require(newMod::QIndexOf(x) >= 0 && newMod::QIndexOf(x) <= 220);
    const double threshold = newMod::SnapLimiterThreshold(x);
    Require(threshold >= -30 && threshold <= 0);
    Require(newMod::LimiterReleaseIndex(x) >= 0 && newMod::LimiterReleaseIndex(x) <= 205);
    Require(newMod::LimiterAttackIndex(x) >= 0 && newMod::LimiterAttackIndex(x) <= 49);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    ModCountry::CommaLocale = data[0] & 1;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    bool ok = false;
    const double value = ModCountry::ParseNumber(text, &ok);
    if (ok) {
        Require(std::isfinite(value));
        SnapEverywhere(value);
        (void)ModCountry::NumberText(value);
    }
    for (std::size_t i = 1; i < size; ++i)
        (void)newMod::FilterKey(data[i], ModCountry::CommaLocale);
    return 0;
}
