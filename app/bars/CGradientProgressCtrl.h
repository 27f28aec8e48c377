#pragma once

#include "app/bars/GradientBar.h"

#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

/**
 * The status bar's progress bar: a self-drawn bar whose filled part runs
 * through a gradient of colours, with an optional text over it (the
 * calculation's elapsed time and percentage). It is driven like a standard
 * progress bar; the arithmetic lives in kzev::GradientBar.
 */
class CGradientProgressCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CGradientProgressCtrl(QWidget* parent = nullptr);

    void SetRange(int lower, int upper);
    /** Sets the position (clamped to the range); returns the previous one. */
    int SetPos(int position);
    int OffsetPos(int delta);
    int SetStep(int step);
    int StepIt();
    [[nodiscard]] int GetPos() const { return m_bar.pos(); }

    /** Bar colours as the standard message sets them: (second, first or else second). */
    std::uint32_t SetBarColour(std::uint32_t first, std::uint32_t second);
    /** Replaces the gradient stops, left to right (0x00BBGGRR). */
    void SetColours(std::vector<std::uint32_t> colours);
    std::uint32_t SetBkColour(std::uint32_t colour);

    /**
     * With a non-empty text and a non-zero style, sets the text style bits
     * (0x100 percentage, 0x200 position) and the text template; otherwise
     * clears both, so nothing is drawn over the bar.
     */
    void SetText(const std::string& text, std::uint32_t style);

    [[nodiscard]] std::uint32_t GetStyle() const { return m_bar.style(); }
    void ModifyStyle(std::uint32_t remove, std::uint32_t add);

    /** Returns the text as drawn now ("%d%%" filled with the percentage). */
    [[nodiscard]] std::string DisplayText() const { return m_bar.displayText(); }
    [[nodiscard]] const kzev::GradientBar& bar() const { return m_bar; }

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed(int previousPos);

    kzev::GradientBar m_bar;
    std::uint32_t m_textColour;
    std::uint32_t m_secondTextColour;
};
