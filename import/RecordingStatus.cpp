#include "import/RecordingStatus.h"

namespace velarix {

ImportStatus recordingStatus(const ImportState& state, const VideoFileRow& row) {
    const ImportStatus first = state.status(row.fileName(), row.created());
    if (first != ImportStatus::imported)
        return first;
    for (const QString& name : row.chapterFileNames()) {
        if (!state.importedFileNames().contains(name))
            return ImportStatus::unmarked;
    }
    return ImportStatus::imported;
}

} // namespace velarix
