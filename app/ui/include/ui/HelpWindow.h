// SPDX-License-Identifier: GPL-3.0-or-later
// HelpWindow, the Help window: shows the help document "HelpDemo.mht" of the
// current working directory, loaded afresh every time the window is shown;
// without one there, the installed copy, and without that a page of its own
// that says which file it looked for and where.
#pragma once

#include "run/DataFiles.h"
#include "ui/HelpBrowser.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

namespace velmora::ui {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(std::unique_ptr<HelpBrowser> browser, QWidget* parent = nullptr);

    // The document of the working directory of this moment.
    static QUrl helpDocumentUrl();
    // The page shown when no help document is found in the places listed.
    static QString missingDocumentPage(const QStringList& placesLooked);

    // Where the installed copy is looked for (findDataFile by default).
    using DocumentLookup = std::function<DataFileLookup()>;
    void setDocumentLookup(DocumentLookup lookup) { lookup_ = std::move(lookup); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<HelpBrowser> browser_;
    DocumentLookup lookup_ = [] { return findDataFile(kHelpDocumentName); };
};

} // namespace velmora::ui
