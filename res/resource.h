// Resource identifiers of Tessaly.exe (#defines only: shared by the resource script and the code).
#ifndef TESSALY_RES_RESOURCE_H
#define TESSALY_RES_RESOURCE_H

#include "framework/resource_ids.h"

#define IDR_MAINFRAME 128        /* menu, accelerators, toolbar, icon, document string */
#define IDR_TRAYMENU 130         /* the notification-area icon's popup menu */

/* Dialogs */
#define IDD_ABOUTBOX 100
#define IDD_SAVE_TEMPLATE 135
#define IDD_JPEG_OPTIONS 136
#define IDD_IMAGE_INFO 137
#define IDD_RESIZE 148
#define IDD_ROTATE 149
#define IDD_EXIT 154

/* Controls */
#define IDC_INFO_TEXT 1002
#define IDC_SAVE_SETTING 1009
#define IDC_JPEG_SMOOTHING 1000
#define IDC_JPEG_GRAY 1001
#define IDC_JPEG_QUALITY_EDIT 1002
#define IDC_JPEG_PROGRESSIVE 1008
#define IDC_JPEG_QUALITY_TRACKBAR 1019
#define IDC_JPEG_QUALITY_SPIN 1020

/* Commands */
#define ID_SETTING_CAPTURE_CONFIGURE 32772
#define ID_CAPTURE_DEFAULT 32773
#define ID_FILE_OPEN_IMAGE 32774
#define ID_SHOW_EDITOR 32775
#define ID_FILE_SAVE_IMAGE 32776
#define ID_EDIT_CLEAR_IMAGE 32777
#define ID_EDIT_UNDO_STEP 32782
#define ID_EDIT_REDO_STEP 32783
#define ID_EDIT_COPY_IMAGE 32784
#define ID_TOOL_SELECT 32785
#define ID_ZOOM_OUT 32791
#define ID_ZOOM_IN 32792
#define ID_EDIT_CROP 32793
#define ID_EDIT_RESIZE 32795
#define ID_TOOL_MOVE 32796
#define ID_EDIT_ROTATE 32798
#define ID_EDIT_COPY_SELECTION 32799
#define ID_VIEW_TOOLBAR_BAR 32800
#define ID_VIEW_STATUS_BAR 32806
#define ID_SETTING_BACKGROUND_COLOR 32807
#define ID_HELP_CHECK_UPGRADE 32808
#define ID_HELP_VISIT_WEBSITE 32809
#define ID_HELP_TECHNICAL_SUPPORT 32810
#define ID_VIEW_HISTORY 32811
#define ID_HISTORY_DELETE_FILES 32812
#define ID_HISTORY_DELETE_ALL_FILES 32813
#define ID_HISTORY_DELETE_UNAVAILABLE_LINKS 32814
#define ID_HISTORY_DELETE_LINKS 32815
#define ID_HISTORY_ADD_LINKS 32818
#define ID_CAPTURE_FULL_SCREEN 32819
#define ID_CAPTURE_ACTIVE_WINDOW 32820
#define ID_CAPTURE_WINDOW_CONTROL 32821
#define ID_CAPTURE_RECTANGLE 32822
#define ID_HISTORY_VIEW_FILE 32824
#define ID_CAPTURE_DIRECTX_NOTE 32832
/* The editor's drawing tools, in the order of their kinds; then their colour and widths. */
#define ID_ANNOTATE_PEN 33100
#define ID_ANNOTATE_ARROW 33101
#define ID_ANNOTATE_RECTANGLE 33102
#define ID_ANNOTATE_HIGHLIGHTER 33103
#define ID_ANNOTATE_TEXT 33104
#define ID_ANNOTATE_PIXELATE 33105
#define ID_ANNOTATE_COLOUR 33106
#define ID_ANNOTATE_WIDTH_2 33107
#define ID_ANNOTATE_WIDTH_4 33108
#define ID_ANNOTATE_WIDTH_8 33109

/* Configure sheet: the "Capture" and "Edit" pages */
#define IDD_CAPTURE_PAGE 133
#define IDD_SAVE_PAGE 134
#define IDC_CAPPAGE_SAVE_ON_EXIT 1000
#define IDC_CAPPAGE_HOTKEY 1003
#define IDC_CAPPAGE_ACTIVE_WINDOW 1005
#define IDC_CAPPAGE_WINDOW_CONTROL 1006
#define IDC_CAPPAGE_RECTANGLE 1007
#define IDC_CAPPAGE_RUN_AT_STARTUP 1008
#define IDC_CAPPAGE_FULL_SCREEN 1010
#define IDC_CAPPAGE_PLAY_SOUND 1012
#define IDC_CAPPAGE_SHOW_INFO 1013
#define IDC_CAPPAGE_DIRECTX 1044
#define IDC_EDITPAGE_COPY_TO_CLIPBOARD 1000
#define IDC_EDITPAGE_SAVE_TO_FILE 1001
#define IDC_EDITPAGE_DIRECTORY 1002
#define IDC_EDITPAGE_BROWSE 1003
#define IDC_EDITPAGE_SAVE_AS 1004
#define IDC_EDITPAGE_BASE_NAME 1006
#define IDC_EDITPAGE_FORMAT 1007
#define IDC_EDITPAGE_SHOW_EDITOR 1008
#define IDC_EDITPAGE_SETTING 1009
#define IDC_EDITPAGE_AUTO_SAVE 1011
#define IDC_EDITPAGE_SAVING_GROUP 1014
#define IDC_EDITPAGE_DIRECTORY_LABEL 1015
#define IDC_EDITPAGE_BASE_NAME_LABEL 1016
#define IDC_EDITPAGE_FORMAT_LABEL 1017
#define IDC_EDITPAGE_AFTER_CAPTURE_GROUP 1018
#define IDC_EDITPAGE_SPIN 1020
#define IDC_EDITPAGE_START 1040
#define IDC_EDITPAGE_START_LABEL 1041
#define IDC_EDITPAGE_SAMPLE 1043
/* The image editor: cursors and the controls of the Resize and Rotate dialogs. */
#define IDC_CURSOR_CLOSED_HAND 146  /* panning, hot spot (7, 20) */
#define IDC_CURSOR_OPEN_HAND 147    /* Move tool, button up, hot spot (7, 20) */
#define IDC_CURSOR_SELECT 186       /* Select tool: crosshair with a small picture, hot spot (5, 13) */
#define IDC_RESIZE_WIDTH 1022
#define IDC_RESIZE_HEIGHT 1006
#define IDC_RESIZE_KEEP_RATIO 1008
#define IDC_RESIZE_RESET 1009
#define IDC_ROTATE_90 1004          /* sets rotation code 270 */
#define IDC_ROTATE_180 1005         /* sets rotation code 180 */
#define IDC_ROTATE_270 1006         /* sets rotation code 90 */
/* History list */
#define IDD_DELETE_FILES 187
#define IDC_DELETE_QUESTION 1042
/* Window chrome: the About box's statics, the Exit dialog's icon, the links' pointing hand. */
#define IDC_EXIT_ICON 1023
#define IDC_ABOUT_WEB 1029
#define IDC_ABOUT_MAIL 1030
#define IDC_ABOUT_PRODUCT 1031
#define IDC_ABOUT_VERSION 1037
#define IDC_LINK_HAND 159

/* The toolbar's images drawn larger, for larger display scales. */
#define IDB_TOOLBAR_24 33350
#define IDB_TOOLBAR_32 33351

/* Capture options: the monitor under the pointer, the delay, the mouse pointer; history rows as files */
#define ID_CAPTURE_MONITOR 33250
#define ID_CAPTURE_DELAY_0 33260     /* the delay commands are 33260 + seconds */
#define ID_CAPTURE_DELAY_1 33261
#define ID_CAPTURE_DELAY_3 33263
#define ID_CAPTURE_DELAY_5 33265
#define ID_CAPTURE_DELAY_10 33270
#define ID_HISTORY_COPY_FILE 33280
#define ID_HISTORY_OPEN_FOLDER 33281
#define IDC_CAPPAGE_MONITOR 33290
#define IDC_CAPPAGE_INCLUDE_POINTER 33291
#define IDC_CAPPAGE_DELAY 33292
#define IDC_CAPPAGE_DELAY_LABEL 33293

/* Status bar panes are made as separators with this identifier. */
#define ID_STATUS_PANE 61205

#endif
