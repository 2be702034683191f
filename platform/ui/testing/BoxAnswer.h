// Message boxes of the programs answered through their ShowMessageBox seam,
// so that no test waits on one.
#pragma once

#include "ui/MessageBox.h"

#include <windows.h>

#include <string>
#include <vector>

namespace uitest {

struct BoxRecord {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};

// While alive, every ui::ShowMessageBox call is recorded and answered with
// `answer` instead of showing a box.
class ScopedBoxAnswer {
public:
    explicit ScopedBoxAnswer(int answer = IDOK);
    ~ScopedBoxAnswer();
    ScopedBoxAnswer(const ScopedBoxAnswer&) = delete;
    ScopedBoxAnswer& operator=(const ScopedBoxAnswer&) = delete;

    const std::vector<BoxRecord>& Boxes() const { return m_boxes; }
    void Clear() { m_boxes.clear(); }

private:
    static int Handler(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
    int m_answer;
    std::vector<BoxRecord> m_boxes;
    ui::MessageBoxHandler m_previous;
};

} // namespace uitest
