// SPDX-License-Identifier: MIT
#include "ui/dotgrid.h"

#include "ui/leafaccessible.h"
#include "ui/linewidget.h"
#include "ui/twips.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <utility>

namespace glimra {

namespace {

constexpr int CellCount = ColumnCount * RowCount;

std::pair<int, int> placeOf(int index)
{
    return {index / RowCount + 1, index % RowCount + 1};
}

class GridAccessible;

/// One cell, spoken as a check box that is on or off. The cells of the grid that is
/// drawn on can be pressed, as a click does.
class CellAccessible : public LeafAccessible, public QAccessibleActionInterface
{
public:
    CellAccessible(GridAccessible *grid, int index) : m_grid(grid), m_index(index) {}

    bool isValid() const override { return true; }
    QAccessibleInterface *parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface && grid()->design().drawing
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }

    // The action a screen reader looks for to activate a control; it would fake a click.
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    DotGrid *grid() const;

    GridAccessible *m_grid;
    int m_index;
};

/// The grid drawn on is a group of cells; the preview, which only shows the glyph, one
/// picture. Either describes the glyph row by row.
class GridAccessible : public QAccessibleWidget
{
public:
    explicit GridAccessible(DotGrid *grid)
        : QAccessibleWidget(grid,
                            grid->design().drawing ? QAccessible::Grouping : QAccessible::Graphic)
    {
        if (!grid->design().drawing)
            return;
        for (int i = 0; i < CellCount; ++i)
            m_cells[i] = QAccessible::registerAccessibleInterface(new CellAccessible(this, i));
    }
    ~GridAccessible() override
    {
        for (QAccessible::Id id : m_cells)
            QAccessible::deleteAccessibleInterface(id);
    }

    DotGrid *grid() const { return static_cast<DotGrid *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Description ? grid()->glyphDescription()
                                             : QAccessibleWidget::text(t);
    }
    int childCount() const override { return grid()->design().drawing ? CellCount : 0; }
    QAccessibleInterface *child(int index) const override
    {
        return index >= 0 && index < childCount() ? QAccessible::accessibleInterface(m_cells[index])
                                                  : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            if (QAccessible::accessibleInterface(m_cells[i]) == child)
                return i;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const auto cell = grid()->cellAt(grid()->mapFromGlobal(QPoint(x, y)));
        return cell && childCount() ? child(DotGrid::index(cell->first, cell->second)) : nullptr;
    }

private:
    std::array<QAccessible::Id, CellCount> m_cells{};
};

QAccessibleInterface *CellAccessible::parent() const
{
    return m_grid;
}

DotGrid *CellAccessible::grid() const
{
    return m_grid->grid();
}

QString CellAccessible::text(QAccessible::Text t) const
{
    const auto [column, row] = placeOf(m_index);
    if (t == QAccessible::Name)
        return grid()->spokenName(column, row);
    // The cell's name in the window's design, for a script that looks for one cell.
    if (t == QAccessible::Description)
        return QStringLiteral("%1%2%3")
            .arg(QLatin1String(grid()->design().cellName))
            .arg(column)
            .arg(row);
    return {};
}

QRect CellAccessible::rect() const
{
    const auto [column, row] = placeOf(m_index);
    const QRect cell = grid()->cellRect(column, row);
    return {grid()->mapToGlobal(cell.topLeft()), cell.size()};
}

QAccessible::State CellAccessible::state() const
{
    const auto [column, row] = placeOf(m_index);
    QAccessible::State state;
    state.checkable = true;
    state.checked = grid()->isOn(column, row);
    // The preview only shows the glyph.
    state.readOnly = !grid()->design().drawing;
    state.invisible = !grid()->isVisible();
    return state;
}

void CellAccessible::doAction(const QString &name)
{
    if (name != toggleAction() && name != pressAction())
        return;
    const auto [column, row] = placeOf(m_index);
    emit grid()->pressed(column, row);
    emit grid()->released();
}

QAccessibleInterface *gridFactory(const QString &, QObject *object)
{
    auto *grid = qobject_cast<DotGrid *>(object);
    return grid ? new GridAccessible(grid) : nullptr;
}

} // namespace

DotGrid::DotGrid(const DotGridDesign &design, QWidget *parent) : QWidget(parent), m_design(design)
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
    const QRect &b = design.backdrop;
    setGeometry(twipsRect(b.x(), b.y(), b.width(), b.height()));
    // Pressing a dot leaves the focus and the selection where they were.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DotGrid::setOn(int column, int row, bool on)
{
    bool &cell = m_on[index(column, row)];
    if (cell == on)
        return;
    cell = on;
    update(cellRect(column, row));
    if (!QAccessible::isActive())
        return;
    // Told once for all the cells a command changes.
    if (!std::exchange(m_descriptionChanging, true)) {
        QTimer::singleShot(0, this, [this] {
            m_descriptionChanging = false;
            QAccessibleEvent described(this, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&described);
        });
    }
    if (!m_design.drawing)
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent stateChange(this, changed);
    stateChange.setChild(index(column, row));
    QAccessible::updateAccessibility(&stateChange);
}

QString DotGrid::glyphDescription() const
{
    QStringList rows;
    for (int row = 1; row <= RowCount; ++row) {
        QStringList lit;
        for (int column = 1; column <= ColumnCount; ++column) {
            if (isOn(column, row))
                lit << QString::number(column);
        }
        rows << QStringLiteral("%1行 %2").arg(row).arg(lit.isEmpty() ? u"なし"_qs : lit.join(u' '));
    }
    return rows.join(u'、');
}

QRect DotGrid::cellRect(int column, int row) const
{
    const QRect &b = m_design.backdrop;
    return twipsRect(b.x() + m_design.pitch * (column - 1), b.y() + m_design.pitch * (row - 1),
                     m_design.cellSize, m_design.cellSize)
        .translated(-px(b.x()), -px(b.y()));
}

std::optional<std::pair<int, int>> DotGrid::cellAt(QPoint point) const
{
    for (int i = CellCount - 1; i >= 0; --i) {
        const auto [column, row] = placeOf(i);
        if (cellRect(column, row).contains(point))
            return std::pair{column, row};
    }
    return std::nullopt;
}

QString DotGrid::spokenName(int column, int row) const
{
    // Whether it is on is the check box's state, which a screen reader says itself.
    return QStringLiteral("%1 %2列 %3行")
        .arg(QString::fromUtf16(m_design.spoken))
        .arg(column)
        .arg(row);
}

void DotGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    for (int i = 0; i < CellCount; ++i) {
        const auto [column, row] = placeOf(i);
        if (m_on[i])
            painter.fillRect(cellRect(column, row), Qt::black);
    }
    if (!m_design.drawing)
        return;
    // Mid grey shows on white and on black, so the lines stay visible between filled cells.
    // Both ends of a line are drawn: it is one pixel longer than its span.
    const QRect &b = m_design.backdrop;
    const int width = px(m_design.pitch * ColumnCount) + 1;
    const int height = px(m_design.pitch * RowCount) + 1;
    for (int c = 0; c <= ColumnCount; ++c)
        painter.fillRect(px(b.x() + m_design.pitch * c) - px(b.x()), 0, 1, height,
                         LineWidget::LineColor);
    for (int r = 0; r <= RowCount; ++r)
        painter.fillRect(0, px(b.y() + m_design.pitch * r) - px(b.y()), width, 1,
                         LineWidget::LineColor);
}

void DotGrid::mousePressEvent(QMouseEvent *event)
{
    if (!m_design.drawing || event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const auto cell = cellAt(point);
    if (!cell)
        return;
    // A release the window never saw, when another window took the pointer, ends the last.
    if (std::exchange(m_stroking, false))
        emit released();
    m_stroking = true;
    m_strokeOn = !isOn(cell->first, cell->second);
    m_lastPoint = point;
    m_lastCell = cell;
    emit pressed(cell->first, cell->second);
}

void DotGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (m_stroking)
        strokeTo(event->position().toPoint());
}

void DotGrid::strokeTo(QPoint to)
{
    if (!rect().contains(to)) {
        m_lastPoint.reset();
        m_lastCell.reset();
        return;
    }
    const QPoint from = m_lastPoint.value_or(to);
    const int steps = qMax(qAbs(to.x() - from.x()), qAbs(to.y() - from.y()));
    for (int step = 1; step <= qMax(steps, 1); ++step) {
        const QPoint point = steps == 0 ? to : from + (to - from) * step / steps;
        const auto cell = cellAt(point);
        if (!cell || cell == m_lastCell)
            continue;
        m_lastCell = cell;
        emit stroked(cell->first, cell->second, m_strokeOn);
    }
    m_lastPoint = to;
}

void DotGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_stroking || event->button() != Qt::LeftButton)
        return;
    m_stroking = false;
    m_lastPoint.reset();
    m_lastCell.reset();
    emit released();
}

} // namespace glimra
