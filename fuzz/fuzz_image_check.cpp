// Any bytes as a parameter image: the check and the clamp must agree, and a clamped image must be
// safe to show and send in full.
#include <cstdlib>

#include "FuzzInput.h"
#include "link/ModTxRx.h"
#include "model/ImageCheck.h"
#include "model/ModFun.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::uint8_t> bytes(data, data + size);
    const std::size_t badBefore = ImageCheck::FindBadCodes(bytes).size();
    for (const ImageCheck::BadCode &bad : ImageCheck::FindBadCodes(bytes))
        (void)ImageCheck::Describe(bad);
    const int changed = ImageCheck::ClampCodes(bytes);
    if ((badBefore == 0) != (changed == 0) || !ImageCheck::FindBadCodes(bytes).empty())
        std::abort();

    ResetProgramWithSerial(nullptr);
    ModTxRx::state.DemoMode = true;
    auto &image = ModFun::state.ParamImage;
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    ModFun::SendWholeState();
    ModFun::LinkCopyAToB();
    return 0;
}
