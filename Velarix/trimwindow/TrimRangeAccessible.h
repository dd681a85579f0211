#pragma once

#include <QAccessibleWidget>
#include <QHash>

namespace velarix {

class TrimRangeSelector;

// The range selector as a screen reader sees it: a group of two sliders, the start and the end of the
// kept range, each saying its time and moved like any slider. The handles are painted, not widgets,
// so they get interfaces of their own.
class TrimRangeAccessible : public QAccessibleWidget {
public:
    explicit TrimRangeAccessible(TrimRangeSelector* selector);
    ~TrimRangeAccessible() override;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // Registers the factory that gives every TrimRangeSelector this interface.
    static void install();

private:
    TrimRangeSelector* selector() const;
    mutable QHash<int, QAccessible::Id> m_handles;
};

} // namespace velarix
