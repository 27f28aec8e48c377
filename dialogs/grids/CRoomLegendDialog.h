#pragma once

#include "cad/RoomLegend.h"

#include <QDialog>

class CCadPickButton;
class CKzevDoc;
class QPushButton;

namespace kzev {
class GridWidget;
}

/**
 * "Legenda místností": every listed room with its areas and their key
 * results in a grid. Room numbers, standards and names are corrected in
 * place and go into the model at once; the table goes to the clipboard as
 * text, or into the running CAD program as a drawn legend at a corner picked
 * there. The window keeps its place and size in the document.
 */
class CRoomLegendDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 232;

    explicit CRoomLegendDialog(CKzevDoc& doc, QWidget* parent = nullptr);
    ~CRoomLegendDialog() override;

    [[nodiscard]] kzev::GridWidget& gridWidget() { return *m_grid; }
    [[nodiscard]] QPushButton* copyButton() const { return m_copy; }
    [[nodiscard]] CCadPickButton* pickButton() const { return m_pick; }

    /** The grid's data rows as they stand, the user's corrections included. */
    [[nodiscard]] std::vector<kzev::RoomLegendCells> gridRows() const;

    /** Copies the table to the clipboard. */
    void OnCopyTable();
    /** Lets the user pick the corner in CAD and draws the legend there. */
    void OnDrawInCad();

protected:
    void done(int result) override;

private:
    void OnInitDialog();
    void OnGridEndLabelEdit(int row, int column);

    CKzevDoc& m_doc;
    kzev::RoomLegendCells m_headers;
    kzev::GridWidget* m_grid;
    QPushButton* m_copy;
    CCadPickButton* m_pick;
};
