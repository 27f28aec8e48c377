#pragma once

#include <QDialog>
#include <QImage>

#include <string>

/** Dialog 218 "Zobrazení svítidla": one luminaire picture, scaled into the window as it is resized. */
class CPictureDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 218;

    explicit CPictureDialog(const std::string& path, QWidget* parent = nullptr);

    [[nodiscard]] const std::string& path() const { return m_path; }
    [[nodiscard]] bool hasPicture() const { return !m_image.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_path;
    QImage m_image;
};
