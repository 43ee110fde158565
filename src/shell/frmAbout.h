#pragma once

#include "common/Prompter.h"
#include "common/Twips.h"
#include "shell/AppIdentity.h"
#include "shell/HomepageOpener.h"

#include <QDialog>

#include <memory>
#include <span>

class QLabel;
class QPushButton;

namespace vorn {

class EngravedSeparator;
class PictureBox;

// The About window: title, version, the rules edition it follows, the beta warning, the author and the
// "Visit Homepage" button. Modeless and without an owner; closing it deletes it, so that the next
// "About" loads a fresh one (see AboutWindowHolder). It keeps the program running while it is open,
// even after the calculator window has closed.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    // Without a prompter the window shows a real message box; tests pass a scripted one.
    explicit frmAbout(HomepageOpener opener = shellExecute, const AppIdentity& identity = appIdentity(),
                      Prompter* prompter = nullptr);
    ~frmAbout() override;

    // The twips scale the window is laid out with: the font's, widened where a text would not fit.
    TwipsScale layoutScale() const { return m_scale; }

protected:
    void changeEvent(QEvent* event) override;

private:
    // One control of the layout table; defined with the table.
    struct ControlRow;
    static std::span<const ControlRow> controlRows();
    QWidget* control(const ControlRow& row) const;

    void createControls();
    // Some texts are black on a light palette; on a dark one they take the palette's text colour.
    void applyInk();
    void Form_Load(const AppIdentity& identity);
    void applyLayout(TwipsScale scale);
    bool everyTextFits() const;
    void placeOnScreen();

    void cmdOK_Click();
    void cmdHomepage_Click();

    HomepageOpener m_opener;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    TwipsScale m_scale;

    QPushButton* cmdOK = nullptr;
    PictureBox* picIcon = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdHomepage = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    EngravedSeparator* Line1 = nullptr;
};

} // namespace vorn
