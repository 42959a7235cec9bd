#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include <QString>

/// Connecting to the unit and loading its state, demo mode, the remembered port and the release
/// of the unit before the port closes. The load fills the model, the preset list, the lock state
/// and the program's info.
namespace Startup {

/// The loading window's progress bar runs from 0 to this many steps.
inline constexpr int LoadSteps = 59;
/// The unit needs a moment after the release frame before the port may close.
inline constexpr int ReleaseWaitMs = 50;

/// `ConfigFolder()` + "/init.cfg": the port that last answered, as a 16-bit little-endian number.
QString InitCfgPath();
/// The remembered port; 0 when the file is missing, no regular file, unreadable or shorter than
/// 2 bytes.
std::int16_t ReadInitCfg();
/// Writes the port (creating the folder); false when it could not be written. A pipe, a device
/// or a folder under the name is left as it is.
bool WriteInitCfg(std::int16_t port);

/// If the port is open: sends the release frame 0x0F, waits `ReleaseWaitMs` when asked to, and
/// closes the port.
void ReleaseUnit(bool wait);

/// Searches for the unit, the remembered port first; remembers the port in init.cfg only when
/// the unit answered there.
bool FindUnit();

/// "A.B.B" from the identity reply: byte 3, then byte 4 twice, as the unit's software has always
/// shown it.
QString FirmwareText(std::uint8_t byte3, std::uint8_t byte4);

/// Called after each step of the load with the steps done so far (1..LoadSteps).
using Progress = std::function<void(int stepsDone)>;

/// Reads the unit's password, firmware version, lock byte, current preset, preset list and
/// setting image, in that order, into a buffer; only when every frame was answered is the
/// buffer committed to the model (the image clamped into range and applied without sending).
/// Answers false when a frame failed: the load stopped there, no reconnect was tried and the
/// program's state is as it was. In demo mode nothing is read and the answer is false.
bool LoadDeviceState(const Progress &progress = {});

/// Demo mode without a unit: `DemoMode` on, the model, the panel flags and the system flags byte
/// at their defaults with the default image, an empty preset list, the lock off, the whole state
/// shown without any transfer.
void EnterDemoMode();

/// Main window titles: after connecting and in demo mode.
QString ConnectedTitle();
QString DemoTitle();

} // namespace Startup
