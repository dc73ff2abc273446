// TForm4, the Help window: shows the help document "HelpDemo.mht" of the
// current working directory, loaded afresh every time the window is shown.
#pragma once

#include "ui/HelpBrowser.h"

#include <QWidget>

#include <memory>

namespace velmora::ui {

class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(std::unique_ptr<HelpBrowser> browser, QWidget* parent = nullptr);

    // The document's location: the working directory of this moment.
    static QUrl helpDocumentUrl();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<HelpBrowser> browser_;
};

} // namespace velmora::ui
