#include "ui/MessageBox.h"

#include "ui/String.h"

namespace ui {
namespace {
MessageBoxHandler g_handler = nullptr;
}

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    if (g_handler)
        return g_handler(owner, text, caption, type);
    return MessageBoxW(owner, text, caption, type);
}

int ShowMessageBox(HWND owner, UINT textId, UINT captionId, UINT type)
{
    CString text;
    CString caption;
    text.LoadString(textId);
    caption.LoadString(captionId);
    return ShowMessageBox(owner, text, caption, type);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = g_handler;
    g_handler = handler;
    return previous;
}

} // namespace ui
