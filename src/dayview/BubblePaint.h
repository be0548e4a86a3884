#pragma once
// How the detail bubble looks: a white round body with a tail pointing at its
// item, outlined in grey, the small marks after its title, and its texts,
// which the bubble draws itself so that a text never shows a half line.
#include <windows.h>

#include <array>
#include <vector>

#include "UniqueHandle.h"

class CBubblePaint {
public:
    static constexpr COLORREF kFrameColor = RGB(128, 128, 128);
    static constexpr COLORREF kBodyColor = RGB(255, 255, 255);
    static constexpr COLORREF kTextColor = RGB(51, 51, 51);

    struct Mark {
        UINT image;
        RECT rect;
    };

    CBubblePaint() = default;
    virtual ~CBubblePaint() = default;
    CBubblePaint(const CBubblePaint&) = delete;
    CBubblePaint& operator=(const CBubblePaint&) = delete;

    // The body round rectangle cut to the client rectangle, with the tail's
    // triangle added when there is one (client coordinates).
    void SetShape(const RECT& client, const RECT& body, const std::array<POINT, 3>* tail);
    // A copy of the shape for the window region (the window takes it over).
    [[nodiscard]] HRGN CopyShape() const;
    [[nodiscard]] bool HasShape() const noexcept { return static_cast<bool>(m_shape); }
    void ResetShape() noexcept;

    void SetMarks(std::vector<Mark> marks) { m_marks = std::move(marks); }
    [[nodiscard]] const std::vector<Mark>& Marks() const noexcept { return m_marks; }

    // White inside, a one-pixel grey frame along the shape, then the marks.
    void PaintBubble(HDC dc) const;

    // Draws an owner-drawn static of the bubble: its text in its font, on one
    // line with an ellipsis when `lines` is 1, else word-wrapped and cut after
    // at most `lines` whole lines. Nothing of the background is touched.
    static void DrawStaticText(const DRAWITEMSTRUCT& item, int lines);

private:
    UniqueHrgn m_shape;
    std::vector<Mark> m_marks;
};
