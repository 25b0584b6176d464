/* Hosts may be written in C: the public header must compile as C, and its
   layout checks then hold for a C compiler too. */
#include "plugin/caltool.h"

int CalHeaderCompilesAsC(void)
{
    CalToolSettings settings;
    settings.firstDay = 0;
    return (int)sizeof settings + settings.firstDay;
}
