#include "Velarix/VelarixView.h"

#include <QLabel>

namespace velarix {

VelarixView::VelarixView(VelarixModel& model, HistoryStore& store, QWidget* parent)
    : QMainWindow(parent)
    , m_model(model)
    , m_store(store) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Velarix"));
    auto* placeholder = new QLabel(tr("No SD Card Found"), this);
    placeholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(placeholder);
    resize(960, 600);
}

} // namespace velarix
