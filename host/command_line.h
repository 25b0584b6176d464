// The host's command line, read without the platform:
//   PanelHost [--settings FILE] [--calendar FILE.ics]... [--screenshot FILE.png] [PLUGIN.dll]
#ifndef PANELHOST_COMMAND_LINE_H
#define PANELHOST_COMMAND_LINE_H

#include <string>
#include <vector>

struct HostOptions {
    std::string plugin;      // empty: the default library beside the program
    std::string settings;    // empty: the per-user default file
    std::string screenshot;  // non-empty: render a picture to this file and exit
    std::vector<std::string> calendars;  // iCalendar files read for this run, besides the kept ones
    bool help = false;
    std::string error;  // non-empty: the command line could not be read
};

// args without the program's own name.
HostOptions HostParseCommandLine(const std::vector<std::string>& args);

extern const char kHostUsage[];

#endif
