#include "Velarix/trimwindow/TrimRangeAccessible.h"

#include "Velarix/trimwindow/TrimRangeSelector.h"
#include "Velarix/widgets/SpokenText.h"
#include "analysis/TrimSuggestion.h"

#include <QCoreApplication>
#include <QPointer>

namespace velarix {

namespace {

using Handle = TrimRangeSelector::Handle;

class HandleAccessible : public QAccessibleInterface, public QAccessibleValueInterface {
    Q_DECLARE_TR_FUNCTIONS(velarix::TrimRangeAccessible)
public:
    HandleAccessible(TrimRangeSelector* selector, Handle handle)
        : m_selector(selector)
        , m_handle(handle) {}

    bool isValid() const override { return !m_selector.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_selector);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::Slider; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        if (!m_selector)
            return {};
        const bool start = m_handle == Handle::Start;
        const double time = start ? m_selector->start() : m_selector->end();
        switch (t) {
        case QAccessible::Name:
            return start ? tr("Start of the kept range, %1").arg(spokenClipTime(time))
                         : tr("End of the kept range, %1").arg(spokenClipTime(time));
        case QAccessible::Value:
            return formatClock(time);
        case QAccessible::Description:
            return tr(
                "Left and Right move it by a second, with Shift by ten seconds; Home and End move it as "
                "far as it goes. Tab goes to the other handle.");
        default:
            return {};
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!m_selector)
            return s;
        s.focusable = true;
        s.focused = m_selector->hasFocus() && m_selector->keyboardHandle() == m_handle;
        s.disabled = !m_selector->isEnabled();
        s.invisible = !m_selector->isVisible();
        return s;
    }

    QRect rect() const override {
        if (!m_selector)
            return {};
        const QRect local = m_selector->handleRect(m_handle).toAlignedRect();
        return QRect(m_selector->mapToGlobal(local.topLeft()), local.size());
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    }

    QVariant currentValue() const override {
        return m_selector ? (m_handle == Handle::Start ? m_selector->start() : m_selector->end()) : 0.0;
    }
    void setCurrentValue(const QVariant& value) override {
        if (m_selector)
            m_selector->moveHandle(m_handle, value.toDouble());
    }
    QVariant maximumValue() const override { return m_selector ? m_selector->duration() : 0.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 1.0; }

private:
    QPointer<TrimRangeSelector> m_selector;
    Handle m_handle;
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String(TrimRangeSelector::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new TrimRangeAccessible(static_cast<TrimRangeSelector*>(object));
    return nullptr;
}

} // namespace

TrimRangeAccessible::TrimRangeAccessible(TrimRangeSelector* selector)
    : QAccessibleWidget(selector, QAccessible::Grouping) {}

TrimRangeAccessible::~TrimRangeAccessible() {
    for (const QAccessible::Id id : std::as_const(m_handles))
        QAccessible::deleteAccessibleInterface(id);
}

void TrimRangeAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

TrimRangeSelector* TrimRangeAccessible::selector() const {
    return static_cast<TrimRangeSelector*>(widget());
}

QString TrimRangeAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return HandleAccessible::tr("Trim range");
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
        return HandleAccessible::tr("Keeps %1 to %2 of %3")
            .arg(formatClock(selector()->start()), formatClock(selector()->end()),
                 formatClock(selector()->duration()));
    return QAccessibleWidget::text(t);
}

int TrimRangeAccessible::childCount() const {
    return 2;
}

QAccessibleInterface* TrimRangeAccessible::child(int index) const {
    if (index < 0 || index > 1)
        return nullptr;
    if (const QAccessible::Id id = m_handles.value(index))
        return QAccessible::accessibleInterface(id);
    auto* handle = new HandleAccessible(selector(), index == 0 ? Handle::Start : Handle::End);
    m_handles.insert(index, QAccessible::registerAccessibleInterface(handle));
    return handle;
}

int TrimRangeAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (auto it = m_handles.cbegin(); it != m_handles.cend(); ++it)
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key();
    return -1;
}

QAccessibleInterface* TrimRangeAccessible::focusChild() const {
    if (!selector()->hasFocus())
        return nullptr;
    return child(selector()->keyboardHandle() == TrimRangeSelector::Handle::Start ? 0 : 1);
}

QAccessibleInterface* TrimRangeAccessible::childAt(int x, int y) const {
    for (int i = 0; i < 2; ++i)
        if (child(i)->rect().contains(x, y))
            return child(i);
    return nullptr;
}

} // namespace velarix
