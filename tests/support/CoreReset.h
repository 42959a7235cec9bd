#pragma once

#include "editors/Meters.h"
#include "graph/FilterEdit.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingHistory.h"
#include "model/SystemFlags.h"
#include "presets/ModPreset.h"
#include "shell/AppInfo.h"
#include "shell/ModCountry.h"

/// Every core module's state as at start-up: tests call it before and after each case, so no
/// case sees what another left behind.
inline void ResetTheCore()
{
    ModTxRx::Reset();
    ModFun::Reset();
    PanelFlags::Reset();
    SystemFlags::Reset();
    ModFun::history().Clear();
    ModFun::history().MarkSaved();
    ModGraph::Reset();
    FilterEdit::Reset();
    ModPreset::Reset();
    ModLock::Reset();
    Meters::Reset();
    AppInfo::Reset();
    ModCountry::CommaLocale = 0;
}
