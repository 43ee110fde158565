#include "common/QtPrompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace vorn {

void QtPrompter::message(const std::string& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
                    QString::fromUtf8(kBoxTitle), QString::fromStdString(text), QMessageBox::Ok, m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::string QtPrompter::input(const std::string& prompt)
{
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(QString::fromUtf8(kBoxTitle));
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

} // namespace vorn
