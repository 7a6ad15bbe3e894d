// SPDX-License-Identifier: MIT
#pragma once

#include "core/editorstate.h"

#include <array>
#include <optional>
#include <QWidget>

namespace glimra {

/// Where a grid's cells lie, in twips, and what kind of grid it is.
struct DotGridDesign
{
    QRect backdrop;           ///< the white area; the top-left cell starts at its corner
    int pitch = 0;            ///< from one cell to the next
    int cellSize = 0;         ///< a cell's side: more than the pitch overlaps the lines
    bool drawing = false;     ///< the grid that is drawn on: grey lines, and strokes
    const char *cellName{};   ///< the cell's name before its column and row digits
    const char16_t *spoken{}; ///< what a screen reader calls a cell before its place
};

/// A grid of 5 × 7 on/off cells as one control: a white backdrop, the cells that are on
/// filled black and, on the grid that is drawn on, grey lines between the cells. A screen
/// reader sees each cell of the grid drawn on as a check box of its own, and the preview
/// as one picture; both describe the glyph.
///
/// On the grid that is drawn on, the left button draws strokes: the press asks for its cell
/// to be toggled, and every other cell the pointer then goes over is asked to take the state
/// that the first one took, until the button comes up. Outside the grid the stroke waits.
class DotGrid : public QWidget
{
    Q_OBJECT
public:
    DotGrid(const DotGridDesign &design, QWidget *parent);

    bool isOn(int column, int row) const { return m_on[index(column, row)]; }
    void setOn(int column, int row, bool on);
    /// The glyph as a screen reader says it, row by row from the top: the columns lit in
    /// each, "1行 1 5、2行 なし、…".
    QString glyphDescription() const;
    const DotGridDesign &design() const { return m_design; }

    /// The cell's place in the grid's own pixels; the cells of a drawn grid overlap its lines.
    QRect cellRect(int column, int row) const;
    /// The cell under `point` (grid pixels): where two overlap, the later in the walk.
    std::optional<std::pair<int, int>> cellAt(QPoint point) const;
    /// The cell's spoken name, its state after it: "ドット 1列 1行：オン".
    QString spokenName(int column, int row) const;

    /// Cells in the order the glyph is walked: column by column, top to bottom.
    static int index(int column, int row) { return (column - 1) * RowCount + row - 1; }

signals:
    /// The left button went down on a cell, or a screen reader pressed it: toggle it.
    void pressed(int column, int row);
    /// A stroke went over another cell: it is to be `on`, as the first cell became.
    void stroked(int column, int row, bool on);
    /// The stroke is over.
    void released();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    /// Strokes every cell on the way from the last point to `to`; a pointer that moves
    /// fast still draws an unbroken line.
    void strokeTo(QPoint to);

    DotGridDesign m_design;
    std::array<bool, ColumnCount * RowCount> m_on{};
    bool m_stroking = false;
    bool m_descriptionChanging = false;
    bool m_strokeOn = false;
    std::optional<QPoint> m_lastPoint; // empty while the stroke is outside the grid
    std::optional<std::pair<int, int>> m_lastCell;
};

} // namespace glimra
