#include "badcells.h"

#include <algorithm>

namespace {

bool sameGroup(const BadCellGroup &a, const BadCellGroup &b)
{
    return a.sheet == b.sheet && a.column == b.column && a.problem == b.problem;
}

} // namespace

void BadCellGroups::addCell(BadCellGroup &group, int row, const QString &cell)
{
    ++group.count;
    ++m_cells;
    if (group.first.size() < BadCellGroup::Shown)
        group.first.append({row, cell});
}

void BadCellGroups::add(const BadCellGroup &where, int row, const QString &cell)
{
    if (m_last >= 0 && sameGroup(m_groups[m_last], where)) {
        addCell(m_groups[m_last], row, cell);
        return;
    }
    for (int i = 0; i < m_groups.size(); ++i) {
        if (sameGroup(m_groups[i], where)) {
            m_last = i;
            addCell(m_groups[i], row, cell);
            return;
        }
    }
    BadCellGroup group = where;
    group.count = 0;
    group.first.clear();
    m_groups.append(group);
    m_last = int(m_groups.size()) - 1;
    addCell(m_groups.last(), row, cell);
}

void BadCellGroups::addAll(const BadCellGroups &other, CellProblem problem)
{
    for (BadCellGroup group : other.m_groups) {
        group.problem = problem;
        m_cells += group.count;
        m_groups.append(group);
    }
    m_last = -1;
}

void BadCellGroups::sort()
{
    std::stable_sort(m_groups.begin(), m_groups.end(),
                     [](const BadCellGroup &a, const BadCellGroup &b) {
                         if (a.sheet != b.sheet)
                             return a.sheet < b.sheet;
                         if (a.first.constFirst().row != b.first.constFirst().row)
                             return a.first.constFirst().row < b.first.constFirst().row;
                         return a.field < b.field;
                     });
    m_last = -1;
}
