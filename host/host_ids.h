/* Resource, control and command identifiers of the panel host. Plain
   #defines so that the resource compiler reads the file too. */
#ifndef PANELHOST_HOST_IDS_H
#define PANELHOST_HOST_IDS_H

/* The property sheet that embeds a tool's page: OK and Cancel are IDOK and IDCANCEL */
#define IDD_HOST_SHEET 200
#define IDC_SHEET_APPLY 201

/* The panel's status line */
#define IDC_HOST_STATUS 210

/* Panel menu commands; IDM_HOST_ADD + n adds a tool of the plug-in's panel type n */
#define IDM_HOST_ADD 40100
#define IDM_HOST_REMOVE 40200
#define IDM_HOST_PROPERTIES 40201
#define IDM_HOST_EXIT 40202

/* Timer that retries closing while a modal box is open */
#define IDT_HOST_CLOSE 1
/* Timer that looks at the calendar files for changes */
#define IDT_HOST_WATCH 2

/* The property sheet's tabs, and its page of calendar files */
#define IDC_SHEET_TABS 202
#define IDD_HOST_CALENDARS 220
#define IDC_CALENDARS_LIST 221
#define IDC_CALENDARS_ADD 222
#define IDC_CALENDARS_REMOVE 223
#define IDC_CALENDARS_NOTE 224

#endif
