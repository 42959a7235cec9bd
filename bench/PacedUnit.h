#pragma once

#include <cstdio>

#include "TemporaryConfig.h"
#include "VirtualUnit.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"

/// The program's link on the virtual unit paced at 9600 baud as COM1, inside a temporary
/// configuration, for the benchmarks.
struct PacedUnit
{
    static constexpr int Port = 1;

    /// Starts the unit (keeping its log when `log`) and connects to it; false, told on stderr,
    /// when it did not come up or did not answer.
    bool Connect(bool log)
    {
        ModTxRx::state.SerialPort = &serial;
        if (!unit.Start({Port, {"--pace"}, log})) {
            std::fprintf(stderr, "virtual unit: %s\n", qPrintable(unit.ErrorString()));
            return false;
        }
        ModTxRx::state.ComPort = Port;
        if (!ModTxRx::ConnectDevice()) {
            std::fprintf(stderr, "the virtual unit did not answer\n");
            return false;
        }
        return true;
    }

    TemporaryConfig config;
    QtSerialComponent serial;
    VirtualUnit unit;
};
