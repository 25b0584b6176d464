// Telling the user what went wrong. The host is a GUI program: a message
// goes to the standard error handle when it was started with one (from a
// terminal, or by a program with redirected pipes); only a program started
// without one, interactively, gets a message box.
#ifndef PANELHOST_REPORT_H
#define PANELHOST_REPORT_H

#include <string>

// Writes one line to the standard error handle; false when there is none.
bool HostWriteError(const std::string& text);
// Writes one line to the standard output handle; false when there is none.
bool HostWriteOutput(const std::string& text);
// A message that ends the program: standard error, or else a message box.
void HostReportFatal(const std::string& text);

#endif
