#include "shell/AboutWindowHolder.h"

namespace vorn {

AboutWindowHolder::AboutWindowHolder(HomepageOpener opener) : m_opener(std::move(opener)) {}

AboutWindowHolder::~AboutWindowHolder()
{
    delete m_window.data();
}

void AboutWindowHolder::show()
{
    // A closed window is hidden at once but deleted only later, when control is back in the event loop;
    // until then it must not be shown again.
    if (!window())
        m_window = new frmAbout(m_opener);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

frmAbout* AboutWindowHolder::window() const
{
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

} // namespace vorn
