// The program-wide maps from tree items back to the registry, rebuilt with
// the tree (CMainFrame::RefreshTree).
#pragma once

#include "ui/SimpleMap.h"
#include "ui/String.h"

#include <commctrl.h>

using CTreeItemMap = CSimpleMap<HTREEITEM, CString>;

// Device node -> class name + "\" + device key name (relative to ServiceOPOS).
extern CTreeItemMap g_deviceMap;
// Class root -> class name.
extern CTreeItemMap g_classMap;
