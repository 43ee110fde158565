#pragma once

#include "common/Twips.h"
#include "shell/AppIdentity.h"
#include "shell/HomepageOpener.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vorn {

class EngravedSeparator;

// The About window: title, version, the rules edition it follows, the beta warning, the author and the
// "Visit Homepage" button. Modeless and without an owner; closing it deletes it, so that the next
// "About" loads a fresh one (see AboutWindowHolder). It keeps the program running while it is open,
// even after the calculator window has closed.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(HomepageOpener opener = shellExecute, const AppIdentity& identity = appIdentity());

    // The twips scale the window is laid out with: the font's, widened where a text would not fit.
    TwipsScale layoutScale() const { return m_scale; }

private:
    void createControls();
    void Form_Load(const AppIdentity& identity);
    void applyLayout(TwipsScale scale);
    bool everyTextFits() const;
    void placeOnScreen();

    void cmdOK_Click();
    void cmdHomepage_Click();

    HomepageOpener m_opener;
    TwipsScale m_scale;

    QPushButton* cmdOK = nullptr;
    QLabel* picIcon = nullptr;
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
