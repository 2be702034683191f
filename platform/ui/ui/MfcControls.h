// Control wrappers under the other framework's names, where its calls differ.
#pragma once

#include "ui/Controls.h"

class CListCtrl : public CListViewCtrl {
public:
    CListCtrl& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }
    // Replaces every extended style with `style`.
    DWORD SetExtendedStyle(DWORD style) const { return SetExtendedListViewStyle(style, 0); }
};
