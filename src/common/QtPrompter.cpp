#include "common/QtPrompter.h"

#include "common/ScreenFit.h"
#include "common/SingleLineEdit.h"
#include "session/CharacterFile.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <algorithm>

namespace vorn {
namespace {

// Messages break their lines with CR LF; a Qt label shows a bare LF as the break.
QString displayed(const std::string& text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The title bar holds the icon and up to three buttons besides the title; two more buttons' width is kept
// spare for the borders and the gaps between them.
constexpr int kTitleBarButtons = 6;

// How wide a box must be for its whole title to show in the title bar. The window system draws the
// title, in its own font, which may be bold; Qt reports that font as the sub-window title font.
int widthForTitle(const QWidget& box, const QString& title)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    const QFontMetrics plain(font);
    font.setBold(true);
    const QFontMetrics bold(font);
    const int text = std::max(plain.horizontalAdvance(title), bold.horizontalAdvance(title));

    QStyleOptionTitleBar option;
    option.initFrom(&box);
    option.titleBarFlags = box.windowFlags();
    const int button =
        std::max(box.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &box), bold.height());
    return text + kTitleBarButtons * button;
}

// A box that stands centred over the window it concerns: placed once it is shown, when it knows its size.
template <typename Box> class CentredBox : public Box {
public:
    using Box::Box;

protected:
    void showEvent(QShowEvent* event) override
    {
        Box::showEvent(event);
        if (const QWidget* parent = this->parentWidget(); parent && !event->spontaneous())
            centreOver(this, parent->window());
    }
};

} // namespace

void QtPrompter::message(const std::string& text, MessageIcon icon)
{
    CentredBox<QMessageBox> box(icon == MessageIcon::Information ? QMessageBox::Information
                                                                 : QMessageBox::NoIcon,
                                QString::fromUtf8(appTitle()), displayed(text), QMessageBox::Ok, m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::string QtPrompter::input(const std::string& prompt)
{
    CentredBox<QInputDialog> dialog(m_parent);
    dialog.setWindowTitle(QString::fromUtf8(appTitle()));
    dialog.setLabelText(displayed(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    // The box builds its field and layout when first asked for its size.
    (void)dialog.sizeHint();
    if (auto* field = dialog.findChild<QLineEdit*>()) {
        stripLineBreaksWhileEditing(field);
        // The box's layout fixes its size from its contents, so the room goes to the field.
        const QMargins margins = dialog.layout()->contentsMargins();
        field->setMinimumWidth(widthForTitle(dialog, dialog.windowTitle()) - margins.left() -
                               margins.right());
    }
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

Prompter::SaveAnswer QtPrompter::askSaveChanges(const std::string& name)
{
    CentredBox<QMessageBox> box(QMessageBox::Question, QString::fromUtf8(appTitle()),
                                QString::fromStdString(saveQuestion(name)),
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setWindowModality(Qt::ApplicationModal);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

Prompter::OverwriteAnswer QtPrompter::askOverwriteChanged(const std::string& name)
{
    CentredBox<QMessageBox> box(QMessageBox::Warning, QString::fromUtf8(appTitle()),
                                QString::fromStdString(overwriteQuestion(name)), QMessageBox::NoButton,
                                m_parent);
    QAbstractButton* overwrite = box.addButton(QStringLiteral("Overwrite"), QMessageBox::DestructiveRole);
    QAbstractButton* saveAs = box.addButton(QStringLiteral("Save As…"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (box.clickedButton() == overwrite)
        return OverwriteAnswer::Overwrite;
    if (box.clickedButton() == saveAs)
        return OverwriteAnswer::SaveAs;
    return OverwriteAnswer::Cancel;
}

Prompter::RecoverAnswer QtPrompter::askRecover(const std::string& date)
{
    CentredBox<QMessageBox> box(QMessageBox::Question, QString::fromUtf8(appTitle()),
                                QString::fromStdString(recoverQuestion(date)), QMessageBox::NoButton,
                                m_parent);
    QPushButton* recover = box.addButton(QStringLiteral("Recover"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(recover);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // Neither button is an escape, so the box closes only by one of them.
    return box.clickedButton() == recover ? RecoverAnswer::Recover : RecoverAnswer::Discard;
}

Prompter::ReloadAnswer QtPrompter::askReload(const std::string& name, bool discardsUnsaved)
{
    CentredBox<QMessageBox> box(QMessageBox::Question, QString::fromUtf8(appTitle()),
                                QString::fromStdString(reloadQuestion(name, discardsUnsaved)),
                                QMessageBox::NoButton, m_parent);
    QPushButton* reload = box.addButton(QStringLiteral("Reload"), QMessageBox::AcceptRole);
    QPushButton* keep = box.addButton(QStringLiteral("Keep mine"), QMessageBox::RejectRole);
    box.setDefaultButton(discardsUnsaved ? keep : reload);
    box.setEscapeButton(keep);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.clickedButton() == reload ? ReloadAnswer::Reload : ReloadAnswer::KeepMine;
}

Prompter::SaveFailedAnswer QtPrompter::tellSaveFailed(const std::string& text)
{
    CentredBox<QMessageBox> box(QMessageBox::NoIcon, QString::fromUtf8(appTitle()), displayed(text),
                                QMessageBox::Ok, m_parent);
    QPushButton* saveAs = box.addButton(QStringLiteral("Save As…"), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.clickedButton() == saveAs ? SaveFailedAnswer::SaveAs : SaveFailedAnswer::Ok;
}

namespace {
const QString kCharacterExtension = QString::fromUtf8(kCharacterFileExtension.substr(1));
const QString kCharacterFilter = QString::fromUtf8(kCharacterFilesKind) + QStringLiteral(" (*.") +
                                 kCharacterExtension + QStringLiteral(");;All files (*)");
} // namespace

std::string QtPrompter::chooseFileToOpen()
{
    return QFileDialog::getOpenFileName(m_parent, QStringLiteral("Open Character"), QString(),
                                        kCharacterFilter)
        .toStdString();
}

namespace {

// A save dialog that adds the extension before it asks whether to replace a file, so that "Bob" asks about
// the "Bob.vornchar" it will write.
std::string chooseToSave(QWidget* parent, const QString& title, const std::string& suggested,
                         const QString& filter, const QString& suffix)
{
    QFileDialog dialog(parent, title, QString::fromStdString(suggested), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

const QString kCsvFilter = QStringLiteral("Spreadsheet files (*.csv *.txt);;All files (*)");

} // namespace

std::string QtPrompter::chooseFileToSave(const std::string& suggested)
{
    return chooseToSave(m_parent, QStringLiteral("Save Character As"), suggested, kCharacterFilter,
                        kCharacterExtension);
}

std::string QtPrompter::chooseCsvToOpen(const std::string& title)
{
    return QFileDialog::getOpenFileName(m_parent, QString::fromStdString(title), QString(), kCsvFilter)
        .toStdString();
}

std::string QtPrompter::chooseCsvToSave(const std::string& title, const std::string& suggested)
{
    return chooseToSave(m_parent, QString::fromStdString(title), suggested, kCsvFilter,
                        QStringLiteral("csv"));
}

std::string QtPrompter::chooseFolder(const std::string& title, const std::string& start)
{
    return QFileDialog::getExistingDirectory(m_parent, QString::fromStdString(title),
                                             QString::fromStdString(start))
        .toStdString();
}

} // namespace vorn
