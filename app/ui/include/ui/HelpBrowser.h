// SPDX-License-Identifier: GPL-3.0-or-later
// The embedded browser of the Help window, behind an interface so that the
// window can be built without a web engine (the window tests do).
#pragma once

#include <memory>

class QString;
class QUrl;
class QWidget;

namespace velmora::ui {

class HelpBrowser {
public:
    virtual ~HelpBrowser() = default;

    // The browser's widget; the Help window takes it over as a child.
    virtual QWidget* widget() = 0;
    // Navigates to the document anew, also when it is the one shown.
    virtual void navigate(const QUrl& url) = 0;
    // Shows a page of the program's own, given as HTML.
    virtual void showPage(const QString& html) = 0;
};

// The desktop program's browser: the web engine's (WebHelpBrowser), or in a
// build without Qt's web engine the system browser's (SystemHelpBrowser).
// Defined beside the one the build compiles.
std::unique_ptr<HelpBrowser> makeHelpBrowser();

} // namespace velmora::ui
