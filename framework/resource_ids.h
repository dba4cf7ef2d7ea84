// The framework's standard identifiers (usable from resource scripts: #defines only).
#ifndef TESSALY_FRAMEWORK_RESOURCE_IDS_H
#define TESSALY_FRAMEWORK_RESOURCE_IDS_H

#define ID_SEPARATOR 0

#define AFX_IDS_APP_TITLE 0xE000   /* 57344: the application's name */
#define AFX_IDS_IDLEMESSAGE 0xE001

#define ID_FILE_NEW 0xE100         /* 57600 */
#define ID_FILE_OPEN 0xE101        /* 57601 */
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104     /* 57604 */
#define ID_APP_ABOUT 0xE140        /* 57664 */
#define ID_APP_EXIT 0xE141         /* 57665 */
#define ID_HELP 0xE146             /* 57670 */

#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F
#define AFX_IDW_PANE_FIRST 0xE900

#define AFX_IDP_PARSE_INT 0xF110   /* "Please enter an integer." */

/* Private framework messages. */
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364
#define WM_RECALCPARENT 0x0368     /* a delayed relayout of the frame is due */

#endif
