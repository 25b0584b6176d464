#include "host/command_line.h"

const char kHostUsage[] =
    "usage: PanelHost [--settings FILE] [--calendar FILE.ics]... [--screenshot FILE.png] [PLUGIN.dll]\n"
    "  PLUGIN.dll         the plug-in to load (default: Calendar.dll beside PanelHost.exe)\n"
    "  --settings FILE    where the panel keeps its calendars (default: PanelHost\\panel.settings\n"
    "                     in the user's application-data folder)\n"
    "  --calendar FILE    an iCalendar file whose events mark the calendars' days, read for\n"
    "                     this run besides those kept in the settings; may be repeated\n"
    "  --screenshot FILE  show a panel of sample calendars, save a PNG picture of it and exit;\n"
    "                     no settings file is read or written\n";

HostOptions HostParseCommandLine(const std::vector<std::string>& args)
{
    HostOptions o;
    for (size_t i = 0; i < args.size() && o.error.empty(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h" || a == "/?") {
            o.help = true;
        } else if (a == "--settings" || a == "--screenshot" || a == "--calendar") {
            if (i + 1 == args.size() || args[i + 1].empty())
                o.error = a + " needs a file name";
            else if (a == "--calendar")
                o.calendars.push_back(args[++i]);
            else
                (a == "--settings" ? o.settings : o.screenshot) = args[++i];
        } else if (a.starts_with("--")) {
            o.error = "unknown option " + a;
        } else if (!o.plugin.empty()) {
            o.error = "only one plug-in can be given (" + o.plugin + ", " + a + ")";
        } else {
            o.plugin = a;
        }
    }
    return o;
}
