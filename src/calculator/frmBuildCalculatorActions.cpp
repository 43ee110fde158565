// What the calculator window does: the refresh, the one road every change of the character takes, and
// the handlers of its controls and menu commands. The window's construction is in frmBuildCalculator.cpp.
#include "calculator/frmBuildCalculator.h"

#include "common/Conversions.h"
#include "common/Errors.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <stdexcept>

namespace vorn {
namespace {

constexpr const char* kTooLarge =
    "The numbers would grow too large for this calculator. Nothing was changed.";
constexpr const char* kBuildTooLow = "Starting Build cannot be less then 15.";
constexpr const char* kLooseTooLow = "Starting Loose XP cannot be below 0.";
constexpr const char* kBuildNotANumber = "Starting Build must be a number of at least 15.";
constexpr const char* kLooseNotANumber = "Starting Loose XP must be a number of 0 or more.";
constexpr const char* kBadSilver =
    "You entered an invalid amount of silver for training. Please correct the error and try again.";
constexpr const char* kBadLength = "Event Length must be a positive integer.";
constexpr const char* kBlanketPrompt = "Please enter the number of blankets.";
constexpr const char* kBadBlankets = "The number of blankets must be a whole number.";

std::string lengthHelp()
{
    const std::string crlf = "\r\n";
    return "This represents the length of the event in logistical days. A logistical day is effectively a "
           "game "
           "day. A 'reset' is the start of a new logistical day." +
           crlf +
           "One way to calculate the number of logistical days is to count the number of 'resets' at the "
           "event, "
           "and add 1 (for the starting day)." +
           crlf + crlf + "Some standard event lengths are as follows:" + crlf +
           "Adventure Day (no resets): 1" + crlf + "Normal Weekend (friday-sunday, 1 reset): 2" + crlf +
           "Long Weekend (friday-monday, 2 resets): 3" + crlf + crlf +
           "(Note: A blanket is based on two logistical days.)";
}

std::string textOf(const QLineEdit* box)
{
    return box->text().toStdString();
}

bool isBlank(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos;
}

// Writes a result, or leaves the label empty when the figure can't be counted.
template <typename Read> void showResult(QLabel* label, Read read)
{
    try {
        label->setText(QString::fromStdString(intToText(read())));
    } catch (const std::exception&) {
        label->clear();
    }
}

} // namespace

BuildUtils& frmBuildCalculator::rules()
{
    if (!utils)
        utils.emplace([this](const std::string& text) { showMessage(text); },
                      [this] { return selectedClassCode(); });
    return *utils;
}

int32_t frmBuildCalculator::selectedClassCode() const
{
    const int index = cboCharacterClass->currentIndex();
    bool ok = false;
    const int code = index < 0 ? 0 : cboCharacterClass->itemData(index).toInt(&ok);
    if (!ok)
        throw std::runtime_error("no character class selected");
    return code;
}

// The length in the box when the event-length check would accept it: a leading number above 0 that the
// 16-bit conversion takes ("2x", "40000" and "-5" are refused; 0.4 passes and counts as 0).
std::optional<int16_t> frmBuildCalculator::eventLength() const
{
    const std::string text = textOf(txtEventLength);
    if (!(leadingNumber(text) > 0))
        return std::nullopt;
    try {
        return textToInt16(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void frmBuildCalculator::updateStats()
{
    BuildUtils& u = rules();
    showResult(lblLevel, [&] { return u.level(); });
    showResult(lblBuild, [&] { return u.build(); });
    showResult(lblLooseXP, [&] { return u.looseXP(); });
    showResult(lblXPBPRatio, [&] { return u.xpBPRatio(); });
    showResult(lblTotalXP, [&] { return u.TotalXP(); });
    showResult(lblBody, [&] { return u.body(); });

    const bool maxOut = chkShowMaxOut->checkState() == Qt::Checked;
    const int index = cboEventLength->currentIndex();
    if (index >= 0) {
        const int data = cboEventLength->itemData(index).toInt();
        if (data == -1) {
            txtEventLength->setEnabled(true);
        } else {
            txtEventLength->setText(QString::fromStdString(intToText(data)));
            txtEventLength->setEnabled(false);
        }
    }

    // Both next-event figures belong to the same length; when either can't be had, neither is shown
    // rather than leaving numbers from an earlier state. A length the check refuses (a menu command
    // refreshes without leaving the box) has no figures either.
    try {
        const std::optional<int16_t> length = eventLength();
        if (!length)
            throw TypeMismatchError("unusable event length");
        const int32_t build = u.getNextEventBuild(*length, maxOut);
        const int32_t xp = u.getNextEventXP(*length, maxOut);
        lblNextEventBuild->setText(QString::fromStdString(intToText(build)));
        lblNextEventXP->setText(QString::fromStdString(intToText(xp)));
    } catch (const std::exception&) {
        lblNextEventBuild->clear();
        lblNextEventXP->clear();
    }
}

bool frmBuildCalculator::changeCharacter(const std::function<void(BuildUtils&)>& change)
{
    BuildUtils copy = rules();
    bool kept = false;
    try {
        change(copy);
        // Only a character whose every result can be shown is kept.
        (void)copy.level();
        (void)copy.body();
        (void)copy.xpBPRatio();
        (void)copy.TotalXP();
        utils = copy;
        kept = true;
    } catch (const OverflowError&) {
        showMessage(kTooLarge);
    } catch (const TypeMismatchError&) {
        showMessage(kTooLarge);
    }
    updateStats();
    return kept;
}

void frmBuildCalculator::showMessage(const std::string& text, MessageIcon icon)
{
    const QPointer<QWidget> focus = focusWidget();
    m_prompter->message(text, icon);
    // A closed box does not always hand the activation back (it never does offscreen).
    activateWindow();
    if (focus && focus->isEnabled())
        focus->setFocus(Qt::OtherFocusReason);
}

void frmBuildCalculator::focusAndSelect(QLineEdit* box)
{
    activateWindow();
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

bool frmBuildCalculator::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* list = qobject_cast<QComboBox*>(watched)) {
        // A list changes with the wheel only once it has the focus: the wheel passing over it must not
        // change the class or the length behind the user's back, nor slip past the event-length check.
        if (event->type() == QEvent::Wheel && !list->hasFocus()) {
            event->ignore();
            return true;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // A text box claims Ctrl+A for select-all; the window's own shortcuts come first.
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : actions()) {
            if (action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusIn && box != txtEventLength) {
        // The number boxes are usually overwritten: they take the focus with their whole text selected,
        // also after a mouse click, whose press would otherwise place the cursor.
        box->selectAll();
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmBuildCalculator::cboCharacterClass_Click()
{
    updateStats();
}

void frmBuildCalculator::cboEventLength_Click()
{
    updateStats();
}

void frmBuildCalculator::chkShowMaxOut_Click()
{
    updateStats();
}

void frmBuildCalculator::cmdSetStartingBuild_Click()
{
    const std::string buildText = textOf(txtStartingBuild);
    const std::string looseText = textOf(txtStartingLooseXP);
    if (leadingNumber(buildText) < 15) {
        showMessage(kBuildTooLow);
        focusAndSelect(txtStartingBuild);
        return;
    }
    if (leadingNumber(looseText) < 0) {
        showMessage(kLooseTooLow);
        focusAndSelect(txtStartingLooseXP);
        return;
    }
    // Both boxes are read in full before anything is set.
    struct Box {
        QLineEdit* box;
        const std::string& text;
        int32_t least;
        const char* notANumber;
    };
    int32_t values[2] = {};
    const Box boxes[2] = {{txtStartingBuild, buildText, 15, kBuildNotANumber},
                          {txtStartingLooseXP, looseText, 0, kLooseNotANumber}};
    for (int i = 0; i < 2; ++i) {
        try {
            values[i] = textToInt32(boxes[i].text);
            if (values[i] < boxes[i].least)
                throw TypeMismatchError("below the least starting value");
        } catch (const TypeMismatchError&) {
            showMessage(boxes[i].notANumber);
            focusAndSelect(boxes[i].box);
            return;
        } catch (const OverflowError&) {
            showMessage(kTooLarge);
            focusAndSelect(boxes[i].box);
            updateStats();
            return;
        }
    }
    const bool kept = changeCharacter([&](BuildUtils& c) {
        c.setBuild(values[0]);
        c.setLooseXP(values[1]);
    });
    if (!kept) {
        // Hand back the box that needs changing: the Build when it can't be counted even without Loose XP,
        // otherwise the Loose XP.
        bool buildAlone = true;
        try {
            (void)BuildUtils::getTotalXP(values[0], 0);
        } catch (const std::exception&) {
            buildAlone = false;
        }
        focusAndSelect(buildAlone ? txtStartingLooseXP : txtStartingBuild);
    }
}

void frmBuildCalculator::cmdSetStartingBuildLevel1_Click()
{
    changeCharacter([](BuildUtils& c) {
        c.setBuild(30);
        c.setLooseXP(0);
    });
}

// Records one event of the length in the box; false when the length can't be used.
bool frmBuildCalculator::addEvent(double trainingCoin)
{
    const std::optional<int16_t> length = eventLength();
    if (!length) {
        showMessage(kBadLength);
        txtEventLength->setFocus(Qt::OtherFocusReason);
        return false;
    }
    changeCharacter([&](BuildUtils& c) { c.addBuild(*length, trainingCoin); });
    return true;
}

void frmBuildCalculator::cmdAddEvent_Click()
{
    addEvent(0);
}

void frmBuildCalculator::cmdAddMaxOut_Click()
{
    addEvent(-1);
}

void frmBuildCalculator::cmdAddEventTraining_Click()
{
    const std::optional<int16_t> length = eventLength();
    if (!length) {
        addEvent(0); // reports the unusable length
        return;
    }
    double limit = 0;
    try {
        limit = rules().getXPForEvent(*length, 0);
    } catch (const OverflowError&) {
        showMessage(kTooLarge);
        return;
    }
    double silver = -1;
    try {
        silver = textToReal(textOf(txtSilverSubmitted));
    } catch (const std::exception&) {
        silver = -1; // not a number: as invalid as a negative amount
    }
    if (silver < 0 || silver > limit) {
        showMessage(kBadSilver);
        focusAndSelect(txtSilverSubmitted);
        return;
    }
    addEvent(silver);
}

void frmBuildCalculator::cmdLengthHelp_Click()
{
    showMessage(lengthHelp(), MessageIcon::Information);
}

bool frmBuildCalculator::txtEventLength_Validate()
{
    if (eventLength()) {
        updateStats();
        return true;
    }
    showMessage(kBadLength);
    activateWindow();
    txtEventLength->setFocus(Qt::OtherFocusReason);
    return false;
}

void frmBuildCalculator::mnuAddBlankets_Click()
{
    const std::string answer = m_prompter->input(kBlanketPrompt);
    activateWindow();
    if (isBlank(answer))
        return; // Cancel, or nothing typed: nothing to add
    int32_t count = 0;
    try {
        count = textToInt32(answer);
    } catch (const std::exception&) {
        showMessage(kBadBlankets);
        return;
    }
    changeCharacter([count](BuildUtils& c) { c.addBlankets(count); });
}

void frmBuildCalculator::mnuCalculateBlankets_Click()
{
    int32_t count = 0;
    try {
        count = rules().getTotalBlankets();
    } catch (const OverflowError&) {
        showMessage(kTooLarge);
        return;
    }
    showMessage("Your character has a total of " + intToText(count) +
                " blankets.\r\nNote that this does not count your starting 15 build.");
}

void frmBuildCalculator::mnuAbout_Click()
{
    if (m_aboutCommand)
        m_aboutCommand();
}

} // namespace vorn
