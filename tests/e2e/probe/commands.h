// The probe's commands. Each writes the fields of the one JSON object the probe prints and returns
// the exit code (see ExitCode in invocation.h).
#pragma once

#include "invocation.h"

// Windows (cmd_windows.cpp)
int cmdWindows(Invocation& inv, JsonWriter& out);
int cmdFind(Invocation& inv, JsonWriter& out);
int cmdForeground(Invocation& inv, JsonWriter& out);

// Contents of windows (cmd_dialog.cpp, cmd_controls.cpp, cmd_menu.cpp)
int cmdDialog(Invocation& inv, JsonWriter& out);
int cmdStatus(Invocation& inv, JsonWriter& out);
int cmdListView(Invocation& inv, JsonWriter& out);
int cmdMenu(Invocation& inv, JsonWriter& out);
int cmdPopupMenu(Invocation& inv, JsonWriter& out);

// Acting on windows (cmd_messages.cpp)
int cmdClick(Invocation& inv, JsonWriter& out);
int cmdCommand(Invocation& inv, JsonWriter& out);
int cmdCommandAll(Invocation& inv, JsonWriter& out);
int cmdPost(Invocation& inv, JsonWriter& out);
int cmdSend(Invocation& inv, JsonWriter& out);
int cmdClose(Invocation& inv, JsonWriter& out);
int cmdSetText(Invocation& inv, JsonWriter& out);
int cmdHotKey(Invocation& inv, JsonWriter& out);

// Showing and hiding windows (cmd_show.cpp)
int cmdShow(Invocation& inv, JsonWriter& out);
int cmdIdle(Invocation& inv, JsonWriter& out);

// Pictures (cmd_images.cpp)
int cmdClipboard(Invocation& inv, JsonWriter& out);
int cmdScreen(Invocation& inv, JsonWriter& out);
int cmdPixel(Invocation& inv, JsonWriter& out);

// Bars (cmd_bars.cpp)
int cmdToolbar(Invocation& inv, JsonWriter& out);
int cmdTooltip(Invocation& inv, JsonWriter& out);
// The shell: notification-area icons, resource tables of a program file (cmd_shell.cpp)
int cmdTray(Invocation& inv, JsonWriter& out);
int cmdAccelerators(Invocation& inv, JsonWriter& out);
