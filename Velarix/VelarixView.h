#pragma once

#include <QMainWindow>

namespace velarix {

class HistoryStore;
class VelarixModel;

// The main import window.
class VelarixView : public QMainWindow {
    Q_OBJECT
public:
    VelarixView(VelarixModel& model, HistoryStore& store, QWidget* parent = nullptr);

private:
    VelarixModel& m_model;
    HistoryStore& m_store;
};

} // namespace velarix
