#pragma once

#include "ui/FileChooser.h"

#include <QList>
#include <deque>
#include <string>

namespace partwright::test {

// Stands in for the person in front of the file dialog: hands back prepared dialog results and
// keeps the requests it was given.
class RecordingFileChooser final : public FileChooser {
public:
    std::string choose(QWidget*, const FileDialogRequest& request) override
    {
        requests.append(request);
        if (results.empty())
            return {};
        std::string result = results.front();
        results.pop_front();
        return result;
    }

    std::deque<std::string> results;
    QList<FileDialogRequest> requests;
};

} // namespace partwright::test
