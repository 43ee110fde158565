#include "shell/AboutWindowHolder.h"

namespace vorn {

AboutWindowHolder::AboutWindowHolder(HomepageOpener opener, Prompter* prompter)
    : m_opener(std::move(opener)), m_prompter(prompter)
{
}

AboutWindowHolder::~AboutWindowHolder()
{
    delete m_window.data();
}

void AboutWindowHolder::show()
{
    // A closed window is hidden at once but deleted only later, when control is back in the event loop;
    // until then it must not be shown again.
    if (!window())
        m_window = new frmAbout(m_opener, appIdentity(), m_prompter);
    // A minimised About window has no task-bar entry to restore it from: this command is the way back.
    m_window->setWindowState(m_window->windowState() &
                             ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

frmAbout* AboutWindowHolder::window() const
{
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

} // namespace vorn
