// The main frame: the OPOS device tree on the left, the selected node's
// devices or logical names on the right, command bar, tool bar, status bar.
#pragma once

#include "resource.h"
#include "ui/CommandBar.h"
#include "ui/Controls.h"
#include "ui/Frame.h"
#include "ui/MessageLoop.h"
#include "ui/Splitter.h"
#include "ui/UpdateUI.h"

class CMainFrame : public CFrameWindowImpl<CMainFrame>,
                   public CUpdateUI<CMainFrame>,
                   public CMessageFilter,
                   public CIdleHandler {
public:
    DECLARE_FRAME_WND_CLASS(L"Fenwold_MainFrame", IDR_MAINFRAME)

    CSplitterWindowT<true> m_splitter;
    CPaneContainer m_pane;
    CTreeViewCtrl m_tree;
    CListViewCtrl m_list;
    CCommandBarCtrl m_cmdBar;
    // Both lists belong to m_list, which destroys them with itself (it has
    // no LVS_SHAREIMAGELISTS); the tree only borrows m_imagesSmall.
    CImageList m_imagesSmall;
    CImageList m_imagesLarge;
    int m_maxCom = 0;
    int m_maxLpt = 0;
    CString m_oldLdn;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle() override;

    // Rebuilds the tree and the two maps from the registry, then checks the
    // registered POSPrinter control object.
    void RefreshTree();

    BEGIN_UPDATE_UI_MAP(CMainFrame)
        UPDATE_ELEMENT(ID_VIEW_LARGEICON, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_VIEW_SMALLICON, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_VIEW_LIST, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_VIEW_DETAILS, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_VIEW_TOOLBAR, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_STATUS_BAR, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_EDIT_CUT, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_EDIT_COPY, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_EDIT_PASTE, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_DEVICE_SETTINGS, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_COMM_SETTINGS, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_DELETE, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_CHECKHEALTH, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
    END_UPDATE_UI_MAP()

    BEGIN_MSG_MAP(CMainFrame)
        COMMAND_ID_HANDLER(ID_REFRESH, OnRefresh)
        COMMAND_ID_HANDLER(ID_DELETE, OnDeleteDevice)
        COMMAND_ID_HANDLER(ID_DELETE_LDN, OnDeleteLdn)
        COMMAND_ID_HANDLER(ID_ADD_DEVICE, OnAddDevice)
        COMMAND_ID_HANDLER(ID_ADD_LDN, OnAddLdn)
        COMMAND_ID_HANDLER(ID_RENAME_LDN, OnRenameLdn)
        NOTIFY_CODE_HANDLER(LVN_ENDLABELEDITW, OnEndLabelEdit)
        NOTIFY_CODE_HANDLER(LVN_BEGINLABELEDITW, OnBeginLabelEdit)
        COMMAND_ID_HANDLER(ID_COMM_SETTINGS, OnCommSettings)
        COMMAND_ID_HANDLER(ID_PROPERTY, OnProperty)
        COMMAND_ID_HANDLER(ID_PORT_RANGE, OnPortRange)
        NOTIFY_CODE_HANDLER(NM_RCLICK, OnRClick)
        NOTIFY_CODE_HANDLER(NM_DBLCLK, OnListDblClk)
        NOTIFY_CODE_HANDLER(TVN_SELCHANGEDW, OnTreeSelChanged)
        COMMAND_ID_HANDLER(ID_VIEW_DETAILS, OnViewStyle)
        COMMAND_ID_HANDLER(ID_VIEW_LIST, OnViewStyle)
        COMMAND_ID_HANDLER(ID_VIEW_SMALLICON, OnViewStyle)
        COMMAND_ID_HANDLER(ID_VIEW_LARGEICON, OnViewStyle)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        COMMAND_ID_HANDLER(ID_APP_EXIT, OnFileExit)
        COMMAND_ID_HANDLER(ID_FILE_NEW, OnFileNew)
        COMMAND_ID_HANDLER(ID_VIEW_TOOLBAR, OnViewToolBar)
        COMMAND_ID_HANDLER(ID_VIEW_STATUS_BAR, OnViewStatusBar)
        COMMAND_ID_HANDLER(ID_APP_ABOUT, OnAppAbout)
        COMMAND_ID_HANDLER(ID_CHECKHEALTH, OnCheckHealth)
        CHAIN_MSG_MAP(CUpdateUI<CMainFrame>)
        CHAIN_MSG_MAP(CFrameWindowImpl<CMainFrame>)
    END_MSG_MAP()

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
    LRESULT OnFileExit(WORD, WORD, HWND, BOOL&);
    LRESULT OnFileNew(WORD, WORD, HWND, BOOL&);
    LRESULT OnViewToolBar(WORD, WORD, HWND, BOOL&);
    LRESULT OnViewStatusBar(WORD, WORD, HWND, BOOL&);
    LRESULT OnAppAbout(WORD, WORD, HWND, BOOL&);
    // Interactive CheckHealth of the selected device (CheckHealth.cpp).
    LRESULT OnCheckHealth(WORD, WORD, HWND, BOOL&);

    // Commands that change the device tree (MainFrmCommands.cpp).
    LRESULT OnRefresh(WORD, WORD, HWND, BOOL&);
    LRESULT OnDeleteDevice(WORD, WORD, HWND, BOOL&);
    LRESULT OnDeleteLdn(WORD, WORD, HWND, BOOL&);
    LRESULT OnAddDevice(WORD, WORD, HWND, BOOL&);
    LRESULT OnAddLdn(WORD, WORD, HWND, BOOL&);
    LRESULT OnRenameLdn(WORD, WORD, HWND, BOOL&);
    LRESULT OnBeginLabelEdit(int, LPNMHDR, BOOL&);
    LRESULT OnEndLabelEdit(int, LPNMHDR, BOOL&);

    // Tree and list (MainFrmSelection.cpp).
    LRESULT OnViewStyle(WORD, WORD, HWND, BOOL&);
    LRESULT OnTreeSelChanged(int, LPNMHDR, BOOL&);
    LRESULT OnListDblClk(int, LPNMHDR, BOOL&);
    LRESULT OnRClick(int, LPNMHDR, BOOL&);
    LRESULT OnPortRange(WORD, WORD, HWND, BOOL&);
    LRESULT OnProperty(WORD, WORD, HWND, BOOL&);
    LRESULT OnCommSettings(WORD, WORD, HWND, BOOL&);
    // The property sheet of the device node `item` for command ID_PROPERTY.
    void ShowProperty(UINT id, HTREEITEM item);

private:
    void CheckControlObject();
    // The selected tree item when it is a device node, else null.
    HTREEITEM SelectedDevice() const;
    // The class name of a device node's parent (empty when it has none).
    CString ClassOf(HTREEITEM device) const;
    // Rebuilds the tree once the current message is done: the list must not
    // be emptied inside its own label-edit notification.
    void PostRefresh();
    // Renames logical name m_oldLdn of `className` to `newName`.
    void RenameLdn(const CString& className, const CString& newName);
    // Rows of the list for a device node and for a class node.
    void ListDeviceNames(const CString& devicePath);
    void ListDevices(const CString& className);
};
