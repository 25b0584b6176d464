/* Resource, control, command and timer identifiers of Calendar.dll.
   Every identifier is defined here once; code and the resource script use
   these names. Plain #defines so that the resource compiler reads the file. */
#ifndef CALENDAR_RESOURCES_RESOURCE_H
#define CALENDAR_RESOURCES_RESOURCE_H

/* String table */
#define IDS_PROPERTIES      117
#define IDS_ABOUT           118
#define IDS_TOOLNAME        119
#define IDS_TOOLDESC        120
#define IDS_NOTICE          121
#define IDS_FIRSTDAY        122
#define IDS_WEEKNUMBERS     123
#define IDS_SELECTFONT      124
#define IDS_USEBACKGROUND   125
#define IDS_PICKDAY         126
#define IDS_MARKEDDAY       127

/* Bitmaps: the tool-type image and its transparency mask */
#define IDB_TOOLIMAGE       110
#define IDB_TOOLMASK        111

/* Dialog templates */
#define IDD_PROPERTIES      112
#define IDD_ABOUT           122

/* Controls of the tool window and of the dialogs */
#define IDC_MONTHSPIN       755
#define IDC_YEARSPIN        756
#define IDC_PAGEAPPLY       323
#define IDC_FIRSTDAYGROUP   0xFFFF  /* the group box round the first-day buttons: unnamed (-1) in a plain template */
#define IDC_FIRSTDAY0       1047  /* 1047..1053: Sunday..Saturday */
#define IDC_WEEKNUMBERS     1054
#define IDC_USEBACKGROUND   1055
#define IDC_SELECTFONT      1057
#define IDC_ABOUT           1058
#define IDC_ABOUT_NAME      1059
#define IDC_ABOUT_NOTICE    1060

/* Context-menu commands */
#define IDM_PROPERTIES      117
#define IDM_WEEKNUMBERS     119
#define IDM_SELECTFONT      120
#define IDM_FIRSTDAY0       121   /* 121..127: Sunday..Saturday */

/* Timers */
#define IDT_DAYCHECK        1313

#endif
