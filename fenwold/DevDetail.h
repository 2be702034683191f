// Details of device: a read-only property page showing six string values of
// one device key.  The caller sets m_keyPath (below HKEY_LOCAL_MACHINE) and
// runs the page in a property sheet; the page writes nothing.
#pragma once

#include "resource.h"
#include "ui/PropertySheet.h"
#include "ui/String.h"

class CDevDetail : public CPropertyPage<IDD_DEV_DETAIL> {
public:
    CString m_keyPath;

    BEGIN_MSG_MAP(CDevDetail)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
};
