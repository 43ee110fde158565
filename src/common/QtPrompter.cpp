#include "common/QtPrompter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace vorn {
namespace {

// Messages break their lines with CR LF; a Qt label shows a bare LF as the break.
QString displayed(const std::string& text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

void QtPrompter::message(const std::string& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
                    QString::fromUtf8(kBoxTitle), displayed(text), QMessageBox::Ok, m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::string QtPrompter::input(const std::string& prompt)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(QString::fromUtf8(kBoxTitle));
    dialog.setLabelText(displayed(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

Prompter::SaveAnswer QtPrompter::askSaveChanges(const std::string& name)
{
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kBoxTitle),
                    QStringLiteral("Save changes to %1?").arg(QString::fromStdString(name)),
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

namespace {
const QString kCharacterFilter = QStringLiteral("VORN characters (*.vornchar);;All files (*)");
}

std::string QtPrompter::chooseFileToOpen()
{
    return QFileDialog::getOpenFileName(m_parent, QStringLiteral("Open Character"), QString(),
                                        kCharacterFilter)
        .toStdString();
}

std::string QtPrompter::chooseFileToSave(const std::string& suggested)
{
    QString path = QFileDialog::getSaveFileName(m_parent, QStringLiteral("Save Character As"),
                                                QString::fromStdString(suggested), kCharacterFilter);
    // A name typed without the extension gets it, so that the desktop knows the file again.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".vornchar");
    return path.toStdString();
}

} // namespace vorn
