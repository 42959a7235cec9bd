#pragma once

#include <functional>

class QWidget;

/// The overview panel starts every editor and preset action through here, so that the panel
/// does not depend on each window. `RegisterAllWindows` fills the table at start-up.
namespace WindowOpeners {

enum class Action {
    NoiseGate, ///< noise gate editor
    Filter, ///< crossover filter and equaliser editor (channel in FilterChannel)
    Delay, ///< delay editor
    Limiter, ///< limiter editor (channel in LimiterChannel)
    About, ///< about window
    PresetFromPc, ///< load a preset file
    PresetToPc, ///< save a preset file
    PresetToDevice, ///< store window
    PresetFromDevice, ///< read window
    Password, ///< password and lock window
    Copy, ///< channel copy window
    FactoryFromPc, ///< load a factory preset file
    FactoryToPc, ///< save a factory preset file
};

using Opener = std::function<void(QWidget *parent)>;

void Register(Action action, Opener opener);
/// Runs the action (modal windows return when closed); false when nothing is registered for it.
bool Run(Action action, QWidget *parent);
bool IsRegistered(Action action);
void Reset();

/// Registers every window and action of the program.
void RegisterAllWindows();

} // namespace WindowOpeners
