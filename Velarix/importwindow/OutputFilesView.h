#pragma once

#include "import/OutputPlan.h"

#include <QListView>

namespace velarix {

class OutputFilesModel;

// "Files to import": one entry per planned copy, the source's name over the output name drawn as a
// token line. Rows can be selected and copied (Ctrl+C copies the output names).
class OutputFilesView : public QListView {
    Q_OBJECT
public:
    explicit OutputFilesView(QWidget* parent = nullptr);

    void setFiles(const QList<ResolvedOutputFile>& files);
    const QList<ResolvedOutputFile>& files() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    OutputFilesModel* m_model;
};

} // namespace velarix
