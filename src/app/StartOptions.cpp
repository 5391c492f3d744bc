#include "app/StartOptions.h"

StartOptions parseStartOptions(const std::vector<std::string>& args) {
    StartOptions options;
    for (const std::string& arg : args) {
        if (arg == "--simulated")
            options.simulated = true;
        else if (arg == "--guide")
            options.guidePath = true;
        else if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (!arg.empty() && arg[0] == '-')
            options.unknown.push_back(arg);
        else
            options.documents.push_back(arg);
    }
    return options;
}

void applyStartOptions(const StartOptions& options, SettingsData& settings) {
    if (!options.simulated) return;
    settings.MIDIOutDevice = kSimulatedDevice;
    settings.MIDIInDevice = kSimulatedDevice;
}

std::string startOptionsUsage() {
    return "Usage: zephalon [--simulated] [--guide] [document...]\n"
           "  --simulated  use the simulated unit as MIDI output and input device\n"
           "  --guide      print the path of the user guide the Help menu opens, then end\n"
           "  document     a curve (.crva) or other document file to open at start\n"
           "The settings and data files are kept in the current folder.\n";
}
