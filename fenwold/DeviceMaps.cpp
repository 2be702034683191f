#include "DeviceMaps.h"

CTreeItemMap g_deviceMap;
CTreeItemMap g_classMap;
