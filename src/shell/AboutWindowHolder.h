#pragma once

#include "common/Prompter.h"
#include "shell/HomepageOpener.h"
#include "shell/frmAbout.h"

#include <QPointer>

namespace vorn {

// The one About window of the run. "About" loads it when it is not open and otherwise brings the open
// one back, restored and in front; a closed window is gone, so the next "About" loads it afresh. Owned by
// main for the whole run; the window itself has no owner.
class AboutWindowHolder {
public:
    // The opener and the prompter go to every About window loaded; without a prompter it shows real
    // message boxes.
    explicit AboutWindowHolder(HomepageOpener opener = shellExecute, Prompter* prompter = nullptr);
    ~AboutWindowHolder();
    AboutWindowHolder(const AboutWindowHolder&) = delete;
    AboutWindowHolder& operator=(const AboutWindowHolder&) = delete;

    // The "About" command.
    void show();

    // The open About window, or null when none is open.
    frmAbout* window() const;

private:
    HomepageOpener m_opener;
    Prompter* m_prompter;
    QPointer<frmAbout> m_window;
};

} // namespace vorn
