#include "testing/BoxAnswer.h"

namespace uitest {
namespace {
ScopedBoxAnswer* g_boxAnswer = nullptr;
} // namespace

ScopedBoxAnswer::ScopedBoxAnswer(int answer) : m_answer(answer)
{
    g_boxAnswer = this;
    m_previous = ui::SetMessageBoxHandler(&ScopedBoxAnswer::Handler);
}

ScopedBoxAnswer::~ScopedBoxAnswer()
{
    ui::SetMessageBoxHandler(m_previous);
    g_boxAnswer = nullptr;
}

int ScopedBoxAnswer::Handler(HWND, const wchar_t* text, const wchar_t* caption, UINT type)
{
    g_boxAnswer->m_boxes.push_back({text ? text : L"", caption ? caption : L"", type});
    return g_boxAnswer->m_answer;
}

} // namespace uitest
