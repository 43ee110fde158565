#pragma once

#include <QList>
#include <QSize>
#include <QWidget>

class QAction;

namespace vorn {

// A window the calculator opens beside itself (History, Plan Ahead): non-modal, never keeping the program
// running on its own, and answering the keyboard as a dialog does: Esc closes it and hands the keyboard
// back to the calculator, and the calculator's commands work from it as from the calculator.
class SideWindow : public QWidget {
public:
    explicit SideWindow(QWidget* calculator);

    ~SideWindow() override;

    // The calculator's commands that act on the character rather than on the calculator's own boxes.
    void shareCommands(const QList<QAction*>& commands);

    // Shows the window where the user last left it, if that still lies on a screen; the first time, or
    // where that screen is gone, beside the calculator.
    void showBeside();

protected:
    // The size the window opens at where the screen has room for it; its content may ask for more.
    void openAt(QSize preferred);

    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QString settingsKey(const char* what) const;
    bool restorePlace();
    void rememberPlace() const;

    bool m_placed = false;
};

} // namespace vorn
