#pragma once
#include "app/Settings.h"
#include <string>
#include <vector>

// What the command line asks of this run.
struct StartOptions {
    bool simulated = false; // --simulated: the simulated unit for input and output
    bool guidePath = false; // --guide: print where the user guide is, then end
    bool help = false;      // --help
    std::vector<std::string> unknown;
    std::vector<std::string> documents; // the other arguments: document files to open
};

// The simulated unit is always the first device of both lists.
inline constexpr int kSimulatedDevice = 0;

// Reads the arguments after the program's name (the toolkit has taken its own already).
StartOptions parseStartOptions(const std::vector<std::string>& args);

// Applies the options to the settings just read: --simulated chooses device 0 both ways,
// as choosing "Simulated unit" in both device menus would (and is remembered the same way).
void applyStartOptions(const StartOptions& options, SettingsData& settings);

// The text printed for --help (and after an unknown option).
std::string startOptionsUsage();
