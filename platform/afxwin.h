// Everything the dialog code uses of the window layer, in the shape of MFC's afxwin.h and
// afxcmn.h.
#pragma once

#include "platform/app.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/image_list.h"
#include "platform/list_ctrl.h"
#include "platform/menu.h"
#include "platform/toolbar_ctrl.h"
#include "platform/tree_ctrl.h"
#include "platform/user_notifier.h"
#include "platform/win_geometry.h"
#include "platform/win_messages.h"
#include "platform/win_styles.h"
#include "platform/window.h"
