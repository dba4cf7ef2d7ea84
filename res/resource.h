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

/* Window chrome: the About box's statics, the Exit dialog's icon, the links' pointing hand. */
#define IDC_EXIT_ICON 1023
#define IDC_ABOUT_WEB 1029
#define IDC_ABOUT_MAIL 1030
#define IDC_ABOUT_PRODUCT 1031
#define IDC_ABOUT_VERSION 1037
#define IDC_LINK_HAND 159

/* Status bar panes are made as separators with this identifier. */
#define ID_STATUS_PANE 61205

#endif
