#pragma once
// Everything of the framework a program or library includes.
#include "framework/control_bar.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/file_dialog.h"
#include "framework/doc_template.h"
#include "framework/frame_wnd.h"
#include "framework/gdi.h"
#include "framework/message_map.h"
#include "framework/resource_ids.h"
#include "framework/view.h"
#include "framework/win_app.h"
#include "framework/wnd.h"
